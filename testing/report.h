// The program's report as the tests expect it, built in one place: the texts,
// their order and the CR LF line ends.
#pragma once

#include <array>
#include <string>

// The four key files, in the order in which the run writes them.
inline constexpr std::array<const char*, 4> kKeyFiles = {
    "RSAPublicKey.dat", "RSAPrivateKey.dat", "ECDSAPublicKey.dat", "ECDSAPrivateKey.dat"};

// Why each file was not written, in that order; null for a file written.
using Reasons = std::array<const char*, 4>;

// A run in which every provider call succeeded. `milliseconds` is the time's
// digits, with a minus sign if negative: "N" matches a report passed through
// maskElapsedTime.
std::string successReport(const Reasons& reasons = {}, const std::string& milliseconds = "N");

// A run that failed at `location` with `status` (its hexadecimal text), after
// `blobsWritten` blobs had been written.
std::string failureReport(int blobsWritten, unsigned location, const std::string& status);

// The report with the one part that varies from run to run, the digits of
// the time, replaced by "N".
std::string maskElapsedTime(std::string report);
