// process_bench TARNWICK [RUNS]: the whole program, run RUNS times with
// standard input from the null device, each in a fresh directory, interleaved
// with `openssl genpkey` making an RSA 3072 key the same way, and with `true`,
// a process that does nothing: the floor that creating a process costs here.
// Reports what start-up, output and file writing cost beside key generation
// (process wall time minus the time the program reports) and each program's
// peak memory.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Run {
  double wallMilliseconds;
  long peakKilobytes;
  std::string output;
};

// Runs argv in a fresh directory; standard output is read through a pipe.
// posix_spawn, not fork: copying this process is no part of the cost measured.
Run runOnce(const std::vector<std::string>& argv) {
  char pattern[] = "/tmp/tarnwick-bench-XXXXXX";
  const char* dir = mkdtemp(pattern);
  int pipeEnds[2];
  posix_spawn_file_actions_t actions;
  if (dir == nullptr || pipe(pipeEnds) != 0 || posix_spawn_file_actions_init(&actions) != 0) {
    std::perror("setting up a run");
    std::exit(1);
  }
  // No input; openssl's progress dots on standard error go nowhere.
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  posix_spawn_file_actions_addchdir_np(&actions, dir);
  std::vector<char*> args(argv.size() + 1, nullptr);
  std::transform(argv.begin(), argv.end(), args.begin(),
                 [](const std::string& arg) { return const_cast<char*>(arg.c_str()); });

  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  if (posix_spawnp(&child, args[0], &actions, nullptr, args.data(), environ) != 0) {
    std::perror(args[0]);
    std::exit(1);
  }
  close(pipeEnds[1]);
  Run run{};
  char chunk[1024];
  ssize_t got = 0;
  while ((got = read(pipeEnds[0], chunk, sizeof chunk)) > 0) {
    run.output.append(chunk, static_cast<std::size_t>(got));
  }
  close(pipeEnds[0]);
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  run.wallMilliseconds =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  run.peakKilobytes = usage.ru_maxrss;
  posix_spawn_file_actions_destroy(&actions);
  std::filesystem::remove_all(dir);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    (void)std::fprintf(stderr, "%s failed: status %d\n", argv[0].c_str(), status);
    std::exit(1);
  }
  return run;
}

double reportedMilliseconds(const std::string& output) {
  const std::string line = "Time taken:";
  const std::size_t at = output.find(line);
  if (at == std::string::npos) {
    (void)std::fputs("no time line in the report\n", stderr);
    std::exit(1);
  }
  return std::strtod(output.c_str() + at + line.size(), nullptr);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double percentile90(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[(values.size() * 9) / 10];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    (void)std::fputs("usage: process_bench TARNWICK [RUNS]\n", stderr);
    return 2;
  }
  const std::string tarnwick = std::filesystem::absolute(argv[1]).string();
  char* end = nullptr;
  const long asked = argc > 2 ? std::strtol(argv[2], &end, 10) : 200;
  const int runs = asked > 0 && asked < 100'000 && (end == nullptr || *end == '\0')
                       ? static_cast<int>(asked)
                       : 200;
  const std::vector<std::string> openssl = {"openssl", "genpkey",  "-algorithm",
                                            "RSA",     "-pkeyopt", "rsa_keygen_bits:3072",
                                            "-out",    "key.pem"};
  std::vector<double> outside;
  std::vector<double> ourWall;
  std::vector<double> ourPeak;
  std::vector<double> opensslWall;
  std::vector<double> opensslPeak;
  std::vector<double> nothingWall;
  for (int i = 0; i < runs; ++i) {
    nothingWall.push_back(runOnce({"true"}).wallMilliseconds);
    const Run ours = runOnce({tarnwick});
    outside.push_back(ours.wallMilliseconds - reportedMilliseconds(ours.output));
    ourWall.push_back(ours.wallMilliseconds);
    ourPeak.push_back(static_cast<double>(ours.peakKilobytes));
    const Run theirs = runOnce(openssl);
    opensslWall.push_back(theirs.wallMilliseconds);
    opensslPeak.push_back(static_cast<double>(theirs.peakKilobytes));
  }
  std::printf("runs: %d each, interleaved\n", runs);
  std::printf(
      "tarnwick: wall median %.1f ms; outside key generation (wall - reported): "
      "median %.2f ms, p90 %.2f ms; peak memory median %.0f KiB, max %.0f KiB\n",
      median(ourWall), median(outside), percentile90(outside), median(ourPeak),
      *std::max_element(ourPeak.begin(), ourPeak.end()));
  std::printf("true (creating a process, nothing else): wall median %.2f ms\n",
              median(nothingWall));
  std::printf(
      "openssl genpkey RSA 3072: wall median %.1f ms; peak memory median %.0f KiB, "
      "max %.0f KiB\n",
      median(opensslWall), median(opensslPeak),
      *std::max_element(opensslPeak.begin(), opensslPeak.end()));
  return 0;
}
