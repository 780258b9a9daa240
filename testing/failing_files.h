// The system's files for the writer, with chosen calls made to fail: a file
// that cannot be removed, whose cut, access change or write then fails.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "output/file_stream.h"

class FailingFiles : public SystemFileStreams {
 public:
  static constexpr int kSimulatedError = 5;

  bool removeFails = true;
  bool cutFails = false;
  bool makePrivateFails = false;
  // Opens for update hand out a read-only stream, so that the write fails;
  // the cut before it is then made by name.
  bool writesFail = false;
  std::filesystem::path file;
  std::vector<std::string> calls;

  bool remove(const char* fileName) override {
    calls.emplace_back("remove");
    return !removeFails && SystemFileStreams::remove(fileName);
  }
  std::FILE* open(const char* fileName, OpenMode mode, FileAccess access,
                  FileError& error) override {
    calls.emplace_back("open " + std::to_string(static_cast<int>(mode)));
    if (writesFail && mode == OpenMode::UpdateExisting) {
      mode = OpenMode::ReadBinary;
    }
    return SystemFileStreams::open(fileName, mode, access, error);
  }
  bool makePrivate(std::FILE* stream, FileError& error) override {
    calls.emplace_back("makePrivate");
    if (makePrivateFails) {
      error = {FileError::Kind::NotPrivate, 0};
      return false;
    }
    return SystemFileStreams::makePrivate(stream, error);
  }
  bool cut(std::FILE* stream, std::uint64_t length, FileError& error) override {
    calls.emplace_back("cut " + std::to_string(length));
    if (cutFails) {
      error = {FileError::Kind::System, kSimulatedError};
      return false;
    }
    if (writesFail) {
      std::filesystem::resize_file(file, length);
      return true;
    }
    return SystemFileStreams::cut(stream, length, error);
  }
};
