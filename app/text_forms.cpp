#include "app/text_forms.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>

std::string decimalText(unsigned value) {
  return std::to_string(value);
}

std::string hexText(std::uint32_t status) {
  char digits[9];
  const int length = std::snprintf(digits, sizeof digits, "%" PRIX32, status);
  return {digits, length > 0 ? static_cast<std::size_t>(length) : 0};
}

double wholeMilliseconds(double elapsedSeconds) {
  // + 0.0 turns a negative zero into zero, which has no minus sign to show.
  return std::floor(elapsedSeconds * 1000.0) + 0.0;
}

std::string elapsedText(double milliseconds) {
  char digits[32];
  const int length = std::snprintf(digits, sizeof digits, "%.16g", milliseconds);
  std::string text(digits, length > 0 ? static_cast<std::size_t>(length) : 0);
  if (text.empty() || text.front() != '-') {
    text.insert(text.begin(), ' ');
  }
  return text;
}
