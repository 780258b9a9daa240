// How the numbers of the report become text.
#pragma once

#include <cstdint>
#include <string>

// A location code in decimal digits: no sign, no leading zeros.
std::string decimalText(unsigned value);

// A status read as unsigned 32 bits, in upper-case hexadecimal without leading
// zeros, prefix or suffix.
std::string hexText(std::uint32_t status);

// Elapsed seconds as whole milliseconds, rounded toward negative infinity.
double wholeMilliseconds(double elapsedSeconds);

// The milliseconds as "%.16g" renders them, preceded by one space unless the
// text begins with "-".
std::string elapsedText(double milliseconds);
