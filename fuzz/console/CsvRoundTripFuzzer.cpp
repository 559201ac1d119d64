// Any cells through the grid and the export, read back as RFC 4180: every row
// must come back as exactly its four cells, in the grid's order, and a row
// without commas, quotes or line ends must be written byte for byte.
//
// Input: the first byte picks up to two header clicks; the rest are cells
// separated by 0x1F, four to a row.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fake/CsvReader.h"
#include "logic/CsvExport.h"
#include "logic/ResultGrid.h"

namespace {

std::vector<std::string> Split(std::string_view s) {
  std::vector<std::string> cells;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = s.find('\x1f', start);
    cells.emplace_back(s.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return cells;
    start = end + 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t clicks = data[0];
  const auto cells = Split(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));

  rosterly::ResultGrid grid;
  if (clicks & 0x04) grid.ColumnClick(1 + (clicks & 0x03));
  for (std::size_t i = 0; i < cells.size(); i += 4) {
    rosterly::ResultRow row;
    for (std::size_t c = 0; c < 4 && i + c < cells.size(); ++c) row.cells[c] = cells[i + c];
    grid.InsertAtTop(std::move(row));
  }
  if (clicks & 0x40) grid.ColumnClick(1 + ((clicks >> 4) & 0x03));

  const std::string text = rosterly::FormatResults(grid);
  const auto records = rosterly::ReadCsvRecords(text);
  if (records.size() != grid.RowCount() + 1) std::abort();
  if (text.rfind("Computer Name,Group Name,Group Memebers,Action\r\n", 0) != 0) std::abort();
  std::size_t r = 1;
  grid.ForEachRow([&](const rosterly::ResultRow& row) {
    const auto& record = records[r++];
    if (record.size() != 4) std::abort();
    for (std::size_t c = 0; c < 4; ++c)
      if (record[c] != row.cells[c]) std::abort();
  });
  // Plain rows keep the unquoted form.
  std::size_t at = text.find("\r\n") + 2;
  grid.ForEachRow([&](const rosterly::ResultRow& row) {
    std::string plain = row.cells[0] + "," + row.cells[1] + "," + row.cells[2] + "," + row.cells[3];
    std::string line;
    for (std::size_t c = 0; c < 4; ++c) {
      if (c > 0) line.push_back(',');
      rosterly::AppendCsvCell(line, row.cells[c]);
    }
    if (text.compare(at, line.size() + 2, line + "\r\n") != 0) std::abort();
    bool needsQuotes = false;
    for (const auto& cell : row.cells) needsQuotes |= cell.find_first_of(",\"\r\n") != std::string::npos;
    if (!needsQuotes && line != plain) std::abort();
    at += line.size() + 2;
  });
  return 0;
}
