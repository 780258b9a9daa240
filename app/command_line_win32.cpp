// Command-line conventions on Windows, where "/?" asks for help too.
#include "app/command_line.h"

namespace {
constexpr std::string_view kHelpOptions[] = {"/?", "--help", "-h"};
}  // namespace

const CommandLineConventions& platformConventions() {
  static const CommandLineConventions kConventions{
      .helpOptions = kHelpOptions,
      .helpSynopsis = "/? | -h | --help",
      .privateFileAccess = "for its owner only",
  };
  return kConventions;
}
