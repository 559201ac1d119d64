#pragma once
// Reads comma-separated text as RFC 4180 describes it (quoted fields, doubled
// quotes, CR LF record ends): the reverse of the export, for checking it.
#include <string>
#include <string_view>
#include <vector>

namespace rosterly {

std::vector<std::vector<std::string>> ReadCsvRecords(std::string_view text);

}  // namespace rosterly
