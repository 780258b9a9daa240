// desktop_helper: what the Windows desktop tests ask of the desktop, run
// under the same Wine server as the program. Its answers go to standard
// output, one line each.
//   window TITLE         "LEFT TOP RIGHT BOTTOM TOPMOST PID" of the top-level
//                        window with that title (TOPMOST is 1 or 0)
//   above TITLE OTHER    "1" when the first window is above the second, else "0"
//   activate TITLE       brings the window to the front and gives it the focus
//   close TITLE          asks the window to close
//   pid NAME             the process ids of the programs of that name
//   screen PID           the lines of the screen buffer of that process's
//                        console, trailing blanks and empty last lines dropped
//   keys PID RECORD...   writes key records to that process's console input;
//                        a record is DOWN:VK:CHAR:STATE, e.g. 1:0x41:0x61:0
//   hold TITLE SECONDS   titles its own console and sleeps: a console that
//                        nothing moves
// Exit status 0 on success, 1 when the window, process or console is not
// found or a call fails, 2 for a wrong command line.

#include <windows.h>
// clang-format off
#include <tlhelp32.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

HWND windowTitled(const char* title) {
  return FindWindowA(nullptr, title);
}

int window(const char* title) {
  const HWND found = windowTitled(title);
  RECT rect{};
  if (found == nullptr || !GetWindowRect(found, &rect)) {
    return 1;
  }
  const LONG_PTR style = GetWindowLongPtrA(found, GWL_EXSTYLE);
  DWORD pid = 0;
  GetWindowThreadProcessId(found, &pid);
  std::printf("%ld %ld %ld %ld %d %lu\n", rect.left, rect.top, rect.right, rect.bottom,
              (style & WS_EX_TOPMOST) != 0 ? 1 : 0, pid);
  return 0;
}

int above(const char* title, const char* other) {
  const HWND first = windowTitled(title);
  const HWND second = windowTitled(other);
  if (first == nullptr || second == nullptr) {
    return 1;
  }
  // Top-level windows from the top of the z-order down.
  for (HWND at = GetTopWindow(nullptr); at != nullptr; at = GetWindow(at, GW_HWNDNEXT)) {
    if (at == first || at == second) {
      std::printf("%d\n", at == first ? 1 : 0);
      return 0;
    }
  }
  return 1;
}

int activate(const char* title) {
  const HWND found = windowTitled(title);
  if (found == nullptr) {
    return 1;
  }
  SetForegroundWindow(found);
  BringWindowToTop(found);
  SetActiveWindow(found);
  return 0;
}

int close(const char* title) {
  const HWND found = windowTitled(title);
  return found != nullptr && PostMessageA(found, WM_CLOSE, 0, 0) ? 0 : 1;
}

int pids(const char* name) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) {
    return 1;
  }
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  bool any = false;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (_stricmp(entry.szExeFile, name) == 0) {
      std::printf("%lu\n", entry.th32ProcessID);
      any = true;
    }
  }
  CloseHandle(snapshot);
  return any ? 0 : 1;
}

HANDLE consoleOf(DWORD pid, const char* device) {
  FreeConsole();
  if (!AttachConsole(pid)) {
    return INVALID_HANDLE_VALUE;
  }
  return CreateFileA(device, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, OPEN_EXISTING, 0, nullptr);
}

int screen(DWORD pid) {
  const HANDLE output = consoleOf(pid, "CONOUT$");
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (output == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(output, &info)) {
    return 1;
  }
  std::vector<std::string> lines;
  std::vector<char> row(static_cast<std::size_t>(info.dwSize.X));
  for (SHORT y = 0; y < info.dwSize.Y; ++y) {
    DWORD read = 0;
    if (!ReadConsoleOutputCharacterA(output, row.data(), static_cast<DWORD>(row.size()), {0, y},
                                     &read)) {
      return 1;
    }
    std::string line(row.data(), read);
    line.erase(line.find_last_not_of(' ') + 1);
    lines.push_back(line);
  }
  while (!lines.empty() && lines.back().empty()) {
    lines.pop_back();
  }
  // Written to the file the caller named on its own command line, not to a
  // console: this process is attached to the program's console by now.
  for (const std::string& line : lines) {
    std::printf("%s\n", line.c_str());
  }
  return 0;
}

bool parseRecord(const char* text, INPUT_RECORD& record) {
  unsigned long fields[4] = {};
  const char* at = text;
  for (unsigned long& field : fields) {
    char* end = nullptr;
    field = std::strtoul(at, &end, 0);
    if (end == at || (*end != ':' && *end != '\0')) {
      return false;
    }
    at = *end == ':' ? end + 1 : end;
  }
  record = {};
  record.EventType = KEY_EVENT;
  KEY_EVENT_RECORD& key = record.Event.KeyEvent;
  key.bKeyDown = fields[0] != 0 ? TRUE : FALSE;
  key.wRepeatCount = 1;
  key.wVirtualKeyCode = static_cast<WORD>(fields[1]);
  key.wVirtualScanCode = static_cast<WORD>(MapVirtualKeyA(key.wVirtualKeyCode, MAPVK_VK_TO_VSC));
  key.uChar.AsciiChar = static_cast<CHAR>(fields[2]);
  key.dwControlKeyState = fields[3];
  return true;
}

int keys(DWORD pid, int count, char** texts) {
  std::vector<INPUT_RECORD> records(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    if (!parseRecord(texts[i], records[static_cast<std::size_t>(i)])) {
      return 2;
    }
  }
  const HANDLE input = consoleOf(pid, "CONIN$");
  DWORD written = 0;
  if (input == INVALID_HANDLE_VALUE ||
      !WriteConsoleInputA(input, records.data(), static_cast<DWORD>(records.size()), &written) ||
      written != records.size()) {
    return 1;
  }
  return 0;
}

int hold(const char* title, const char* seconds) {
  SetConsoleTitleA(title);
  Sleep(static_cast<DWORD>(std::strtoul(seconds, nullptr, 10) * 1000));
  return 0;
}

DWORD pidArgument(const char* text) {
  return static_cast<DWORD>(std::strtoul(text, nullptr, 10));
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "window" && argc == 3) {
    return window(argv[2]);
  }
  if (command == "above" && argc == 4) {
    return above(argv[2], argv[3]);
  }
  if (command == "activate" && argc == 3) {
    return activate(argv[2]);
  }
  if (command == "close" && argc == 3) {
    return close(argv[2]);
  }
  if (command == "pid" && argc == 3) {
    return pids(argv[2]);
  }
  if (command == "screen" && argc == 3) {
    return screen(pidArgument(argv[2]));
  }
  if (command == "keys" && argc >= 4) {
    return keys(pidArgument(argv[2]), argc - 3, argv + 3);
  }
  if (command == "hold" && argc == 4) {
    return hold(argv[2], argv[3]);
  }
  std::fputs("usage: desktop_helper window|above|activate|close|pid|screen|keys|hold ...\n",
             stderr);
  return 2;
}
