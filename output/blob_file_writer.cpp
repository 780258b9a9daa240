#include "output/blob_file_writer.h"

#include <array>
#include <cstdio>

#include "crypto/wipe.h"
#include "output/file_stream.h"

namespace {

constexpr std::size_t kStreamBufferSize = 8192;

// Closes the stream when it goes out of scope and wipes the stream buffer
// after it: the buffer is ours, and held key bytes on their way to the file.
class BufferedStream {
 public:
  explicit BufferedStream(std::FILE* stream) : stream_(stream) {
    // Without our buffer, no buffer at all: the runtime's would keep key
    // bytes where we cannot wipe them.
    if (std::setvbuf(stream_, buffer_.data(), _IOFBF, buffer_.size()) != 0) {
      (void)std::setvbuf(stream_, nullptr, _IONBF, 0);
    }
  }
  ~BufferedStream() { close(); }
  BufferedStream(const BufferedStream&) = delete;
  BufferedStream& operator=(const BufferedStream&) = delete;

  std::FILE* get() const { return stream_; }

  bool close() {
    if (stream_ == nullptr) {
      return true;
    }
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    wipeBytes(buffer_.data(), buffer_.size());
    return closed;
  }

 private:
  std::FILE* stream_;
  std::array<char, kStreamBufferSize> buffer_{};
};

WriteResult notWritten(const FileError& error) {
  return {false, fileErrorText(error)};
}

// Tries "r+b", "w+b" and "rb" in turn. When none opens the file for writing,
// `error` is why "w+b", the open that creates the file, failed.
std::FILE* openForReplacing(FileStreams& files, const char* fileName, FileAccess access,
                            OpenMode& opened, FileError& error) {
  for (const OpenMode mode :
       {OpenMode::UpdateExisting, OpenMode::CreateOrTruncate, OpenMode::ReadBinary}) {
    FileError failure;
    // Each attempt opens a file: a loop, not a search with side effects.
    // cppcheck-suppress useStlAlgorithm
    if (std::FILE* stream = files.open(fileName, mode, access, failure)) {
      opened = mode;
      return stream;
    }
    if (mode == OpenMode::CreateOrTruncate) {
      error = failure;
    }
  }
  return nullptr;
}

bool writeAll(FileStreams& files, std::FILE* stream, std::span<const std::uint8_t> bytes,
              FileError& error) {
  if ((!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stream) != bytes.size()) ||
      std::fflush(stream) != 0) {
    error = files.streamError();
    return false;
  }
  return true;
}

// A file holding part of the new bytes must not stay: once the stream is
// closed, remove it, or where it cannot be removed, cut it to nothing.
void discardPartial(FileStreams& files, const char* fileName, BufferedStream& stream,
                    FileAccess access) {
  stream.close();
  if (files.remove(fileName)) {
    return;
  }
  FileError ignored;
  if (std::FILE* again = files.open(fileName, OpenMode::UpdateExisting, access, ignored)) {
    (void)files.cut(again, 0, ignored);  // if even this fails, nothing more can be done
    (void)std::fclose(again);            // the cut is made; closing passes on nothing
  }
}

}  // namespace

std::string fileErrorText(const FileError& error) {
  switch (error.kind) {
    case FileError::Kind::System:
      return systemErrorText(error.code);
    case FileError::Kind::SymbolicLink:
      return "a symbolic link is in its place";
    case FileError::Kind::NotRegularFile:
      return "not a regular file";
    case FileError::Kind::NotPrivate:
      return "could not be made private";
  }
  return systemErrorText(error.code);
}

WriteResult writeBlobFile(FileStreams& files, const char* fileName,
                          std::span<const std::uint8_t> bytes, FileAccess access) {
  if (files.isPresent(fileName)) {
    (void)files.remove(fileName);  // if this fails, the opens below decide
  }
  OpenMode opened{};
  FileError error;
  std::FILE* const opening = openForReplacing(files, fileName, access, opened, error);
  if (opening == nullptr) {
    return notWritten(error);
  }
  BufferedStream stream(opening);
  if (opened == OpenMode::ReadBinary) {
    return notWritten(error);  // read-only: the former content stays
  }
  // Before any byte is written; if it fails, the former content stays.
  if (access == FileAccess::Private && !files.makePrivate(stream.get(), error)) {
    return notWritten(error);
  }
  // A file opened without truncation is emptied first, so that the new bytes
  // never lie over old ones. If that fails, the former content stays.
  if (opened == OpenMode::UpdateExisting && !files.cut(stream.get(), 0, error)) {
    return notWritten(error);
  }
  if (!writeAll(files, stream.get(), bytes, error)) {
    discardPartial(files, fileName, stream, access);
    return notWritten(error);
  }
  if (!stream.close()) {
    error = files.streamError();
    discardPartial(files, fileName, stream, access);
    return notWritten(error);
  }
  return {true, {}};
}

WriteResult writeBlobFile(const char* fileName, std::span<const std::uint8_t> bytes,
                          FileAccess access) {
  SystemFileStreams files;
  return writeBlobFile(files, fileName, bytes, access);
}
