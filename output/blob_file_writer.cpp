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

bool exists(const char* fileName) {
  std::FILE* stream = openFileStream(fileName, OpenMode::ReadText);
  if (stream == nullptr) {
    return false;
  }
  (void)std::fclose(stream);  // read nothing; nothing to lose
  return true;
}

std::FILE* openForReplacing(const char* fileName, OpenMode& opened) {
  // Each attempt opens a file: a loop, not a search with side effects.
  for (const OpenMode mode :
       {OpenMode::UpdateExisting, OpenMode::CreateOrTruncate, OpenMode::ReadBinary}) {
    // cppcheck-suppress useStlAlgorithm
    if (std::FILE* stream = openFileStream(fileName, mode)) {
      opened = mode;
      return stream;
    }
  }
  return nullptr;
}

bool writeAll(std::FILE* stream, std::span<const std::uint8_t> bytes) {
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stream) != bytes.size()) {
    return false;
  }
  return std::fflush(stream) == 0;
}

// A file holding part of the new bytes, or new bytes over old ones, must not
// stay: once the stream is closed, remove it, or where it cannot be removed,
// cut it to nothing.
void discardPartial(const char* fileName, BufferedStream& stream) {
  stream.close();
  if (std::remove(fileName) == 0) {
    return;
  }
  if (std::FILE* again = openFileStream(fileName, OpenMode::UpdateExisting)) {
    cutFile(again, 0);
    (void)std::fclose(again);  // the cut is made; closing passes on nothing
  }
}

}  // namespace

bool writeBlobFile(const char* fileName, std::span<const std::uint8_t> bytes) {
  if (exists(fileName)) {
    (void)std::remove(fileName);  // if this fails, the opens below decide
  }
  OpenMode opened{};
  std::FILE* const opening = openForReplacing(fileName, opened);
  if (opening == nullptr) {
    return false;
  }
  BufferedStream stream(opening);
  // Read-only, or its mode cannot be made owner-only: the former content stays.
  if (opened == OpenMode::ReadBinary || !restrictToOwner(stream.get())) {
    return false;
  }
  // Opened without truncation, the file may be longer than the new bytes.
  const bool written = writeAll(stream.get(), bytes) &&
                       (opened != OpenMode::UpdateExisting || cutFile(stream.get(), bytes.size()));
  if (!written) {
    discardPartial(fileName, stream);
    return false;
  }
  if (!stream.close()) {
    discardPartial(fileName, stream);
    return false;
  }
  return true;
}
