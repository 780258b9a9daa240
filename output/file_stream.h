// How the file writer reaches files: the platform's part of it, behind an
// interface so that a test can make one of its calls fail.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "output/blob_file_writer.h"

// The open modes the writer uses, as fopen names them.
enum class OpenMode {
  ReadText,          // "r"
  UpdateExisting,    // "r+b": an existing file, read and write, not truncated
  CreateOrTruncate,  // "w+b": created, or cut to length 0, read and write
  ReadBinary,        // "rb"
};

// Why a call failed: an error the system reported, or a refusal of our own.
struct FileError {
  enum class Kind {
    System,          // `code` is the system's error number
    SymbolicLink,    // a symbolic link stands at the name
    NotRegularFile,  // a directory, a device, a FIFO or the like
    NotPrivate,      // the file could not be made its owner's only
  };
  Kind kind = Kind::System;
  int code = 0;
};

// The reason given in the report: the system's own text for a system error,
// ours for a refusal.
std::string fileErrorText(const FileError& error);

// The system's text for one of its error numbers (strerror on POSIX, the
// system message on Windows).
std::string systemErrorText(int code);

class FileStreams {
 public:
  virtual ~FileStreams() = default;

  // The existence test: true when the name leads, through a symbolic link if
  // it is one, to a regular file that can be opened for reading.
  virtual bool isPresent(const char* fileName) = 0;

  // Deletes the name (a symbolic link itself, never its target).
  virtual bool remove(const char* fileName) = 0;

  // Opens as fopen would in `mode`, or returns null and sets `error`. The
  // opens never follow a symbolic link, and only a regular file is opened. A
  // file created is created with `access`.
  virtual std::FILE* open(const char* fileName, OpenMode mode, FileAccess access,
                          FileError& error) = 0;

  // Makes the stream's file readable and writable by its owner only.
  virtual bool makePrivate(std::FILE* stream, FileError& error) = 0;

  // Cuts the stream's file to `length` bytes; the stream must be flushed.
  virtual bool cut(std::FILE* stream, std::uint64_t length, FileError& error) = 0;

  // The error of the stream call (fwrite, fflush, fclose) that just failed.
  virtual FileError streamError() = 0;
};

// The system's files (file_stream_posix.cpp, file_stream_win32.cpp).
class SystemFileStreams : public FileStreams {
 public:
  bool isPresent(const char* fileName) override;
  bool remove(const char* fileName) override;
  std::FILE* open(const char* fileName, OpenMode mode, FileAccess access,
                  FileError& error) override;
  bool makePrivate(std::FILE* stream, FileError& error) override;
  bool cut(std::FILE* stream, std::uint64_t length, FileError& error) override;
  FileError streamError() override;
};
