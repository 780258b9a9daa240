// Console and clock services: the window title and placement, text output, the
// wait for one key press and a seconds clock. None of them reports failure.
#pragma once

#include <string_view>

// The console window's title becomes `text`.
void setTitle(std::string_view text);

// Moves the console window's top-left corner to (x, y) in pixels and keeps it
// above windows that are not topmost; its size stays unchanged.
void placeWindowOnTop(int x, int y);

// Writes the bytes of `text` exactly as given, before returning.
void writeText(std::string_view text);

// Writes `text`, then the line end CR LF. An empty text gives an empty line.
void writeLine(std::string_view text);

// Returns once a key press has been recorded (or at once, when no key can
// ever be read because standard input is not a console).
void waitForKeyPress();

// A reading in seconds; only the difference of two readings means anything.
double nowSeconds();
