#include "RecordingFileSystem.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "PlanText.h"
#include "files/PathText.h"

namespace scrubber {

namespace {

constexpr std::uint64_t kNoLimit = std::numeric_limits<std::uint64_t>::max();
// Bounds that keep the overlay's side tables small.
constexpr std::size_t kLongNameCacheLimit = 65536;
constexpr std::size_t kDiffLimit = 4u << 20;
// Identities of entries the dry run made up: a volume no real disk reports.
constexpr std::uint32_t kMadeUpVolume = 0xFFFFFFFFu;

Status BadPath(std::string_view path) {
  return Status::Fail(path.size() >= kMaxPath ? SysError::TooLong : SysError::InvalidName);
}

std::string Join(const std::string& dir, std::string_view name) {
  std::string out = dir;
  if (out.empty() || out.back() != '\\') out += '\\';
  out += name;
  return out;
}

}  // namespace

struct OverlayContent {
  enum class Kind { Real, Stored, Unknown } kind = Kind::Real;
  std::string realPath;          // Real: the file in the real file system
  std::uint64_t limit = kNoLimit;  // Real: cut to this many bytes
  std::string bytes;             // Stored
};

struct RecordingFileSystem::Node {
  Kind kind = Kind::Missing;
  bool existedBefore = false;  // the real file system has the entry
  bool deletedHere = false;    // deleted by this run; `former` holds what it was
  std::uint32_t attributes = 0;
  OverlayContent content;
  OverlayContent former;
  std::optional<FileIdentity> identity;
  std::string realPath;
  std::string name;  // long name, for enumerations
};

struct RecordingFileSystem::Resolved {
  std::string original;
  std::string real;       // normalised, in the caller's spelling
  std::string key;        // long names, upper case
  std::string parentReal;
  std::string parentKey;
  std::string name;       // long name of the last component
  std::vector<std::string> ancestorKeys;  // below the root, outermost first, without the entry itself
  bool isRoot = false;
};

// Stored bytes are charged against the budget wherever they sit.
namespace {
std::uint64_t Charge(const OverlayContent& c) { return c.kind == OverlayContent::Kind::Stored ? c.bytes.size() : 0; }
}  // namespace

class RecordingFileSystem::Writer final : public FileWriter {
 public:
  Writer(RecordingFileSystem& fs, std::string key, std::size_t step) : fs_(fs), key_(std::move(key)), step_(step) {}
  std::optional<std::size_t> Write(std::span<const char> bytes) override {
    auto it = fs_.nodes_.find(key_);
    if (it == fs_.nodes_.end() || it->second->kind != Kind::File) return std::nullopt;
    fs_.AppendStored(*it->second, std::string_view(bytes.data(), bytes.size()));
    if (PlanStep* step = fs_.log_.At(step_))
      if (PlanField* size = step->Field("size")) *size->number += bytes.size();
    return bytes.size();
  }

 private:
  RecordingFileSystem& fs_;
  std::string key_;
  std::size_t step_;
};

namespace {

class MemoryReader final : public FileReader {
 public:
  explicit MemoryReader(std::string bytes) : bytes_(std::move(bytes)) {}
  std::optional<std::size_t> Read(std::span<char> buffer) override {
    const std::size_t n = std::min(buffer.size(), bytes_.size() - pos_);
    if (n > 0) std::memcpy(buffer.data(), bytes_.data() + pos_, n);
    pos_ += n;
    return n;
  }
  bool Seek(std::uint64_t offset) override {
    pos_ = static_cast<std::size_t>(std::min<std::uint64_t>(offset, bytes_.size()));
    return true;
  }

 private:
  std::string bytes_;
  std::size_t pos_ = 0;
};

// A real file seen only up to a cut (a truncation recorded by this run).
class LimitedReader final : public FileReader {
 public:
  LimitedReader(std::unique_ptr<FileReader> inner, std::uint64_t limit) : inner_(std::move(inner)), limit_(limit) {}
  std::optional<std::size_t> Read(std::span<char> buffer) override {
    if (pos_ >= limit_) return 0;
    const std::uint64_t room = limit_ - pos_;
    if (buffer.size() > room) buffer = buffer.first(static_cast<std::size_t>(room));
    auto n = inner_->Read(buffer);
    if (n) pos_ += *n;
    return n;
  }
  bool Seek(std::uint64_t offset) override {
    if (!inner_->Seek(offset)) return false;
    pos_ = offset;
    return true;
  }

