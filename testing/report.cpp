#include "testing/report.h"

namespace {

constexpr std::array<const char*, 4> kProgress = {
    "RSA public key generated", "RSA private key generated", "ECDSA public key generated",
    "ECDSA private key generated"};

std::string line(const std::string& text) {
  return text + "\r\n";
}

// "Please wait", then the progress of the first `blobs` blobs, each followed
// by an empty line and, where it was not written, the reason and another.
std::string opening(int blobs, const Reasons& reasons) {
  std::string report = line("Please wait") + line("");
  for (int i = 0; i < blobs; ++i) {
    const auto at = static_cast<std::size_t>(i);
    report += line(kProgress[at]) + line("");
    if (reasons[at] != nullptr) {
      report +=
          line(std::string("Could not write ") + kKeyFiles[at] + ": " + reasons[at]) + line("");
    }
  }
  return report;
}

std::string closing() {
  return line("") + line("Press any key");
}

}  // namespace

std::string successReport(const Reasons& reasons, const std::string& milliseconds) {
  // The space after the colon is the number's own: a negative one has none.
  const std::string space = !milliseconds.empty() && milliseconds.front() == '-' ? "" : " ";
  return opening(4, reasons) + line("Time taken:" + space + milliseconds + "ms") + closing();
}

std::string failureReport(int blobsWritten, unsigned location, const std::string& status) {
  return opening(blobsWritten, {}) +
         line("Error at location " + std::to_string(location) + ", Windows error code " + status) +
         closing();
}

std::string maskElapsedTime(std::string report) {
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
