#include "PeImage.h"

#include <array>

namespace scrubber {
namespace {

// Reads exactly buffer.size() bytes; false at the end of the file or on error.
bool ReadExactly(FileReader& reader, std::span<char> buffer) {
  std::size_t got = 0;
  while (got < buffer.size()) {
    const auto n = reader.Read(buffer.subspan(got));
    if (!n || *n == 0) return false;
    got += *n;
  }
  return true;
}

bool ReadTwo(FileReader& reader, std::string_view expected) {
  std::array<char, 2> bytes{};
  return ReadExactly(reader, bytes) && std::string_view(bytes.data(), bytes.size()) == expected;
}

}  // namespace

bool IsPeImage(FileSystem& fs, std::string_view path) {
  const auto reader = fs.OpenForReading(path);
  if (!reader || !ReadTwo(*reader, "MZ")) return false;
  std::array<char, 4> field{};
  if (!reader->Seek(kPeOffsetField) || !ReadExactly(*reader, field)) return false;
  std::uint32_t offset = 0;
  for (std::size_t i = 0; i < field.size(); ++i) offset |= std::uint32_t{static_cast<unsigned char>(field[i])} << (8 * i);
  return reader->Seek(offset) && ReadTwo(*reader, "PE");
}

}  // namespace scrubber
