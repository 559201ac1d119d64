#include "CsvReader.h"

namespace rosterly {

std::vector<std::vector<std::string>> ReadCsvRecords(std::string_view s) {
  std::vector<std::vector<std::string>> records;
  std::vector<std::string> record;
  std::string field;
  std::size_t i = 0;
  while (i < s.size()) {
    if (s[i] == '"') {
      for (++i; i < s.size(); ++i) {
        if (s[i] != '"') {
          field.push_back(s[i]);
        } else if (i + 1 < s.size() && s[i + 1] == '"') {
          field.push_back('"');
          ++i;
        } else {
          ++i;
          break;
        }
      }
      continue;
    }
    if (s[i] == ',') {
      record.push_back(std::move(field));
      field.clear();
      ++i;
    } else if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') {
      record.push_back(std::move(field));
      field.clear();
      records.push_back(std::move(record));
      record.clear();
      i += 2;
    } else {
      field.push_back(s[i++]);
    }
  }
  if (!field.empty() || !record.empty()) {
    record.push_back(std::move(field));
    records.push_back(std::move(record));
  }
  return records;
}

}  // namespace rosterly
