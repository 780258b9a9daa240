// The escape sequences by which a terminal emulator is asked to set its window
// title and to move its window, and which terminal types can take them.
#pragma once

#include <string>
#include <string_view>

// False where TERM is unset, empty, "dumb" or "linux": the Linux text console
// would print the sequences as text.
bool terminalTakesWindowRequests(const char* term);

// OSC 2: set the window title. Control bytes in the text are dropped so that
// the text cannot end the sequence early or start another.
std::string titleRequest(std::string_view title);

// xterm window manipulation 3: move the window's top-left corner to (x, y).
std::string moveWindowRequest(int x, int y);
