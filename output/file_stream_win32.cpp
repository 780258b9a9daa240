// Opening and cutting files with the C runtime on Windows. Who may read a
// file is decided by the directory it is created in.
#include <io.h>

#include "output/file_stream.h"

namespace {

const char* fopenMode(OpenMode mode) {
  switch (mode) {
    case OpenMode::ReadText:
      return "r";
    case OpenMode::UpdateExisting:
      return "r+b";
    case OpenMode::CreateOrTruncate:
      return "w+b";
    case OpenMode::ReadBinary:
      return "rb";
  }
  return "rb";
}

}  // namespace

std::FILE* openFileStream(const char* fileName, OpenMode mode) {
  return std::fopen(fileName, fopenMode(mode));
}

bool restrictToOwner(std::FILE*) {
  return true;
}

bool cutFile(std::FILE* stream, std::uint64_t length) {
  return _chsize_s(_fileno(stream), static_cast<long long>(length)) == 0;
}