 private:
  std::unique_ptr<FileReader> inner_;
  std::uint64_t limit_;
  std::uint64_t pos_ = 0;
};

}  // namespace

class RecordingFileSystem::MergedScan final : public DirScan {
 public:
  MergedScan(std::unique_ptr<DirScan> real, RecordingFileSystem& fs, std::string prefix, std::vector<DirEntry> extra)
      : real_(std::move(real)), fs_(fs), prefix_(std::move(prefix)), extra_(std::move(extra)) {}

  // Looks for the first entry, which the interface promises is waiting.
  bool Prime() {
    DirEntry first;
    if (!Advance(first)) return false;
    pending_ = std::move(first);
    return true;
  }
  bool Next(DirEntry& entry) override {
    if (pending_) {
      entry = std::move(*pending_);
      pending_.reset();
      return true;
    }
    return Advance(entry);
  }

 private:
  bool Advance(DirEntry& entry) {
    while (real_ && real_->Next(entry)) {
      auto it = fs_.nodes_.find(prefix_ + FoldKey(entry.name));
      if (it == fs_.nodes_.end()) return true;
      if (it->second->kind == Kind::Missing) continue;
      entry.attributes = it->second->attributes;
      return true;
    }
    if (next_ < extra_.size()) {
      entry = extra_[next_++];
      return true;
    }
    return false;
  }

