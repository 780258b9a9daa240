// The writer's files on POSIX: opened with open(2) and handed to stdio, so
// that a symbolic link is never followed by a write, only a regular file is
// taken, and a file is created with an explicit mode.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>

#include "output/file_stream.h"

namespace {

constexpr mode_t kPrivateMode = S_IRUSR | S_IWUSR;  // 0600
// Less the umask, as the kernel applies it.
constexpr mode_t kPublicMode = S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;

int openFlags(OpenMode mode) {
  switch (mode) {
    case OpenMode::ReadText:
    case OpenMode::ReadBinary:
      return O_RDONLY;
    case OpenMode::UpdateExisting:
      return O_RDWR;
    case OpenMode::CreateOrTruncate:
      return O_RDWR | O_CREAT | O_TRUNC;
  }
  return O_RDONLY;
}

const char* streamMode(OpenMode mode) {
  // fdopen never creates or truncates; open() has done that already.
  return mode == OpenMode::UpdateExisting || mode == OpenMode::CreateOrTruncate ? "r+b" : "rb";
}

// A write past the file size limit must fail with EFBIG, like a full disk,
// instead of ending the process.
void ignoreFileSizeSignal() {
  static std::once_flag once;
  std::call_once(once, [] { (void)signal(SIGXFSZ, SIG_IGN); });
}

FileError systemError() {
  return {FileError::Kind::System, errno};
}

}  // namespace

std::string systemErrorText(int code) {
  return std::strerror(code);
}

bool SystemFileStreams::isPresent(const char* fileName) {
  // stat first, so that nothing but a regular file is ever opened here: a
  // device can act on being opened.
  struct stat status {};
  if (stat(fileName, &status) != 0 || !S_ISREG(status.st_mode)) {
    return false;
  }
  const int fd = ::open(fileName, O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  (void)close(fd);  // read nothing; nothing to lose
  return true;
}

bool SystemFileStreams::remove(const char* fileName) {
  // unlink, not remove(3): an empty directory at the name must stay.
  return unlink(fileName) == 0;
}

std::FILE* SystemFileStreams::open(const char* fileName, OpenMode mode, FileAccess access,
                                   FileError& error) {
  ignoreFileSizeSignal();
  // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
  const int fd = ::open(fileName, openFlags(mode) | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC,
                        access == FileAccess::Private ? kPrivateMode : kPublicMode);
  if (fd < 0) {
    // With O_NOFOLLOW, ELOOP says that the name is a symbolic link.
    error = errno == ELOOP ? FileError{FileError::Kind::SymbolicLink, ELOOP} : systemError();
    return nullptr;
  }
  struct stat status {};
  if (fstat(fd, &status) != 0) {
    error = systemError();
    (void)close(fd);
    return nullptr;
  }
  if (!S_ISREG(status.st_mode)) {
    error = {FileError::Kind::NotRegularFile, 0};
    (void)close(fd);
    return nullptr;
  }
  // O_NONBLOCK has no effect on a regular file.
  std::FILE* stream = fdopen(fd, streamMode(mode));
  if (stream == nullptr) {
    error = systemError();
    (void)close(fd);
  }
  return stream;
}

bool SystemFileStreams::makePrivate(std::FILE* stream, FileError& error) {
  if (fchmod(fileno(stream), kPrivateMode) != 0) {
    error = {FileError::Kind::NotPrivate, errno};
    return false;
  }
  return true;
}

bool SystemFileStreams::cut(std::FILE* stream, std::uint64_t length, FileError& error) {
  if (ftruncate(fileno(stream), static_cast<off_t>(length)) != 0) {
    error = systemError();
    return false;
  }
  return true;
}

FileError SystemFileStreams::streamError() {
  return systemError();
}
