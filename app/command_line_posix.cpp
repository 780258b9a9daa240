// Command-line conventions on POSIX.
#include "app/command_line.h"

namespace {
constexpr std::string_view kHelpOptions[] = {"--help", "-h"};
}  // namespace

const CommandLineConventions& platformConventions() {
  static const CommandLineConventions kConventions{
      .helpOptions = kHelpOptions,
      .helpSynopsis = "-h | --help",
      .privateFileAccess = "mode 0600 (its owner only)",
  };
  return kConventions;
}
