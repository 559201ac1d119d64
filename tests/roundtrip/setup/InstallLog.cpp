#include "InstallLog.h"

namespace sample {

namespace {
constexpr std::string_view kLineEnd = "\r\n";
// The blank after "*** " marks the installation's text as ANSI: the
// uninstaller then takes every path as it stands.
constexpr std::string_view kStarted = "***  Installation Started ";
}  // namespace

InstallLog::InstallLog(const LogHeader& header) {
  Line(kStarted, header.started);
  Line("Title: ", header.title);
  Line("Uninstall MIF: ", header.mif);
  Line("Manufacturer: ", header.manufacturer);
  Line("Product: ", header.product);
  Line("Version Number: ", header.version);
  Line("Serial Number: ", header.serial);
}

void InstallLog::Record(std::string_view keyword, std::string_view value) {
  std::string kind(keyword.substr(0, keyword.find_last_not_of(' ') + 1));
  bool known = false;
  for (auto& [name, count] : counts_) {
    if (name == kind) {
      ++count;
      known = true;
    }
  }
  if (!known) counts_.emplace_back(kind, 1);
  Line(keyword, value);
}

void InstallLog::Line(std::string_view keyword, std::string_view value) {
  text_ += keyword;
  text_ += value;
  text_ += kLineEnd;
}

}  // namespace sample