  std::unique_ptr<DirScan> real_;
  RecordingFileSystem& fs_;
  std::string prefix_;
  std::vector<DirEntry> extra_;
  std::size_t next_ = 0;
  std::optional<DirEntry> pending_;
};

RecordingFileSystem::RecordingFileSystem(FileSystem& real, PlanLog& log, std::uint64_t storedBytesBudget)
    : real_(real), log_(log), budget_(storedBytesBudget), cwd_(real.CurrentDirectory()), lead_(real.CodePageLeadBytes()) {}

RecordingFileSystem::~RecordingFileSystem() = default;

std::string RecordingFileSystem::LongName(const std::string& realPrefix, const std::string& part) {
  if (HasWildcard(part)) return part;
  const std::string cacheKey = FoldKey(realPrefix);
  if (auto it = longNames_.find(cacheKey); it != longNames_.end()) return it->second.empty() ? part : it->second;
  std::string found;
  if (auto scan = real_.FindFirst(realPrefix)) {
    DirEntry entry;
    if (scan->Next(entry) && entry.name != "." && entry.name != "..") found = entry.name;
  }
  if (longNames_.size() >= kLongNameCacheLimit) longNames_.clear();
  longNames_.emplace(cacheKey, found);
  return found.empty() ? part : found;
}

std::optional<RecordingFileSystem::Resolved> RecordingFileSystem::Resolve(std::string_view path) {
  auto full = SplitFullPath(path, cwd_, lead_);
  if (!full) return std::nullopt;
  Resolved r;
  r.original = std::string(path);
  r.real = full->Text();
  r.isRoot = full->parts.empty();
  FullPath realPrefix{full->root, {}};
  FullPath longPath{full->root, {}};
  for (std::size_t i = 0; i < full->parts.size(); ++i) {
    realPrefix.parts.push_back(full->parts[i]);
    if (i > 0) r.ancestorKeys.push_back(FoldKey(longPath.Text()));
    longPath.parts.push_back(LongName(realPrefix.Text(), full->parts[i]));
  }
  r.key = FoldKey(longPath.Text());
  if (!r.isRoot) {
    r.name = longPath.parts.back();
    longPath.parts.pop_back();
    r.parentKey = FoldKey(longPath.Text());
    realPrefix.parts.pop_back();
    r.parentReal = realPrefix.Text();
  }
  return r;
}

std::string RecordingFileSystem::KeyOf(std::string_view path) {
  auto r = Resolve(path);
  return r ? r->key : std::string();
}

RecordingFileSystem::View RecordingFileSystem::ViewOf(const Resolved& r) {
  if (auto it = nodes_.find(r.key); it != nodes_.end())
    return View{it->second->kind, it->second->attributes, it->second.get()};
  for (const std::string& ancestor : r.ancestorKeys) {
    auto it = nodes_.find(ancestor);
    if (it != nodes_.end() && it->second->kind != Kind::Dir) return View{};
  }
  auto attributes = real_.GetAttributes(r.real);
  if (!attributes) return View{};
  return View{(*attributes & kAttrDirectory) ? Kind::Dir : Kind::File, *attributes, nullptr};
}

RecordingFileSystem::View RecordingFileSystem::ParentView(const Resolved& r) {
  if (r.isRoot) return View{};
  Resolved parent;
  parent.real = r.parentReal;
  parent.key = r.parentKey;
  parent.isRoot = r.ancestorKeys.empty();
  if (!parent.isRoot) parent.ancestorKeys.assign(r.ancestorKeys.begin(), r.ancestorKeys.end() - 1);
  return ViewOf(parent);
}

RecordingFileSystem::Node& RecordingFileSystem::MutableNode(const Resolved& r) {
  if (auto it = nodes_.find(r.key); it != nodes_.end()) return *it->second;
  const View view = ViewOf(r);
  auto node = std::make_unique<Node>();
  node->kind = view.kind;
  node->attributes = view.attributes;
  node->existedBefore = real_.GetAttributes(r.real).has_value();
  node->realPath = r.real;
  node->name = r.name;
  node->content.realPath = r.real;
  if (!node->existedBefore) node->identity = NewIdentity();
  return *nodes_.emplace(r.key, std::move(node)).first->second;
}

FileIdentity RecordingFileSystem::NewIdentity() { return FileIdentity{kMadeUpVolume, nextIndex_++}; }

std::size_t RecordingFileSystem::Record(PlanOp op, const Resolved& r, bool minor) {
  PlanStep step;
  step.op = op;
  step.target = r.original;
  step.key = r.key;
  step.minor = minor;
  return log_.Add(std::move(step));
}

void RecordingFileSystem::SetStored(Node& node, std::string bytes) {
  stored_ -= Charge(node.content);
  node.content = OverlayContent{};
  if (stored_ + bytes.size() > budget_) {
    node.content.kind = OverlayContent::Kind::Unknown;
    return;
  }
  node.content.kind = OverlayContent::Kind::Stored;
  node.content.bytes = std::move(bytes);
  stored_ += node.content.bytes.size();
}

void RecordingFileSystem::AppendStored(Node& node, std::string_view bytes) {
  if (node.content.kind != OverlayContent::Kind::Stored) return;  // forgotten already
  if (stored_ + bytes.size() > budget_) {
    ForgetContent(node);
    return;
  }
  node.content.bytes.append(bytes);
  stored_ += bytes.size();
}

void RecordingFileSystem::ForgetContent(Node& node) {
  stored_ -= Charge(node.content);
  node.content = OverlayContent{};
  node.content.kind = OverlayContent::Kind::Unknown;
}

std::optional<std::string> RecordingFileSystem::ContentOf(const Node& node) {
  switch (node.content.kind) {
    case OverlayContent::Kind::Stored:
      return node.content.bytes;
    case OverlayContent::Kind::Unknown:
      return std::nullopt;
    case OverlayContent::Kind::Real:
      break;
  }
  auto bytes = real_.ReadWholeFile(node.content.realPath);
  if (bytes && bytes->size() > node.content.limit) bytes->resize(static_cast<std::size_t>(node.content.limit));
  return bytes;
}

std::unique_ptr<FileReader> RecordingFileSystem::ReaderOf(const Node& node) {
  switch (node.content.kind) {
    case OverlayContent::Kind::Stored:
      return std::make_unique<MemoryReader>(node.content.bytes);
    case OverlayContent::Kind::Unknown:
      return nullptr;
    case OverlayContent::Kind::Real:
      break;
  }
  auto reader = real_.OpenForReading(node.content.realPath);
  if (!reader || node.content.limit == kNoLimit) return reader;
  return std::make_unique<LimitedReader>(std::move(reader), node.content.limit);
}

bool RecordingFileSystem::DirIsEmpty(const Resolved& r) {
  auto scan = FindFirst(Join(r.real, "*.*"));
  DirEntry entry;
  while (scan && scan->Next(entry))
    if (entry.name != "." && entry.name != "..") return false;
  return true;
}

Status RecordingFileSystem::CheckWritableFile(const Resolved& r) {
  if (r.isRoot || ParentView(r).kind != Kind::Dir) return Status::Fail(SysError::PathNotFound);
  const View view = ViewOf(r);
  if (view.kind == Kind::Dir) return Status::Fail(SysError::AccessDenied);
  if (view.kind == Kind::File && (view.attributes & kAttrReadOnly)) return Status::Fail(SysError::AccessDenied);
  return Status::Ok();
}

// ---- FileSystem ------------------------------------------------------------

std::optional<std::uint32_t> RecordingFileSystem::GetAttributes(std::string_view path) {
  auto r = Resolve(path);
  if (!r) return std::nullopt;
  const View view = ViewOf(*r);
  if (view.kind == Kind::Missing) return std::nullopt;
  return view.attributes;
}

Status RecordingFileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
  auto r = Resolve(path);
  if (!r) return BadPath(path);
  const View view = ViewOf(*r);
  if (view.kind == Kind::Missing) return Status::Fail(SysError::NotFound);
  // The platform keeps the directory and link bits and drops "normal" when
  // anything else is set.
  std::uint32_t result = view.attributes & (kAttrDirectory | kAttrReparsePoint);
  std::uint32_t set = attributes & ~(kAttrDirectory | kAttrReparsePoint);
  if (set != kAttrNormal) set &= ~kAttrNormal;
  result |= set;
  if (result == 0) result = kAttrNormal;
  if (view.kind == Kind::Dir) result &= ~kAttrNormal;
  if (result == view.attributes) return Status::Ok();  // nothing would change
  const std::size_t step = Record(PlanOp::SetAttributes, *r, true);
  if (PlanStep* s = log_.At(step)) s->WithNumber("attributes", attributes);
  MutableNode(*r).attributes = result;
  return Status::Ok();
}

