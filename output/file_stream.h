// How the file writer opens and cuts files: the platform's part of it.
#pragma once

#include <cstdint>
#include <cstdio>

// The open modes the writer uses, as fopen names them.
enum class OpenMode {
  ReadText,          // "r"
  UpdateExisting,    // "r+b": an existing file, read and write, not truncated
  CreateOrTruncate,  // "w+b": created, or cut to length 0, read and write
  ReadBinary,        // "rb"
};

// Opens `fileName` as fopen would in `mode`, or returns null. On POSIX only a
// regular file is opened, a symbolic link at the name is never followed, and
// a file created gets mode 0600.
std::FILE* openFileStream(const char* fileName, OpenMode mode);

// Makes the stream's file readable and writable by its owner only (POSIX);
// false when that could not be done. Where the directory decides access
// (Windows), nothing to do.
bool restrictToOwner(std::FILE* stream);

// Cuts the stream's file to `length` bytes; the stream must have been flushed.
bool cutFile(std::FILE* stream, std::uint64_t length);
