// The built program under faults: a full disk, a directory it may not write,
// hostile names, a failing provider, and signals in each phase.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <iterator>
#include <thread>

#include "testing/file_bytes.h"
#include "testing/process.h"
#include "testing/report.h"
#include "testing/temp_dir.h"
#include "testing/terminal_run.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::vector<std::string> entries(const fs::path& dir) {
  std::vector<std::string> names;
  std::transform(fs::directory_iterator(dir), fs::directory_iterator(), std::back_inserter(names),
                 [](const fs::directory_entry& entry) { return entry.path().filename().string(); });
  std::sort(names.begin(), names.end());
  return names;
}

const std::vector<std::uint8_t> kFormer = {'f', 'o', 'r', 'm', 'e', 'r'};

TEST(ProgramUnderFaults, FullDiskRemovesPartialFilesReportsThemAndGoesOn) {
  constexpr const char* kTooLarge = "File too large";
  const struct {
    std::uint64_t limit;
    Reasons reasons;
  } cases[] = {
      {200, {kTooLarge, kTooLarge, nullptr, nullptr}},
      {80, {kTooLarge, kTooLarge, nullptr, kTooLarge}},
  };
  for (const auto& c : cases) {
    TempDir dir;
    ProgramOptions options;
    options.fileSizeLimit = c.limit;
    const ProgramRun run = runProgram(TARNWICK_PROGRAM, dir.path(), options);
    EXPECT_EQ(run.status, 1) << "limit " << c.limit;
    EXPECT_EQ(maskElapsedTime(run.output), successReport(c.reasons));
    for (std::size_t i = 0; i < 4; ++i) {
      EXPECT_EQ(fs::exists(dir / kKeyFiles[i]), c.reasons[i] == nullptr)
          << kKeyFiles[i] << ", limit " << c.limit;
    }
  }
}

TEST(ProgramUnderFaults, DirectoryItMayNotWrite) {
  TempDir dir;
  writeBytes(dir / "RSAPublicKey.dat", kFormer);
  chmod((dir / "RSAPublicKey.dat").c_str(), 0644);  // readable, not replaceable
  ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);

  ProgramOptions options;
  options.unprivileged = true;
  const ProgramRun run = runProgram(TARNWICK_PROGRAM, dir.path(), options);

  EXPECT_EQ(run.status, 1);
  constexpr const char* kDenied = "Permission denied";
  EXPECT_EQ(maskElapsedTime(run.output), successReport({kDenied, kDenied, kDenied, kDenied}));
  EXPECT_EQ(readBytes(dir / "RSAPublicKey.dat"), kFormer);
  EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"RSAPublicKey.dat"});
}

// A live link is replaced by a file of its own; nothing is ever written
// through a link, and a directory is never replaced.
TEST(ProgramUnderFaults, DirectoriesAndSymbolicLinksAtKeyNames) {
  TempDir dir;
  TempDir outside;
  fs::create_directory(dir / "RSAPrivateKey.dat");
  writeBytes(outside / "victim", kFormer);
  fs::create_symlink(outside / "victim", dir / "ECDSAPrivateKey.dat");
  fs::create_symlink(outside / "planted", dir / "RSAPublicKey.dat");  // dangling

  const ProgramRun run = runProgram(TARNWICK_PROGRAM, dir.path());

  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(maskElapsedTime(run.output),
            successReport({"a symbolic link is in its place", "Is a directory", nullptr, nullptr}));
  EXPECT_TRUE(fs::is_directory(dir / "RSAPrivateKey.dat"));
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / "ECDSAPrivateKey.dat")));
  EXPECT_EQ(readBytes(dir / "ECDSAPrivateKey.dat").size(), 104u);
  EXPECT_EQ(readBytes(outside / "victim"), kFormer);
  EXPECT_TRUE(fs::is_symlink(dir / "RSAPublicKey.dat"));
  EXPECT_EQ(entries(outside.path()), std::vector<std::string>{"victim"});
}

