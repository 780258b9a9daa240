#include "app/command_line.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

CommandLineRequest commandLineRequest(std::span<const std::string_view> arguments,
                                      const CommandLineConventions& conventions) {
  for (const std::string_view argument : arguments) {
    if (std::find(conventions.helpOptions.begin(), conventions.helpOptions.end(), argument) !=
        conventions.helpOptions.end()) {
      return CommandLineRequest::Help;
    }
    if (argument == "--version") {
      return CommandLineRequest::Version;
    }
  }
  return CommandLineRequest::Run;
}

namespace {

// One option's line: its spellings, then what it does, in a column of its own.
std::string optionLine(std::string_view spellings, std::string_view what) {
  constexpr std::size_t kColumn = 20;
  std::string line = "  " + std::string(spellings);
  line.append(line.size() < kColumn ? kColumn - line.size() : 1, ' ');
  return line + std::string(what) + "\n";
}

}  // namespace

std::string usageText(const CommandLineConventions& conventions) {
  const std::string help(conventions.helpSynopsis);
  const std::string privateAccess(conventions.privateFileAccess);
  return "Usage: tarnwick [" + help + " | --version]\n" +
         "\n"
         "Creates an RSA 3072-bit key pair and an ECDSA P-256 key pair with the\n"
         "system's cryptography provider, and writes each half as the provider's key\n"
         "blob to a file in the current directory, replacing any file of that name:\n"
         "\n"
         "  RSAPublicKey.dat     the RSA public key\n"
         "  RSAPrivateKey.dat    the RSA private key, " +
         privateAccess + "\n" +
         "  ECDSAPublicKey.dat   the ECDSA public key\n"
         "  ECDSAPrivateKey.dat  the ECDSA private key, " +
         privateAccess + "\n" +
         "\n"
         "It reports each file and the time taken, then waits for a key press.\n"
         "\n" +
         optionLine(help, "show this text and exit") +
         optionLine("--version", "show the version and exit") +
         "\n"
         "Exit status: 0 when all four files were written; 1 when a provider call\n"
         "failed or a file could not be written (the report says which, and why).\n";
}

std::string versionText() {
  return "tarnwick " TARNWICK_VERSION "\n";
}

int printText(std::string_view text) {
  if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0) {
    return 0;
  }
  const int error = errno;
  (void)std::fprintf(stderr, "tarnwick: cannot write to standard output: %s\n",
                     std::strerror(error));
  return 1;
}