std::unique_ptr<DirScan> RecordingFileSystem::FindFirst(std::string_view pattern) {
  auto full = SplitFullPath(pattern, cwd_, lead_);
  if (!full || full->parts.empty()) return nullptr;
  const std::string name = full->parts.back();
  full->parts.pop_back();
  auto dir = Resolve(full->Text());
  if (!dir) return nullptr;
  Node* dirNode = nullptr;
  if (!dir->isRoot) {
    const View view = ViewOf(*dir);
    if (view.kind != Kind::Dir) return nullptr;
    dirNode = view.node;
  }
  const bool madeHere = dirNode != nullptr && !dirNode->existedBefore;
  std::unique_ptr<DirScan> real;
  if (!madeHere) real = real_.FindFirst(Join(dir->real, name));

  const std::string prefix = dir->key.back() == '\\' ? dir->key : dir->key + "\\";
  std::vector<DirEntry> extra;
  if (madeHere && (name == "*" || name == "*.*")) {
    extra.push_back(DirEntry{".", "", kAttrDirectory});
    extra.push_back(DirEntry{"..", "", kAttrDirectory});
  }
  for (auto it = nodes_.lower_bound(prefix); it != nodes_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
    const Node& node = *it->second;
    if (it->first.find('\\', prefix.size()) != std::string::npos) continue;
    if (node.kind == Kind::Missing || node.existedBefore || !NameMatches(name, node.name)) continue;
    extra.push_back(DirEntry{node.name, "", node.attributes});
  }
  auto scan = std::make_unique<MergedScan>(std::move(real), *this, prefix, std::move(extra));
  if (!scan->Prime()) return nullptr;
  return scan;
}

Status RecordingFileSystem::EraseFile(std::string_view path) {
  auto r = Resolve(path);
  if (!r) return BadPath(path);
  const View view = ViewOf(*r);
  if (view.kind == Kind::Missing) return Status::Fail(SysError::NotFound);
  if (view.kind == Kind::Dir || (view.attributes & kAttrReadOnly)) return Status::Fail(SysError::AccessDenied);
  Record(PlanOp::DeleteFile, *r);
  Node& node = MutableNode(*r);
  stored_ -= Charge(node.former);
  node.former = std::move(node.content);
  node.content = OverlayContent{};
  node.kind = Kind::Missing;
  node.deletedHere = true;
  return Status::Ok();
}