TEST(ProgramUnderFaults, ProviderFailingInEachJob) {
  const std::string kClose = "BCryptCloseAlgorithmProvider 0\n";
  const std::string kDestroy = "BCryptDestroyKey 0\n";
  const struct {
    unsigned failAt;
    const char* status;
    int filesWritten;
    std::string releases;
  } cases[] = {
      {20, "C0000017", 0, kClose},
      {60, "C00000E5", 1, kClose + kDestroy},
      {90, "C000000D", 2, kClose + kDestroy + kClose},
      {130, "103", 3, kClose + kDestroy + kClose + kDestroy},
  };
  for (const auto& c : cases) {
    TempDir dir;
    for (const char* name : kKeyFiles) {
      writeBytes(dir / name, kFormer);
    }
    ProgramOptions options;
    options.environment = {"TARNWICK_FAIL_AT=" + std::to_string(c.failAt),
                           std::string("TARNWICK_FAIL_STATUS=") + c.status};
    const ProgramRun run = runProgram(TARNWICK_FAULTY_PROGRAM, dir.path(), options);

    const std::string expected = failureReport(c.filesWritten, c.failAt, c.status);
    EXPECT_EQ(run.status, 1) << c.failAt;
    EXPECT_EQ(run.output, expected);
    EXPECT_EQ(run.errors, c.releases) << c.failAt;
    for (std::size_t i = 0; i < kKeyFiles.size(); ++i) {
      const auto content = readBytes(dir / kKeyFiles[i]);
      if (i < static_cast<std::size_t>(c.filesWritten)) {
        EXPECT_NE(content, kFormer) << kKeyFiles[i] << " replaced, failure at " << c.failAt;
      } else {
        EXPECT_EQ(content, kFormer) << kKeyFiles[i] << " untouched, failure at " << c.failAt;
      }
    }
  }
}

struct SignalCase {
  const char* what;
  int signal;  // 0: Ctrl+C typed
  bool duringGeneration;
  int status;  // as the shell reports it
};

void PrintTo(const SignalCase& c, std::ostream* out) {
  *out << c.what;
}

class ProgramUnderSignals : public ::testing::TestWithParam<SignalCase> {};

// After every signal the terminal's settings are what they were before.
TEST_P(ProgramUnderSignals, EndsAsItShouldAndRestoresTheTerminal) {
  const SignalCase& c = GetParam();
  TempDir dir;
  TerminalRun terminal(TARNWICK_PROGRAM, dir.path());
  const pid_t pid = terminal.pid();
  std::string screenAtSignal;
  if (c.duringGeneration) {
    ASSERT_TRUE(terminal.waitForScreen("Please wait"));
    // Held still, so that the signal certainly arrives before the keys are made.
    ASSERT_EQ(kill(pid, SIGSTOP), 0);
    screenAtSignal = terminal.screen();
    if (screenAtSignal.find("Press any key") != std::string::npos) {
      kill(pid, SIGCONT);
      GTEST_SKIP() << "generation ended before the signal could be sent";
    }
    ASSERT_EQ(kill(pid, c.signal), 0);
    ASSERT_EQ(kill(pid, SIGCONT), 0);
  } else {
    ASSERT_TRUE(terminal.waitForScreen("Press any key"));
    screenAtSignal = terminal.screen();
    if (c.signal == 0) {
      terminal.sendKeys("C-c");
    } else {
      ASSERT_EQ(kill(pid, c.signal), 0);
    }
  }

  ASSERT_TRUE(terminal.waitForExit(5s)) << terminal.screen();
  EXPECT_EQ(terminal.status(), c.status);
  EXPECT_EQ(terminal.screen(), screenAtSignal) << "nothing written after the signal";
  EXPECT_EQ(terminal.settingsAfter(), terminal.settingsBefore());
}

INSTANTIATE_TEST_SUITE_P(
    Phases, ProgramUnderSignals,
    ::testing::Values(SignalCase{"SIGINT during generation", SIGINT, true, 128 + SIGINT},
                      SignalCase{"SIGTERM during generation", SIGTERM, true, 128 + SIGTERM},
                      SignalCase{"SIGHUP during generation", SIGHUP, true, 128 + SIGHUP},
                      SignalCase{"SIGHUP during the wait", SIGHUP, false, 0},
                      SignalCase{"SIGTERM during the wait", SIGTERM, false, 0},
                      SignalCase{"Ctrl+C during the wait", 0, false, 128 + SIGINT}),
    [](const ::testing::TestParamInfo<SignalCase>& param) {
      std::string name;
      for (const char* p = param.param.what; *p != 0; ++p) {
        if (std::isalnum(static_cast<unsigned char>(*p)) != 0) {
          name += *p;
        }
      }
      return name;
    });

}  // namespace
