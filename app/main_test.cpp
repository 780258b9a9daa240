// The built program, end to end: redirected, and in a real terminal (tmux).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <iterator>
#include <map>
#include <thread>

#include "testing/blob_check.h"
#include "testing/file_bytes.h"
#include "testing/process.h"
#include "testing/report.h"
#include "testing/temp_dir.h"
#include "testing/terminal_run.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

mode_t currentUmask() {
  const mode_t mask = umask(0);
  umask(mask);
  return mask;
}

// Private key files are their owner's only; public ones have the ordinary
// mode that the umask leaves.
void expectSoundKeyFiles(const TempDir& dir) {
  const mode_t publicMode = 0666 & ~currentUmask();
  for (const char* name : kKeyFiles) {
    struct stat status {};
    ASSERT_EQ(lstat((dir / name).c_str(), &status), 0) << name;
    EXPECT_TRUE(S_ISREG(status.st_mode)) << name;
    const bool isPrivate = std::string_view(name).find("Private") != std::string_view::npos;
    EXPECT_EQ(status.st_mode & 07777, isPrivate ? 0600u : publicMode) << name;
  }
  EXPECT_EQ(
      checkRsaBlobs(readBytes(dir / "RSAPublicKey.dat"), readBytes(dir / "RSAPrivateKey.dat")), "");
  EXPECT_EQ(
      checkEccBlobs(readBytes(dir / "ECDSAPublicKey.dat"), readBytes(dir / "ECDSAPrivateKey.dat")),
      "");
}

TEST(Program, RedirectedRunWritesTheReportAndFourSoundFiles) {
  TempDir dir;
  writeBytes(dir / "RSAPrivateKey.dat", Bytes(5000, 0xAA));  // replaced, not overwritten in part

  const ProgramRun run = runProgram(TARNWICK_PROGRAM, dir.path());

  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(maskElapsedTime(run.output), successReport());
  expectSoundKeyFiles(dir);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 4)
      << "no other file left behind";
}

TEST(Program, FileThatCannotBeWrittenIsReportedAndExitsOne) {
  TempDir dir;
  fs::create_directory(dir / "ECDSAPublicKey.dat");

  const ProgramRun run = runProgram(TARNWICK_PROGRAM, dir.path());

  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(maskElapsedTime(run.output),
            successReport({nullptr, nullptr, "Is a directory", nullptr}));
  EXPECT_TRUE(fs::is_directory(dir / "ECDSAPublicKey.dat"));
  EXPECT_EQ(readBytes(dir / "ECDSAPrivateKey.dat").size(), 104u);
}

// A request for help or the version is answered and nothing else is done:
// the key files in the directory stay as they are.
TEST(Program, HelpAndVersionTouchNothing) {
  const struct {
    std::vector<std::string> arguments;
    std::string expected;
    bool whole;  // the whole output, not only its start
  } cases[] = {
      {{"--help"}, "Usage: tarnwick [", false},
      {{"-h"}, "Usage: tarnwick [", false},
      {{"ignored", "--help"}, "Usage: tarnwick [", false},
      {{"--version"}, "tarnwick " TARNWICK_VERSION "\n", true},
  };
  for (const auto& c : cases) {
    TempDir dir;
    std::map<std::string, Bytes> before;
    for (const char* name : kKeyFiles) {
      before[name] = Bytes(40, static_cast<std::uint8_t>(name[0]));
      writeBytes(dir / name, before[name]);
    }
    ProgramOptions options;
    options.arguments = c.arguments;
    const ProgramRun run = runProgram(TARNWICK_PROGRAM, dir.path(), options);
    EXPECT_EQ(run.status, 0) << c.arguments.back();
    EXPECT_EQ(c.whole ? run.output : run.output.substr(0, c.expected.size()), c.expected);
    EXPECT_EQ(run.output.find("Please wait"), std::string::npos) << run.output;
    EXPECT_EQ(run.errors, "");
    for (const char* name : kKeyFiles) {
      EXPECT_EQ(readBytes(dir / name), before[name]) << name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 4);
  }
}

// On a terminal, help neither titles the window nor changes the settings,
// and does not wait.
TEST(ProgramInTerminal, HelpLeavesTheTerminalAlone) {
  TempDir dir;
  TerminalRun terminal(TARNWICK_PROGRAM, dir.path(), {"--help"});
  ASSERT_TRUE(terminal.waitForExit(5s)) << terminal.screen();
  EXPECT_EQ(terminal.status(), 0);
  EXPECT_NE(terminal.screen().find("Usage: tarnwick"), std::string::npos);
  EXPECT_NE(terminal.title(), "Tarnwick\n");
  EXPECT_EQ(terminal.settingsAfter(), terminal.settingsBefore());
}

TEST(ProgramInTerminal, SetsTheTitleWaitsForAKeyAndLeavesTheTerminalAsItWas) {
  TempDir dir;
  TerminalRun terminal(TARNWICK_PROGRAM, dir.path());
  ASSERT_TRUE(terminal.waitForScreen("Press any key")) << terminal.screen();
  EXPECT_EQ(terminal.title(), "Tarnwick\n");

  std::this_thread::sleep_for(300ms);
  EXPECT_FALSE(terminal.waitForExit(0ms)) << "the wait goes on while no key is pressed";

  terminal.sendKeys("F5");
  ASSERT_TRUE(terminal.waitForExit(2s));
  EXPECT_EQ(terminal.status(), 0);
  EXPECT_EQ(terminal.settingsAfter(), terminal.settingsBefore());
  expectSoundKeyFiles(dir);
}

TEST(ProgramInTerminal, KeyTypedDuringGenerationEndsTheWaitWithoutEcho) {
  TempDir dir;
  TerminalRun terminal(TARNWICK_PROGRAM, dir.path());
  ASSERT_TRUE(terminal.waitForScreen("Please wait"));
  // Held still, so that the key certainly arrives before the wait begins.
  const pid_t pid = terminal.pid();
  ASSERT_EQ(kill(pid, SIGSTOP), 0);
  if (terminal.screen().find("Press any key") != std::string::npos) {
    kill(pid, SIGCONT);
    GTEST_SKIP() << "generation ended before the key could be typed";
  }
  terminal.sendKeys("q");
  std::this_thread::sleep_for(100ms);
  ASSERT_EQ(kill(pid, SIGCONT), 0);

  ASSERT_TRUE(terminal.waitForExit(5s)) << terminal.screen();
  EXPECT_EQ(terminal.status(), 0);
  const std::string screen = terminal.screen();
  EXPECT_NE(screen.find("Press any key"), std::string::npos);
  EXPECT_EQ(screen.find('q'), std::string::npos) << "the key was echoed:\n" << screen;
  EXPECT_EQ(terminal.settingsAfter(), terminal.settingsBefore());
}

TEST(ProgramInTerminal, HangUpDuringTheWaitEndsItNormally) {
  TempDir dir;
  TerminalRun terminal(TARNWICK_PROGRAM, dir.path());
  ASSERT_TRUE(terminal.waitForScreen("Press any key"));
  ASSERT_EQ(kill(terminal.pid(), SIGHUP), 0);
  ASSERT_TRUE(terminal.waitForExit(2s));
  EXPECT_EQ(terminal.status(), 0);
  EXPECT_EQ(terminal.settingsAfter(), terminal.settingsBefore());
}

}  // namespace
