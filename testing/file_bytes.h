// A whole file's bytes, read or written in one call, for tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

// Empty when the file cannot be read.
std::vector<std::uint8_t> readBytes(const std::filesystem::path& file);

// Replaces the file's content with `bytes`.
void writeBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);
