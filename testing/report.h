// Reports compared as exact text, with the one part that varies from run to
// run, the milliseconds of the time line, replaced by "N".
#pragma once

#include <string>

inline std::string maskElapsedTime(std::string report) {
  static const std::string kTimeLine = "Time taken: ";
  const std::size_t start = report.find(kTimeLine);
  if (start == std::string::npos) {
    return report;
  }
  const std::size_t digits = start + kTimeLine.size();
  std::size_t end = digits;
  while (end < report.size() && report[end] >= '0' && report[end] <= '9') {
    ++end;
  }
  if (end > digits) {
    report.replace(digits, end - digits, "N");
  }
  return report;
}