Status RecordingFileSystem::MakeDir(std::string_view path) {
  auto r = Resolve(path);
  if (!r) return BadPath(path);
  if (r->isRoot || ViewOf(*r).kind != Kind::Missing) return Status::Fail(SysError::AlreadyExists);
  if (ParentView(*r).kind != Kind::Dir) return Status::Fail(SysError::PathNotFound);
  Record(PlanOp::MakeDir, *r);
  Node& node = MutableNode(*r);
  node.kind = Kind::Dir;
  node.attributes = kAttrDirectory;
  node.deletedHere = false;
  if (node.existedBefore) node.identity = NewIdentity();
  return Status::Ok();
}

Status RecordingFileSystem::RemoveDir(std::string_view path) {
  auto r = Resolve(path);
  if (!r) return BadPath(path);
  if (r->isRoot) return Status::Fail(SysError::AccessDenied);
  const View view = ViewOf(*r);
  if (view.kind == Kind::Missing) return Status::Fail(SysError::NotFound);
  if (view.kind == Kind::File) return Status::Fail(SysError::InvalidName);
  // The process's current directory cannot be removed while it is current.
  if (KeyOf(cwd_) == r->key) return Status::Fail(SysError::SharingViolation);
  // A link goes without looking at what it leads to.
  if (!(view.attributes & kAttrReparsePoint) && !DirIsEmpty(*r)) return Status::Fail(SysError::DirNotEmpty);
  Record(PlanOp::RemoveDir, *r);
  Node& node = MutableNode(*r);
  node.kind = Kind::Missing;
  node.deletedHere = true;
  return Status::Ok();
}

Status RecordingFileSystem::CopyOver(std::string_view from, std::string_view to) {
  auto rf = Resolve(from);
  auto rt = Resolve(to);
  if (!rf) return BadPath(from);
  if (!rt) return BadPath(to);
  const View source = ViewOf(*rf);
  if (source.kind == Kind::Missing) return Status::Fail(SysError::NotFound);
  if (source.kind == Kind::Dir) return Status::Fail(SysError::AccessDenied);
  if (Status ok = CheckWritableFile(*rt); !ok) return ok;
  const std::size_t step = Record(PlanOp::CopyFile, *rt);
  if (PlanStep* s = log_.At(step)) {
    s->With("from", std::string(from));
    s->otherKey = rf->key;
  }
  OverlayContent copy;
  if (source.node) {
    copy = source.node->content;
    if (copy.kind == OverlayContent::Kind::Stored && stored_ + copy.bytes.size() > budget_) {
      copy = OverlayContent{};
      copy.kind = OverlayContent::Kind::Unknown;
    } else {
      stored_ += Charge(copy);
    }
  } else {
    copy.realPath = rf->real;
  }
  Node& node = MutableNode(*rt);
  stored_ -= Charge(node.content) + Charge(node.former);
  node.content = std::move(copy);
  node.former = OverlayContent{};
  node.kind = Kind::File;
  node.attributes = source.attributes;
  node.deletedHere = false;
  if (!node.identity && !node.existedBefore) node.identity = NewIdentity();
  return Status::Ok();
}

Status RecordingFileSystem::MoveFileAtRestart(std::string_view from, std::string_view to, bool replaceExisting) {
  auto rf = Resolve(from);
  if (!rf) return BadPath(from);
  if (to.empty()) {
    Record(PlanOp::DeleteAtRestart, *rf);
    return Status::Ok();
  }
  auto rt = Resolve(to);
  if (!rt) return BadPath(to);
  // Nothing changes before the restart, so the view stays as it is.
  const std::size_t step = Record(PlanOp::ReplaceAtRestart, *rt);
  if (PlanStep* s = log_.At(step)) {
    s->With("from", std::string(from));
    s->otherKey = rf->key;
    if (!replaceExisting) s->With("replaceExisting", "no");
  }
  return Status::Ok();
}

std::optional<std::string> RecordingFileSystem::ReadWholeFile(std::string_view path) {
  auto r = Resolve(path);
  if (!r) return std::nullopt;
  const View view = ViewOf(*r);
  if (view.kind != Kind::File) return std::nullopt;
  if (view.node) return ContentOf(*view.node);
  return real_.ReadWholeFile(r->real);
}

