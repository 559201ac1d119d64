#include "CsvExport.h"

#include "Texts.h"

namespace rosterly {

void AppendCsvCell(std::string& out, std::string_view cell) {
  if (cell.find_first_of(",\"\r\n") == std::string_view::npos) {
    out.append(cell);
    return;
  }
  out.push_back('"');
  for (char c : cell) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
}

std::string FormatResults(const ResultGrid& grid) {
  std::string out;
  out.append(text::kExportHeader).append("\r\n");
  grid.ForEachRow([&](const ResultRow& row) {
    for (std::size_t c = 0; c < kColumnCount; ++c) {
      if (c > 0) out.push_back(',');
      AppendCsvCell(out, row.cells[c]);
    }
    out.append("\r\n");
  });
  return out;
}

}  // namespace rosterly
