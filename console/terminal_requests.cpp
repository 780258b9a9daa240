#include "console/terminal_requests.h"

bool terminalTakesWindowRequests(const char* term) {
  if (term == nullptr) {
    return false;
  }
  const std::string_view type(term);
  return !type.empty() && type != "dumb" && type != "linux";
}

std::string titleRequest(std::string_view title) {
  std::string request = "\x1b]2;";
  for (const char c : title) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      request += c;
    }
  }
  request += '\a';
  return request;
}

std::string moveWindowRequest(int x, int y) {
  return "\x1b[3;" + std::to_string(x) + ';' + std::to_string(y) + 't';
}
