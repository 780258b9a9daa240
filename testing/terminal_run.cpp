#include "testing/terminal_run.h"

#include <thread>

#include "testing/file_bytes.h"
#include "testing/process.h"

namespace {

using namespace std::chrono_literals;

std::string quote(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

template <typename Condition>
bool waitFor(Condition condition, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) {
      return true;
    }
    std::this_thread::sleep_for(5ms);
  }
  return false;
}

}  // namespace

TerminalRun::TerminalRun(const std::string& program, const std::filesystem::path& directory,
                         const std::vector<std::string>& arguments)
    : socket_((control_ / "tmux.socket").string()) {
  const std::string control = quote(control_.path().string());
  std::string command = quote(program);
  for (const std::string& argument : arguments) {
    command += " " + quote(argument);
  }
  // The shell outlives a Ctrl+C or Ctrl+\ meant for the program: a trap, unlike
  // an ignored signal, is not passed on to the program it starts. Its own
  // messages ("Terminated") go nowhere, so the screen shows the program alone.
  const std::string script = "trap : INT QUIT; exec 2>/dev/null; stty -g > " + control +
                             "/before; sh -c 'echo $$ > " + control + "/pid; exec \"$@\"' sh " +
                             command + "; echo $? > " + control + "/status; stty -g > " + control +
                             "/after; exec sleep 60";
  tmux("new-session -d -x 100 -y 30 -c " + quote(directory.string()) + " " + quote(script));
}

// The server goes with its socket; the folder, the socket's, goes after.
TerminalRun::~TerminalRun() {
  tmux("kill-server");
}

std::string TerminalRun::screen() {
  return tmux("capture-pane -p");
}

std::string TerminalRun::title() {
  return tmux("display-message -p '#{pane_title}'");
}

void TerminalRun::sendKeys(const std::string& keys) {
  tmux("send-keys " + keys);
}

bool TerminalRun::waitForScreen(const std::string& text, std::chrono::milliseconds limit) {
  return waitFor([&] { return screen().find(text) != std::string::npos; }, limit);
}

// The shell writes "after" once the program has ended.
bool TerminalRun::waitForExit(std::chrono::milliseconds limit) {
  return waitFor([&] { return hasContent("after"); }, limit);
}

pid_t TerminalRun::pid() {
  waitFor([&] { return hasContent("pid"); }, 5s);
  return std::stoi(contents("pid"));
}

int TerminalRun::status() {
  return std::stoi(contents("status"));
}

std::string TerminalRun::settingsBefore() {
  return contents("before");
}

std::string TerminalRun::settingsAfter() {
  return contents("after");
}

std::string TerminalRun::contents(const std::string& name) const {
  const auto bytes = readBytes(control_ / name);
  return {bytes.begin(), bytes.end()};
}

bool TerminalRun::hasContent(const std::string& name) const {
  std::error_code missing;
  const auto size = std::filesystem::file_size(control_ / name, missing);
  return !missing && size > 0;
}

std::string TerminalRun::tmux(const std::string& arguments) const {
  // A server of this run's own, on a socket in its own folder.
  return shellOutput("tmux -f /dev/null -S " + quote(socket_) + " " + arguments + " 2>/dev/null");
}