Status RecordingFileSystem::WriteWholeFile(std::string_view path, std::string_view bytes) {
  auto r = Resolve(path);
  if (!r) return BadPath(path);
  if (Status ok = CheckWritableFile(*r); !ok) return ok;
  const bool createsNew = ViewOf(*r).kind == Kind::Missing;
  const std::size_t step = Record(PlanOp::WriteFile, *r);
  if (PlanStep* s = log_.At(step)) {
    s->WithNumber("size", bytes.size());
    s->createsNew = createsNew;
  }
  return PutContent(path, bytes);
}

Status RecordingFileSystem::PutContent(std::string_view path, std::string_view bytes) {
  auto r = Resolve(path);
  if (!r) return BadPath(path);
  if (Status ok = CheckWritableFile(*r); !ok) return ok;
  Node& node = MutableNode(*r);
  if (node.kind != Kind::File) {
    node.kind = Kind::File;
    node.attributes = kAttrArchive;
    if (node.existedBefore) node.identity = NewIdentity();
  }
  stored_ -= Charge(node.former);
  node.former = OverlayContent{};
  node.deletedHere = false;
  SetStored(node, std::string(bytes));
  return Status::Ok();
}

std::unique_ptr<FileReader> RecordingFileSystem::OpenForReading(std::string_view path) {
  auto r = Resolve(path);
  if (!r) return nullptr;
  const View view = ViewOf(*r);
  if (view.kind != Kind::File) return nullptr;
  if (view.node) return ReaderOf(*view.node);
  return real_.OpenForReading(r->real);
}

std::unique_ptr<FileWriter> RecordingFileSystem::CreateForWriting(std::string_view path) {
  auto r = Resolve(path);
  if (!r || !CheckWritableFile(*r)) return nullptr;
  const bool createsNew = ViewOf(*r).kind == Kind::Missing;
  const std::size_t step = Record(PlanOp::WriteFile, *r);
  if (PlanStep* s = log_.At(step)) {
    s->WithNumber("size", 0);
    s->createsNew = createsNew;
  }
  if (!PutContent(path, {})) return nullptr;
  return std::make_unique<Writer>(*this, r->key, step);
}

Status RecordingFileSystem::AppendToFile(std::string_view path, std::string_view bytes) {
  auto r = Resolve(path);
  if (!r) return BadPath(path);
  if (Status ok = CheckWritableFile(*r); !ok) return ok;
  std::string content;
  if (const View view = ViewOf(*r); view.kind == Kind::File) {
    auto before = view.node ? ContentOf(*view.node) : real_.ReadWholeFile(r->real);
    if (!before) return Status::Fail(SysError::Other);
    content = std::move(*before);
  }
  const std::size_t step = Record(PlanOp::AppendFile, *r);
  if (PlanStep* s = log_.At(step)) s->WithNumber("size", bytes.size());
  content += bytes;
  return PutContent(path, content);
}

Status RecordingFileSystem::TruncateFile(std::string_view path, std::uint64_t size) {
  auto r = Resolve(path);
  if (!r) return BadPath(path);
  const View view = ViewOf(*r);
  if (view.kind == Kind::Missing) return Status::Fail(SysError::NotFound);
  if (view.kind == Kind::Dir || (view.attributes & kAttrReadOnly)) return Status::Fail(SysError::AccessDenied);
  const std::size_t step = Record(PlanOp::TruncateFile, *r);
  if (PlanStep* s = log_.At(step)) s->WithNumber("size", size);
  Node& node = MutableNode(*r);
  OverlayContent& c = node.content;
  if (c.kind == OverlayContent::Kind::Real) {
    if (size <= c.limit) {
      c.limit = size;
    } else if (auto bytes = ContentOf(node)) {
      // Growing: the platform pads with zeros.
      bytes->resize(static_cast<std::size_t>(size), '\0');
      SetStored(node, std::move(*bytes));
    } else {
      ForgetContent(node);
    }
  } else if (c.kind == OverlayContent::Kind::Stored) {
    if (size <= c.bytes.size()) {
      stored_ -= c.bytes.size() - size;
      c.bytes.resize(static_cast<std::size_t>(size));
    } else {
      std::string bytes = std::move(c.bytes);
      stored_ -= bytes.size();
      c.bytes.clear();
      if (stored_ + size > budget_) {
        ForgetContent(node);
      } else {
        bytes.resize(static_cast<std::size_t>(size), '\0');
        SetStored(node, std::move(bytes));
      }
    }
  }
  return Status::Ok();
}

