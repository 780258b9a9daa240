// Running code and programs in child processes, for tests that need another
// user, a resource limit, or the built program itself.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// The user that tests run as when they need permission checks to apply:
// root passes every check.
inline constexpr uid_t kUnprivilegedId = 65534;  // nobody, nogroup

// Runs `body` in a forked child and returns its exit status, or 128 + the
// signal that ended it. With `unprivileged`, a root test process drops to
// kUnprivilegedId first.
int runInChild(bool unprivileged, const std::function<int()>& body);

// True when this process is root, so that runInChild can drop to another user.
bool isRoot();

struct ProgramRun {
  int status = -1;  // exit status, or 128 + signal
  std::string output;
  std::string errors;
};

struct ProgramOptions {
  bool unprivileged = false;             // as kUnprivilegedId, when root
  std::uint64_t fileSizeLimit = 0;       // RLIMIT_FSIZE in bytes; 0: none
  std::vector<std::string> environment;  // NAME=VALUE, added
  std::vector<std::string> arguments;    // after the program's name
};

// Runs `program` in `directory` with standard input from /dev/null and
// standard output and error to files, and returns its exit status and output.
ProgramRun runProgram(const std::string& program, const std::filesystem::path& directory,
                      const ProgramOptions& options = {});

// Runs a shell command and returns what it printed (standard output).
std::string shellOutput(const std::string& command);
