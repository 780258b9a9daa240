#include "app/command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::string_view kPosixHelp[] = {"--help", "-h"};
constexpr std::string_view kWindowsHelp[] = {"/?", "--help", "-h"};
const CommandLineConventions kPosix{
    .helpOptions = kPosixHelp, .helpSynopsis = "-h | --help", .privateFileAccess = "mode 0600"};
const CommandLineConventions kWindows{.helpOptions = kWindowsHelp,
                                      .helpSynopsis = "/? | -h | --help",
                                      .privateFileAccess = "for its owner only"};

TEST(CommandLine, OnlyAHelpOrVersionRequestIsAnswered) {
  using Request = CommandLineRequest;
  const struct {
    std::vector<std::string_view> arguments;
    Request posix;
    Request windows;
  } cases[] = {
      {{}, Request::Run, Request::Run},
      {{"anything", "else"}, Request::Run, Request::Run},
      {{"--help"}, Request::Help, Request::Help},
      {{"-h"}, Request::Help, Request::Help},
      {{"/?"}, Request::Run, Request::Help},
      {{"--version"}, Request::Version, Request::Version},
      {{"ignored", "--version", "--help"}, Request::Version, Request::Version},
      {{"-h", "--version"}, Request::Help, Request::Help},
      {{"--HELP"}, Request::Run, Request::Run},
      {{"--help=yes"}, Request::Run, Request::Run},
      {{"-v"}, Request::Run, Request::Run},
      {{"-hv"}, Request::Run, Request::Run},
      {{""}, Request::Run, Request::Run},
  };
  for (const auto& c : cases) {
    std::string shown;
    for (const std::string_view argument : c.arguments) {
      shown += " '" + std::string(argument) + "'";
    }
    EXPECT_EQ(commandLineRequest(c.arguments, kPosix), c.posix) << shown;
    EXPECT_EQ(commandLineRequest(c.arguments, kWindows), c.windows) << shown;
  }
}

TEST(CommandLine, ThisPlatformAnswersTheLongAndShortHelp) {
  const std::vector<std::string_view> longHelp = {"--help"};
  const std::vector<std::string_view> shortHelp = {"-h"};
  EXPECT_EQ(commandLineRequest(longHelp, platformConventions()), CommandLineRequest::Help);
  EXPECT_EQ(commandLineRequest(shortHelp, platformConventions()), CommandLineRequest::Help);
}

TEST(CommandLine, UsageNamesTheFourFilesTheOptionsAndTheExitStatuses) {
  for (const CommandLineConventions* conventions : {&kPosix, &kWindows}) {
    const std::string usage = usageText(*conventions);
    for (const char* expected :
         {"RSAPublicKey.dat", "RSAPrivateKey.dat", "ECDSAPublicKey.dat", "ECDSAPrivateKey.dat",
          "replacing any file of that name", "--version", "Exit status: 0", "; 1 when"}) {
      EXPECT_NE(usage.find(expected), std::string::npos) << expected << " in\n" << usage;
    }
    EXPECT_NE(usage.find(std::string(conventions->helpSynopsis) + "  "), std::string::npos);
    EXPECT_NE(usage.find("private key, " + std::string(conventions->privateFileAccess)),
              std::string::npos);
    // Plain text for a terminal: every line ends, none is wider than 80.
    EXPECT_EQ(usage.back(), '\n');
    std::size_t start = 0;
    for (std::size_t end = usage.find('\n'); end != std::string::npos;
         start = end + 1, end = usage.find('\n', start)) {
      EXPECT_LE(end - start, 80u) << usage.substr(start, end - start);
    }
  }
}

}  // namespace
