#pragma once
// The record of one installation as the uninstaller reads it: a header, then
// one record per change, each a first line and its following lines, ended
// by CR LF. It counts the records by kind for the summary.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sample {

struct LogHeader {
  std::string started;  // the date and time after "Installation Started"
  std::string title, mif, manufacturer, product, version, serial;
};

class InstallLog {
 public:
  explicit InstallLog(const LogHeader& header);

  // The first line of a record, e.g. Record("File Copy: ", path); counted.
  void Record(std::string_view keyword, std::string_view value);
  // A line that belongs to the record before it (or qualifies the next one).
  void Line(std::string_view keyword, std::string_view value);

  const std::string& text() const { return text_; }
  // Record kinds (keyword without its blank) and their counts, in the order
  // in which each kind first appeared.
  const std::vector<std::pair<std::string, int>>& counts() const { return counts_; }

 private:
  std::string text_;
  std::vector<std::pair<std::string, int>> counts_;
};

}  // namespace sample
