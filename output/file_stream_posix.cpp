#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>

#include "output/file_stream.h"

namespace {

constexpr mode_t kOwnerOnly = S_IRUSR | S_IWUSR;  // 0600

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

}  // namespace

std::FILE* openFileStream(const char* fileName, OpenMode mode) {
  ignoreFileSizeSignal();
  // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
  const int fd =
      open(fileName, openFlags(mode) | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC, kOwnerOnly);
  if (fd < 0) {
    return nullptr;
  }
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(fd);
    return nullptr;
  }
  std::FILE* stream = fdopen(fd, streamMode(mode));
  if (stream == nullptr) {
    close(fd);
  }
  return stream;
}

bool restrictToOwner(std::FILE* stream) {
  return fchmod(fileno(stream), kOwnerOnly) == 0;
}

bool cutFile(std::FILE* stream, std::uint64_t length) {
  return ftruncate(fileno(stream), static_cast<off_t>(length)) == 0;
}
