// tarnwick: creates an RSA 3072 and an ECDSA P-256 key pair with the system's
// cryptography provider and writes the public and private blob of each to a
// file in the current directory. Answers --help and --version; any other
// argument is ignored.
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/system_platform.h"

int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const CommandLineConventions& conventions = platformConventions();
  switch (commandLineRequest(arguments, conventions)) {
    case CommandLineRequest::Help:
      return printText(usageText(conventions));
    case CommandLineRequest::Version:
      return printText(versionText());
    case CommandLineRequest::Run:
      break;
  }
  return runKeyGeneration(systemPlatform());
}
