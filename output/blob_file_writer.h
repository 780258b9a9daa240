// Replaces one file with a sequence of bytes: an existing file of that name is
// removed, then the file is created afresh and the bytes written into it.
#pragma once

#include <cstdint>
#include <span>

// True when the file holds exactly `bytes` afterwards. Otherwise the file holds
// its former content untouched, or is gone: never a part of the bytes, never
// the bytes followed by former content. Writes nothing to the console.
bool writeBlobFile(const char* fileName, std::span<const std::uint8_t> bytes);
