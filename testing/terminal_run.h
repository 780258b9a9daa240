// A program run in a tmux pane of its own, by a shell that records the
// terminal's settings before and after it, its process id and its exit status.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

#include "testing/temp_dir.h"

class TerminalRun {
 public:
  // Starts `program` with `directory` as its working directory.
  TerminalRun(const std::string& program, const std::filesystem::path& directory,
              const std::vector<std::string>& arguments = {});
  ~TerminalRun();
  TerminalRun(const TerminalRun&) = delete;
  TerminalRun& operator=(const TerminalRun&) = delete;

  std::string screen();
  std::string title();
  void sendKeys(const std::string& keys);

  // Waits until `text` shows on the screen; false after `limit`.
  bool waitForScreen(const std::string& text,
                     std::chrono::milliseconds limit = std::chrono::seconds(10));
  // Waits until the program has ended; false after `limit`.
  bool waitForExit(std::chrono::milliseconds limit);

  pid_t pid();
  // The program's exit status as the shell saw it: 128 + signal when killed.
  int status();
  // The terminal's settings (stty -g) before the program started and after
  // it ended.
  std::string settingsBefore();
  std::string settingsAfter();

 private:
  std::string contents(const std::string& name) const;
  bool hasContent(const std::string& name) const;
  std::string tmux(const std::string& arguments) const;

  TempDir control_;     // the shell's records and the tmux socket
  std::string socket_;  // the tmux server's, in control_
};
