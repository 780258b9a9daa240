#include "testing/process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

#include "testing/temp_dir.h"

namespace {

int statusOf(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
  }
  if (WIFSIGNALED(status)) {
    return 128 + WTERMSIG(status);
  }
  return WEXITSTATUS(status);
}

}  // namespace

bool isRoot() {
  return geteuid() == 0;
}

int runInChild(bool unprivileged, const std::function<int()>& body) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) {
    throw std::runtime_error("fork failed");
  }
  if (child == 0) {
    if (unprivileged && isRoot() &&
        (setgid(kUnprivilegedId) != 0 || setuid(kUnprivilegedId) != 0)) {
      _exit(125);
    }
    _exit(body());
  }
  return statusOf(child);
}

ProgramRun runProgram(const std::string& program, const std::filesystem::path& directory) {
  const auto outputFile = directory / ".." / (directory.filename().string() + ".out");
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) {
    throw std::runtime_error("fork failed");
  }
  if (child == 0) {
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || chdir(directory.c_str()) != 0) {
      _exit(126);
    }
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  ProgramRun run;
  run.status = statusOf(child);
  const auto bytes = readBytes(outputFile);
  run.output.assign(bytes.begin(), bytes.end());
  std::filesystem::remove(outputFile);
  return run;
}

std::string shellOutput(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    return output;
  }
  char chunk[4096];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) {
    output.append(chunk, got);
  }
  pclose(pipe);
  return output;
}
