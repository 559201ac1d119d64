#include "PeExports.h"

#include <algorithm>
#include <vector>

namespace scrubber {
namespace {

// Bounds on what a malformed or hostile image can make us read.
constexpr std::uint32_t kMaxHeaderOffset = 1u << 20;
constexpr std::uint16_t kMaxSections = 96;
constexpr std::uint32_t kMaxNames = 8192;
constexpr std::size_t kMaxNameLength = 256;

class Image {
 public:
  explicit Image(FileReader& reader) : reader_(reader) {}

  std::optional<std::string> At(std::uint64_t offset, std::size_t size) {
    if (!reader_.Seek(offset)) return std::nullopt;
    std::string bytes(size, '\0');
    std::size_t got = 0;
    while (got < size) {
      auto n = reader_.Read(std::span<char>(bytes.data() + got, size - got));
      if (!n || *n == 0) break;
      got += *n;
    }
    bytes.resize(got);
    return bytes;
  }

 private:
  FileReader& reader_;
};

std::uint32_t Le(const std::string& bytes, std::size_t at, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

struct Section {
  std::uint32_t address, size, fileOffset;
};

std::optional<std::uint64_t> FileOffset(const std::vector<Section>& sections, std::uint32_t rva) {
  for (const Section& s : sections)
    if (rva >= s.address && rva - s.address < s.size) return std::uint64_t{s.fileOffset} + (rva - s.address);
  return std::nullopt;
}

// The export names, or nullopt when the directory cannot be read.
std::optional<std::set<std::string>> ReadExports(Image& image, const std::string& optional, bool plus,
                                                 const std::vector<Section>& sections) {
  const std::size_t countAt = plus ? 108 : 92;
  const std::size_t dirAt = plus ? 112 : 96;
  if (optional.size() < dirAt + 8) return std::nullopt;
  std::set<std::string> names;
  if (Le(optional, countAt, 4) == 0) return names;
  const std::uint32_t dirRva = Le(optional, dirAt, 4);
  if (dirRva == 0) return names;  // exports nothing
  auto dirOffset = FileOffset(sections, dirRva);
  if (!dirOffset) return std::nullopt;
  auto dir = image.At(*dirOffset, 40);
  if (!dir || dir->size() < 40) return std::nullopt;
  const std::uint32_t count = Le(*dir, 24, 4);
  if (count > kMaxNames) return std::nullopt;
  auto tableOffset = FileOffset(sections, Le(*dir, 32, 4));
  if (count > 0 && !tableOffset) return std::nullopt;
  auto table = count > 0 ? image.At(*tableOffset, std::size_t{count} * 4) : std::optional<std::string>("");
  if (!table || table->size() < std::size_t{count} * 4) return std::nullopt;
  for (std::uint32_t i = 0; i < count; ++i) {
    auto nameOffset = FileOffset(sections, Le(*table, std::size_t{i} * 4, 4));
    if (!nameOffset) return std::nullopt;
    auto name = image.At(*nameOffset, kMaxNameLength);
    if (!name) return std::nullopt;
    const std::size_t end = name->find('\0');
    if (end == std::string::npos) return std::nullopt;
    names.insert(name->substr(0, end));
  }
  return names;
}

}  // namespace

PeInfo ReadPeInfo(FileSystem& fs, std::string_view path) {
  PeInfo info;
  auto reader = fs.OpenForReading(path);
  if (!reader) return info;
  Image image(*reader);
  auto dos = image.At(0, 64);
  if (!dos || dos->size() < 64 || dos->compare(0, 2, "MZ") != 0) return info;
  const std::uint32_t peAt = Le(*dos, 60, 4);
  if (peAt > kMaxHeaderOffset) return info;
  auto coff = image.At(peAt, 24);
  if (!coff || coff->size() < 24 || coff->compare(0, 2, "PE") != 0) return info;
  info.isImage = true;
  info.machine = static_cast<std::uint16_t>(Le(*coff, 4, 2));
  const std::uint16_t sectionCount = static_cast<std::uint16_t>(Le(*coff, 6, 2));
  const std::uint16_t optionalSize = static_cast<std::uint16_t>(Le(*coff, 20, 2));
  if (coff->compare(0, 4, std::string("PE\0\0", 4)) != 0 || sectionCount > kMaxSections) return info;

  auto optional = image.At(std::uint64_t{peAt} + 24, optionalSize);
  if (!optional || optional->size() < optionalSize || optionalSize < 2) return info;
  const std::uint32_t magic = Le(*optional, 0, 2);
  if (magic != 0x10b && magic != 0x20b) return info;
  auto table = image.At(std::uint64_t{peAt} + 24 + optionalSize, std::size_t{sectionCount} * 40);
  if (!table || table->size() < std::size_t{sectionCount} * 40) return info;
  std::vector<Section> sections;
  for (std::size_t i = 0; i < sectionCount; ++i) {
    const std::size_t at = i * 40;
    const std::uint32_t virtualSize = Le(*table, at + 8, 4);
    const std::uint32_t rawSize = Le(*table, at + 16, 4);
    sections.push_back(Section{Le(*table, at + 12, 4), virtualSize != 0 ? std::min(virtualSize, rawSize) : rawSize,
                               Le(*table, at + 20, 4)});
  }
  if (auto names = ReadExports(image, *optional, magic == 0x20b, sections)) {
    info.exportsKnown = true;
    info.exports = std::move(*names);
  }
  return info;
}

}  // namespace scrubber
