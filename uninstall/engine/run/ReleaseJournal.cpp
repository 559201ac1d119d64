#include "ReleaseJournal.h"

#include <charconv>
#include <cstdio>

#include "PathText.h"

namespace scrubber {
namespace {

// Far more than any log's records could fill; a bigger file is not ours.
constexpr std::size_t kMaxJournalBytes = 16u << 20;

struct Line {
  char kind = 0;
  std::uint64_t offset = 0;
  std::uint32_t textHash = 0;
  char decision = 0;
};

// One whole line, its line end already taken off; nullopt unless it is of
// the one form a complete write leaves.
std::optional<Line> ParseLine(std::string_view text) {
  if (text.size() < 14 || text[1] != ' ') return std::nullopt;
  Line line;
  line.kind = text[0];
  if (line.kind != 'C' && line.kind != 'U' && line.kind != 'X') return std::nullopt;
  const char* const end = text.data() + text.size();
  const char* at = text.data() + 2;
  auto [afterOffset, e1] = std::from_chars(at, end, line.offset);
  if (e1 != std::errc{} || afterOffset == end || *afterOffset != ' ') return std::nullopt;
  at = afterOffset + 1;
  if (end - at != 10) return std::nullopt;  // eight hex digits, a blank, the decision
  auto [afterHash, e2] = std::from_chars(at, at + 8, line.textHash, 16);
  if (e2 != std::errc{} || afterHash != at + 8 || at[8] != ' ') return std::nullopt;
  line.decision = at[9];
  if (line.kind == 'C' ? (line.decision != 'K' && line.decision != 'R') : line.decision != '-') return std::nullopt;
  return line;
}

}  // namespace

ReleaseJournal::ReleaseJournal(FileSystem& fs, std::string_view logPath, LeadBytes lead)
    : fs_(fs), path_(PathFor(logPath, lead)) {}

std::string ReleaseJournal::PathFor(std::string_view logPath, LeadBytes lead) {
  const std::size_t slash = FindLastBackslash(logPath, lead);
  const std::size_t nameAt = slash == std::string_view::npos ? 0 : slash + 1;
  const std::size_t dot = logPath.find_last_of('.');
  const std::string_view stem = dot != std::string_view::npos && dot >= nameAt ? logPath.substr(0, dot) : logPath;
  std::string path = std::string(stem) + ".JNL";
  // A log that is itself named *.JNL keeps its own name.
  if (EqualsNoCase(path, logPath)) path.back() = '_';
  return path;
}

void ReleaseJournal::Load() {
  entries_.clear();
  finish_ = Finish{};
  found_ = false;
  unreadable_ = false;
  wholeLength_ = 0;
  lengthKnown_ = true;
  endsInsideALine_ = false;
  if (!fs_.GetAttributes(path_)) return;  // no run has released anything yet
  found_ = true;
  const auto text = fs_.ReadWholeFile(path_);
  if (!text || text->size() > kMaxJournalBytes) {
    unreadable_ = true;
    return;
  }
  std::size_t at = 0;
  for (std::size_t end; (end = text->find('\n', at)) != std::string::npos; at = end + 1) {
    std::string_view whole(text->data() + at, end - at);
    if (!whole.empty() && whole.back() == '\r') whole.remove_suffix(1);
    if (whole.starts_with("D ") && whole.size() > 2) {
      finish_.directories.emplace_back(whole.substr(2));
      continue;
    }
    if (whole == "P") {
      finish_.programGoes = true;
      continue;
    }
    const auto line = ParseLine(whole);
    if (!line) continue;
    if (line->kind == 'X') {
      entries_.erase(entries_.lower_bound(line->offset), entries_.end());
      continue;
    }
    entries_.emplace(line->offset, Entry{line->kind, line->textHash, line->decision});
  }
  // What follows the last line end is a write cut short.
  wholeLength_ = at;
  endsInsideALine_ = at < text->size();
}

const ReleaseJournal::Entry* ReleaseJournal::Find(char kind, const RecordId& record) const {
  const auto [first, last] = entries_.equal_range(record.offset);
  for (auto it = first; it != last; ++it)
    if (it->second.kind == kind && it->second.textHash == record.textHash) return &it->second;
  return nullptr;
}

std::optional<SharedCount> ReleaseJournal::CountReleased(const RecordId& record) const {
  if (unreadable_) return SharedCount::Keep;
  const Entry* entry = Find('C', record);
  if (!entry) return std::nullopt;
  return entry->decision == 'R' ? SharedCount::Remove : SharedCount::Keep;
}

bool ReleaseJournal::UseCountLowered(const RecordId& record) const {
  return unreadable_ || Find('U', record);
}

bool ReleaseJournal::AppendLines(std::string lines) {
  // A cut line goes; where it cannot, the new lines start on one of their own.
  if (endsInsideALine_ && lengthKnown_ && fs_.TruncateFile(path_, wholeLength_)) endsInsideALine_ = false;
  const bool onALineOfItsOwn = endsInsideALine_;
  if (onALineOfItsOwn) lines.insert(0, "\r\n");
  if (!fs_.AppendToFile(path_, lines).ok()) {
    // Whatever part of them reached the file ends inside a line.
    endsInsideALine_ = true;
    return false;
  }
  // After a cut line that stayed, where the whole lines end is not known.
  if (onALineOfItsOwn) lengthKnown_ = false;
  wholeLength_ += lines.size();
  endsInsideALine_ = false;
  return true;
}

bool ReleaseJournal::Append(char kind, const RecordId& record, char decision) {
  if (unreadable_) return false;
  char line[48];
  const int n = std::snprintf(line, sizeof line, "%c %llu %08lX %c\r\n", kind,
                              static_cast<unsigned long long>(record.offset),
                              static_cast<unsigned long>(record.textHash), decision);
  if (n <= 0 || static_cast<std::size_t>(n) >= sizeof line) return false;
  if (!AppendLines(std::string(line, static_cast<std::size_t>(n)))) return false;
  if (kind != 'X') entries_.emplace(record.offset, Entry{kind, record.textHash, decision});
  return true;
}

bool ReleaseJournal::RememberCount(const RecordId& record, SharedCount outcome) {
  return Append('C', record, outcome == SharedCount::Remove ? 'R' : 'K');
}

bool ReleaseJournal::RememberUseCount(const RecordId& record) {
  return Append('U', record, '-');
}

void ReleaseJournal::ForgetFrom(std::uint64_t offset) {
  if (entries_.lower_bound(offset) == entries_.end()) return;
  // A journal of the cut installation alone goes with it. Otherwise, and
  // when that fails, the cut is noted; when even that cannot be written the
  // entries stay, and at worst keep a count one too high.
  if (entries_.begin()->first >= offset && Delete().ok()) {
    entries_.clear();
    return;
  }
  if (Append('X', RecordId{offset, 0}, '-')) entries_.erase(entries_.lower_bound(offset), entries_.end());
}

bool ReleaseJournal::RememberFinish(const Finish& finish) {
  std::string lines;
  for (const std::string& dir : finish.directories) lines += "D " + dir + "\r\n";
  if (finish.programGoes) lines += "P\r\n";
  if (!AppendLines(std::move(lines))) return false;
  finish_ = finish;
  return true;
}

Status ReleaseJournal::Delete() {
  if (!fs_.GetAttributes(path_)) return Status::Ok();
  return fs_.EraseFile(path_);
}

}  // namespace scrubber
