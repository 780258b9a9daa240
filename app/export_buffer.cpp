#include "app/export_buffer.h"

#include <new>

#include "crypto/wipe.h"

bool ExportBuffer::resize(std::size_t size) {
  release();
  bytes_.reset(new (std::nothrow) std::uint8_t[size]());
  if (bytes_ == nullptr) {
    return false;
  }
  size_ = size;
  return true;
}

void ExportBuffer::release() {
  wipeBytes(bytes_.get(), size_);
  bytes_.reset();
  size_ = 0;
}
