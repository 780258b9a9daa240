// The writer's files on Windows: opened with CreateFileA and handed to the C
// runtime's streams. A private file gets a security descriptor of its own
// before any byte is written: its owner alone may open it, and nothing the
// folder would pass on applies (a protected access list). A new private file
// is created with it, so that there is no moment at which others may open it.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "output/file_stream.h"

namespace {

FileError systemError(DWORD code = GetLastError()) {
  return {FileError::Kind::System, static_cast<int>(code)};
}

// A security descriptor whose access list has one entry, full access for the
// user this process runs as, and is protected: nothing the folder would pass
// on applies.
class OwnerOnlyDescriptor {
 public:
  OwnerOnlyDescriptor() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
      return;
    }
    DWORD size = 0;
    (void)GetTokenInformation(token, TokenUser, nullptr, 0, &size);  // asks for the size
    user_.resize(size / sizeof(user_[0]) + 1);
    const bool queried =
        size != 0 && GetTokenInformation(token, TokenUser, user_.data(), size, &size) != 0;
    CloseHandle(token);
    if (!queried) {
      return;
    }
    PSID user = reinterpret_cast<TOKEN_USER*>(user_.data())->User.Sid;
    const DWORD listSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(user);
    list_.resize(listSize / sizeof(list_[0]) + 1);
    const auto list = reinterpret_cast<PACL>(list_.data());
    made_ = InitializeAcl(list, listSize, ACL_REVISION) != 0 &&
            AddAccessAllowedAce(list, ACL_REVISION, FILE_ALL_ACCESS, user) != 0 &&
            InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) != 0 &&
            SetSecurityDescriptorDacl(&descriptor_, TRUE, list, FALSE) != 0 &&
            SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED) != 0;
  }
  OwnerOnlyDescriptor(const OwnerOnlyDescriptor&) = delete;
  OwnerOnlyDescriptor& operator=(const OwnerOnlyDescriptor&) = delete;

  // Null when it could not be made.
  PSECURITY_DESCRIPTOR get() { return made_ ? &descriptor_ : nullptr; }

 private:
  std::vector<std::uint64_t> user_;  // TOKEN_USER holds a pointer: aligned storage
  std::vector<std::uint64_t> list_;
  SECURITY_DESCRIPTOR descriptor_{};
  bool made_ = false;
};

struct OpenRequest {
  DWORD access;
  DWORD disposition;
  bool writes;
};

OpenRequest requestFor(OpenMode mode) {
  switch (mode) {
    case OpenMode::ReadText:
    case OpenMode::ReadBinary:
      return {GENERIC_READ, OPEN_EXISTING, false};
    case OpenMode::UpdateExisting:
      return {GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, true};
    case OpenMode::CreateOrTruncate:
      return {GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS, true};
  }
  return {GENERIC_READ, OPEN_EXISTING, false};
}

constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE;

bool isSymbolicLink(const char* fileName) {
  const DWORD attributes = GetFileAttributesA(fileName);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

HANDLE streamHandle(std::FILE* stream) {
  return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

}  // namespace

std::string systemErrorText(int code) {
  char text[512];
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
      nullptr, static_cast<DWORD>(code), 0, text, sizeof text, nullptr);
  std::string message(text, length);
  // The system's sentences end in a full stop and white space; the report's
  // line ends with the reason.
  while (!message.empty() && (message.back() == ' ' || message.back() == '.' ||
                              message.back() == '\r' || message.back() == '\n')) {
    message.pop_back();
  }
  return message.empty() ? "system error " + std::to_string(code) : message;
}

bool SystemFileStreams::isPresent(const char* fileName) {
  const HANDLE file = CreateFileA(fileName, GENERIC_READ, kShare | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  const bool regular = GetFileType(file) == FILE_TYPE_DISK;
  CloseHandle(file);
  return regular;
}

bool SystemFileStreams::remove(const char* fileName) {
  return DeleteFileA(fileName) != 0;
}

std::FILE* SystemFileStreams::open(const char* fileName, OpenMode mode, FileAccess access,
                                   FileError& error) {
  const OpenRequest request = requestFor(mode);
  // A write never goes through a link to wherever it points.
  if (request.writes && isSymbolicLink(fileName)) {
    error = {FileError::Kind::SymbolicLink, 0};
    return nullptr;
  }
  DWORD desired = request.access;
  SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
  std::optional<OwnerOnlyDescriptor> ownerOnly;
  if (request.writes && access == FileAccess::Private) {
    // Leave to make the file private, in place or when created.
    desired |= READ_CONTROL | WRITE_DAC;
    attributes.lpSecurityDescriptor = ownerOnly.emplace().get();
    if (attributes.lpSecurityDescriptor == nullptr) {
      error = {FileError::Kind::NotPrivate, 0};
      return nullptr;
    }
  }
  const HANDLE file = CreateFileA(fileName, desired, kShare, &attributes, request.disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = systemError();
    return nullptr;
  }
  if (GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    error = {FileError::Kind::NotRegularFile, 0};
    return nullptr;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file),
                                 _O_BINARY | (request.writes ? 0 : _O_RDONLY));
  if (fd < 0) {
    error = systemError();
    CloseHandle(file);
    return nullptr;
  }
  std::FILE* stream = _fdopen(fd, request.writes ? "r+b" : "rb");
  if (stream == nullptr) {
    error = systemError();
    _close(fd);  // closes the handle too
  }
  return stream;
}

bool SystemFileStreams::makePrivate(std::FILE* stream, FileError& error) {
  // The descriptor as it stands, set on the file itself: SetSecurityInfo
  // would do the same on Windows, but under Wine it merges in what the
  // folder passes on.
  OwnerOnlyDescriptor ownerOnly;
  if (ownerOnly.get() == nullptr ||
      !SetKernelObjectSecurity(streamHandle(stream),
                               DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                               ownerOnly.get())) {
    error = {FileError::Kind::NotPrivate, 0};
    return false;
  }
  return true;
}

bool SystemFileStreams::cut(std::FILE* stream, std::uint64_t length, FileError& error) {
  const HANDLE file = streamHandle(stream);
  LARGE_INTEGER position{};
  position.QuadPart = static_cast<LONGLONG>(length);
  if (!SetFilePointerEx(file, position, nullptr, FILE_BEGIN) || !SetEndOfFile(file)) {
    error = systemError();
    return false;
  }
  return true;
}

FileError SystemFileStreams::streamError() {
  return systemError();
}