Status RecordingFileSystem::RenameFile(std::string_view from, std::string_view to) {
  auto rf = Resolve(from);
  auto rt = Resolve(to);
  if (!rf) return BadPath(from);
  if (!rt) return BadPath(to);
  const View source = ViewOf(*rf);
  if (source.kind == Kind::Missing) return Status::Fail(SysError::NotFound);
  // Moving whole directories is not modelled; the engine renames files only.
  if (source.kind == Kind::Dir) return Status::Fail(SysError::AccessDenied);
  if (rf->key == rt->key) return Status::Ok();
  if (ViewOf(*rt).kind != Kind::Missing) return Status::Fail(SysError::AlreadyExists);
  if (ParentView(*rt).kind != Kind::Dir) return Status::Fail(SysError::PathNotFound);

  Node& src = MutableNode(*rf);
  if (!src.identity) src.identity = real_.IdentityOf(src.realPath);
  Node& dst = MutableNode(*rt);
  PlanStep step;
  step.op = PlanOp::RenameFile;
  step.target = std::string(to);
  step.key = rt->key;
  step.otherKey = rf->key;
  step.With("from", std::string(from));
  if (dst.deletedHere) {
    // A file put in place of one deleted earlier: say what changed in it.
    step.replacesDeleted = true;
    Node before;
    before.content = dst.former;
    auto oldText = ContentOf(before);
    auto newText = ContentOf(src);
    if (oldText && newText && oldText->size() <= kDiffLimit && newText->size() <= kDiffLimit) {
      if (auto lines = CommentedOutLines(*oldText, *newText)) {
        step.onlyCommentedOut = true;
        step.commentedOut = std::move(*lines);
      }
    }
  }
  log_.Add(std::move(step));

  stored_ -= Charge(dst.content) + Charge(dst.former);
  dst.content = std::move(src.content);
  dst.former = OverlayContent{};
  dst.kind = Kind::File;
  dst.attributes = src.attributes;
  dst.identity = src.identity;
  dst.deletedHere = false;
  src.content = OverlayContent{};
  src.kind = Kind::Missing;
  src.deletedHere = false;
  return Status::Ok();
}

std::optional<FileIdentity> RecordingFileSystem::IdentityOf(std::string_view path) {
  auto r = Resolve(path);
  if (!r) return std::nullopt;
  const View view = ViewOf(*r);
  if (view.kind == Kind::Missing) return std::nullopt;
  if (!view.node) return real_.IdentityOf(r->real);
  if (!view.node->identity) view.node->identity = real_.IdentityOf(view.node->realPath);
  return view.node->identity;
}

std::string RecordingFileSystem::WindowsDirectory() { return real_.WindowsDirectory(); }
std::string RecordingFileSystem::SystemDirectory() { return real_.SystemDirectory(); }
std::string RecordingFileSystem::CurrentDirectory() { return cwd_; }

Status RecordingFileSystem::ChangeCurrentDirectory(std::string_view path) {
  // Kept here only: the process's own directory stays where it is.
  auto r = Resolve(path);
  if (!r) return BadPath(path);
  if (!r->isRoot && ViewOf(*r).kind != Kind::Dir) return Status::Fail(SysError::PathNotFound);
  cwd_ = r->real;
  return Status::Ok();
}

std::string RecordingFileSystem::TempDirectory() { return real_.TempDirectory(); }
DriveType RecordingFileSystem::DriveTypeOf(std::string_view root) { return real_.DriveTypeOf(root); }
LeadBytes RecordingFileSystem::CodePageLeadBytes() { return lead_; }

bool RecordingFileSystem::Touched(std::string_view path) {
  auto r = Resolve(path);
  if (!r) return false;
  if (nodes_.count(r->key)) return true;
  for (const std::string& ancestor : r->ancestorKeys) {
    auto it = nodes_.find(ancestor);
    if (it != nodes_.end() && it->second->kind != Kind::Dir) return true;
  }
  return false;
}

}  // namespace scrubber
