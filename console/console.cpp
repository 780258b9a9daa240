#include "console/console.h"

void writeLine(std::string_view text) {
  writeText(text);
  writeText("\r\n");
}
