// The system's cryptography provider: the platform's own on Windows, our layer
// over Nettle elsewhere. Both offer the same six operations under the same names.
#pragma once

#include <array>
#include <cstddef>

#ifdef _WIN32
// clang-format off
#include <windows.h>
#include <bcrypt.h>
// clang-format on
using ProviderChar = wchar_t;
#else
#include "crypto/bcrypt_posix.h"
using ProviderChar = char16_t;
#endif

// A NUL-terminated identifier in the provider's string type, made from ASCII at
// compile time, so that callers need not know how wide the platform's text is.
template <std::size_t N>
consteval std::array<ProviderChar, N> providerText(const char (&ascii)[N]) {
  std::array<ProviderChar, N> text{};
  for (std::size_t i = 0; i < N; ++i) {
    text[i] = static_cast<ProviderChar>(ascii[i]);
  }
  return text;
}
