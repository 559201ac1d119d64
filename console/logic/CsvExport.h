#pragma once
// The export file's bytes: the header line, then one line per grid row from
// the top, cells joined by commas, CR LF after every line. A cell holding a
// comma, a double quote, CR or LF is enclosed in double quotes with inner
// quotes doubled, so every row reads back as exactly four fields; every other
// cell is written byte for byte.
#include <string>
#include <string_view>

#include "ResultGrid.h"

namespace rosterly {

void AppendCsvCell(std::string& out, std::string_view cell);
std::string FormatResults(const ResultGrid& grid);

}  // namespace rosterly
