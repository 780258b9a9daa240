// What the command line asks for. The program takes no arguments: a request
// for help or for the version is answered, and every other argument ignored.
#pragma once

#include <span>
#include <string>
#include <string_view>

enum class CommandLineRequest { Run, Help, Version };

// How the platform spells things on the command line and in the usage text.
struct CommandLineConventions {
  std::span<const std::string_view> helpOptions;  // e.g. "--help", "-h"
  std::string_view helpSynopsis;                  // the help options, as the usage line shows them
  std::string_view privateFileAccess;             // who may read a private key file
};

// The platform's conventions (command_line_posix.cpp, command_line_win32.cpp).
const CommandLineConventions& platformConventions();

// The first argument that is a help or version request decides; without one,
// the program runs. `arguments` excludes the program's name.
CommandLineRequest commandLineRequest(std::span<const std::string_view> arguments,
                                      const CommandLineConventions& conventions);

std::string usageText(const CommandLineConventions& conventions);
std::string versionText();

// Writes the text to standard output. Returns the exit status: 0, or 1 with
// a message on standard error when the text could not be written.
int printText(std::string_view text);
