#include "testing/process.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "testing/file_bytes.h"
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

// Becomes kUnprivilegedId, without root's supplementary groups.
bool dropPrivileges() {
  return setgroups(0, nullptr) == 0 && setgid(kUnprivilegedId) == 0 && setuid(kUnprivilegedId) == 0;
}

}  // namespace

bool isRoot() {
  return geteuid() == 0;
}

int runInChild(bool unprivileged, const std::function<int()>& body) {
  (void)std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) {
    throw std::runtime_error("fork failed");
  }
  if (child == 0) {
    if (unprivileged && isRoot() && !dropPrivileges()) {
      _exit(125);
    }
    _exit(body());
  }
  return statusOf(child);
}

ProgramRun runProgram(const std::string& program, const std::filesystem::path& directory,
                      const ProgramOptions& options) {
  // Standard output goes into a pipe, which no file size limit applies to.
  const TempDir outputs;
  const auto errorFile = outputs / "stderr";
  // The unprivileged user may not be able to reach the build folder (a clone
  // under /root): it runs a copy from a folder of its own.
  std::string runnable = program;
  if (options.unprivileged && isRoot()) {
    runnable = (outputs / "program").string();
    std::filesystem::copy_file(program, runnable);
  }
  int output[2];
  if (pipe(output) != 0) {
    throw std::runtime_error("pipe failed");
  }
  (void)std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) {
    throw std::runtime_error("fork failed");
  }
  if (child == 0) {
    close(output[0]);
    const int in = open("/dev/null", O_RDONLY);
    const int err = open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || err < 0 || dup2(in, 0) < 0 || dup2(output[1], 1) < 0 || dup2(err, 2) < 0 ||
        chdir(directory.c_str()) != 0) {
      _exit(126);
    }
    if (options.fileSizeLimit != 0) {
      const rlimit limit{options.fileSizeLimit, options.fileSizeLimit};
      if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        _exit(126);
      }
    }
    if (options.unprivileged && isRoot() && !dropPrivileges()) {
      _exit(126);
    }
    for (const std::string& variable : options.environment) {
      putenv(const_cast<char*>(variable.c_str()));
    }
    std::vector<char*> argv(options.arguments.size() + 2, nullptr);
    argv[0] = runnable.data();
    std::transform(options.arguments.begin(), options.arguments.end(), argv.begin() + 1,
                   [](const std::string& argument) { return const_cast<char*>(argument.c_str()); });
    execv(runnable.c_str(), argv.data());
    _exit(127);
  }
  close(output[1]);
  ProgramRun run;
  char chunk[4096];
  ssize_t got = 0;
  while ((got = read(output[0], chunk, sizeof chunk)) != 0) {
    if (got > 0) {
      run.output.append(chunk, static_cast<std::size_t>(got));
    } else if (errno != EINTR) {
      break;
    }
  }
  close(output[0]);
  run.status = statusOf(child);
  const auto errors = readBytes(errorFile);
  run.errors.assign(errors.begin(), errors.end());
  return run;
}

std::string shellOutput(const std::string& command) {
  std::string output;
  // Tests drive tmux through the shell, with arguments they quote themselves.
  FILE* pipe = popen(command.c_str(), "r");  // NOLINT(cert-env33-c)
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
