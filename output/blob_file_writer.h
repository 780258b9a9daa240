// Replaces one file with a sequence of bytes: an existing file of that name is
// removed, then the file is created afresh and the bytes written into it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

// Who may read the file. A public file is created with the ordinary access
// (on POSIX 0666 less the umask; on Windows what the folder gives), and one
// written in place keeps its access. A private file is for its owner only
// before any byte is written, whether created or written in place.
enum class FileAccess { Public, Private };

struct WriteResult {
  bool written = false;
  // When not written, why: the system's text for the call that failed, or
  // the writer's own where it refused.
  std::string reason;
};

class FileStreams;

// Written when the file holds exactly `bytes` afterwards. Otherwise the file
// holds its former content untouched, or is empty or gone: never a part of
// the bytes, never the bytes followed by former content. Writes nothing to
// the console.
WriteResult writeBlobFile(const char* fileName, std::span<const std::uint8_t> bytes,
                          FileAccess access);

// The same through `files` instead of the system's files, for tests.
WriteResult writeBlobFile(FileStreams& files, const char* fileName,
                          std::span<const std::uint8_t> bytes, FileAccess access);
