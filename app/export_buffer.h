// The run's reusable byte buffer for one exported key blob at a time. Its
// content is wiped before every resize and before it is released.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

class ExportBuffer {
 public:
  ExportBuffer() = default;
  ~ExportBuffer() { release(); }
  ExportBuffer(const ExportBuffer&) = delete;
  ExportBuffer& operator=(const ExportBuffer&) = delete;

  // Discards the content and leaves exactly `size` zero bytes. False when the
  // memory cannot be had; the buffer is then empty.
  bool resize(std::size_t size);

  // Wipes and frees the content; the buffer is empty afterwards.
  void release();

  std::uint8_t* data() { return bytes_.get(); }
  std::size_t size() const { return size_; }
  std::span<const std::uint8_t> bytes() const { return {bytes_.get(), size_}; }

 private:
  std::unique_ptr<std::uint8_t[]> bytes_;
  std::size_t size_ = 0;
};
