#include "FakeFileSystem.h"

#include <algorithm>

#include "ShortNames.h"
#include "Wildcard.h"
#include "files/PathText.h"

namespace scrubber {
namespace {

// File indexes are unique within the process, so that no two entries of any
// fake share an identity.
std::uint64_t NextFileIndex() {
  static std::uint64_t next = 0x10000;
  return ++next;
}

}  // namespace

struct FakeFileSystem::Node {
  std::string name;
  std::string shortName;
  std::uint32_t attributes = 0;  // kAttrNormal is never stored
  std::string content;
  std::string linkTarget;  // full path; set for links only
  int openCount = 0;
  Node* parent = nullptr;
  std::uint64_t fileIndex = NextFileIndex();
  std::vector<std::unique_ptr<Node>> children;  // kept in upper-case name order

  bool isDir() const { return (attributes & kAttrDirectory) != 0; }
  bool isLink() const { return !linkTarget.empty(); }

  Node* Child(std::string_view wanted) const {
    for (const auto& child : children) {
      if (EqualsNoCase(child->name, wanted) || (!child->shortName.empty() && EqualsNoCase(child->shortName, wanted))) {
        return child.get();
      }
    }
    return nullptr;
  }

  std::uint32_t ReportedAttributes() const {
    return (attributes == 0 && !isDir()) ? static_cast<std::uint32_t>(kAttrNormal) : attributes;
  }

  DirEntry Entry() const { return {name, shortName, ReportedAttributes()}; }

  Node* Adopt(std::unique_ptr<Node> node) {
    for (unsigned ordinal = 1; node->shortName.empty() && !IsShortName(node->name); ++ordinal) {
      std::string candidate = MakeShortName(node->name, ordinal);
      if (!Child(candidate)) node->shortName = candidate;
    }
    node->parent = this;
    std::string key = Upper(node->name);
    auto at = std::find_if(children.begin(), children.end(), [&](const auto& c) { return Upper(c->name) > key; });
    return children.insert(at, std::move(node))->get();
  }

  void Drop(Node* child) {
    std::erase_if(children, [child](const auto& c) { return c.get() == child; });
  }

  std::unique_ptr<Node> Detach(Node* child) {
    for (auto it = children.begin(); it != children.end(); ++it) {
      if (it->get() == child) {
        std::unique_ptr<Node> taken = std::move(*it);
        children.erase(it);
        taken->parent = nullptr;
        return taken;
      }
    }
    return nullptr;
  }

  const Node* Root() const {
    const Node* n = this;
    while (n->parent) n = n->parent;
    return n;
  }

  static std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = AsciiUpper(c);
    return out;
  }
};

struct FakeFileSystem::Found {
  Node* node = nullptr;    // the entry itself; nullptr when it does not exist
  Node* parent = nullptr;  // the directory that holds (or would hold) it
  std::string leaf;        // its name as the path spells it
  std::string fullPath;
  SysError error = SysError::None;  // set when the parent cannot be reached
};

namespace {

class FakeDirScan : public DirScan {
 public:
  FakeDirScan(std::vector<DirEntry> entries, FaultTable& faults) : entries_(std::move(entries)), faults_(faults) {}
  bool Next(DirEntry& entry) override {
    if (next_ > 0 && faults_.Check("FindNext")) return false;
    if (next_ >= entries_.size()) return false;
    entry = entries_[next_++];
    return true;
  }

 private:
  std::vector<DirEntry> entries_;
  FaultTable& faults_;
  std::size_t next_ = 0;
};

class FakeReader : public FileReader {
 public:
  FakeReader(std::string content, FaultTable& faults) : content_(std::move(content)), faults_(faults) {}
  std::optional<std::size_t> Read(std::span<char> buffer) override {
    if (faults_.Check("Read")) return std::nullopt;
    std::size_t n = std::min(buffer.size(), content_.size() - pos_);
    std::copy_n(content_.data() + pos_, n, buffer.data());
    pos_ += n;
    return n;
  }
  bool Seek(std::uint64_t offset) override {
    if (faults_.Check("Seek")) return false;
    // As SetFilePointerEx: a place past the end is allowed; reads there get 0.
    pos_ = static_cast<std::size_t>(std::min<std::uint64_t>(offset, content_.size()));
    return true;
  }

 private:
  std::string content_;
  FaultTable& faults_;
  std::size_t pos_ = 0;
};

class FakeWriter : public FileWriter {
 public:
  FakeWriter(FakeFileSystem& fs, FakeFileSystem::Node* node, FaultTable& faults)
      : fs_(fs), node_(node), faults_(faults) {
    ++node_->openCount;
  }
  ~FakeWriter() override { --node_->openCount; }
  std::optional<std::size_t> Write(std::span<const char> bytes) override {
    if (faults_.Check("Write")) return std::nullopt;
    std::size_t n = bytes.size();
    if (auto space = fs_.FreeSpace()) {
      n = static_cast<std::size_t>(std::min<std::uint64_t>(n, *space));
      fs_.SetFreeSpace(*space - n);
    }
    std::string& content = node_->content;
    if (content.size() < pos_ + n) content.resize(pos_ + n);
    std::copy_n(bytes.data(), n, content.data() + pos_);
    pos_ += n;
    return n;
  }

 private:
  FakeFileSystem& fs_;
  FakeFileSystem::Node* node_;
  FaultTable& faults_;
  std::size_t pos_ = 0;
};

// A volume serial number made from the root's name, the same every run.
std::uint32_t VolumeSerialOf(std::string_view root) {
  std::uint32_t hash = 2166136261u;
  for (char c : root) hash = (hash ^ static_cast<unsigned char>(AsciiUpper(c))) * 16777619u;
  return hash;
}

bool IsValidName(std::string_view name) {
  return !name.empty() && name.find_first_of("<>:\"/\\|?*") == std::string_view::npos;
}

constexpr int kMaxLinkDepth = 8;

}  // namespace

FakeFileSystem::FakeFileSystem()
    : faults_({"GetAttributes", "SetAttributes", "FindFirst", "FindNext", "EraseFile", "MakeDir", "RemoveDir",
               "CopyOver", "MoveFileAtRestart", "ReadWholeFile", "WriteWholeFile", "OpenForReading", "Read",
               "WindowsDirectory", "SystemDirectory", "CurrentDirectory", "TempDirectory", "DriveTypeOf",
               "CreateForWriting", "Write", "TruncateFile", "RenameFile", "IdentityOf", "ChangeCurrentDirectory",
               "Seek", "AppendToFile"}) {
  AddDrive('C', DriveType::Fixed);
  AddDir(windowsDir_);
  AddDir(systemDir_);
  AddDir(tempDir_);
}

FakeFileSystem::~FakeFileSystem() = default;

FakeFileSystem::Found FakeFileSystem::Locate(std::string_view path, bool followLastLink) {
  Found found;
  if (path.size() >= kMaxPath) {
    found.error = SysError::TooLong;
    return found;
  }
  auto full = SplitFullPath(path, currentDir_, lead_);
  if (!full) {
    found.error = SysError::InvalidName;
    return found;
  }
  found.fullPath = full->Text();
  auto root = roots_.find(Node::Upper(full->root));
  if (root == roots_.end()) {
    found.error = SysError::PathNotFound;
    return found;
  }
  Node* dir = root->second.get();
  if (full->parts.empty()) {
    found.node = dir;
    return found;
  }
  for (std::size_t i = 0; i < full->parts.size(); ++i) {
    for (int depth = 0; dir && dir->isLink(); ++depth) {
      dir = depth < kMaxLinkDepth ? Locate(dir->linkTarget, false).node : nullptr;
    }
    if (!dir || !dir->isDir()) {
      found.error = SysError::PathNotFound;
      return found;
    }
    Node* child = dir->Child(full->parts[i]);
    if (i + 1 == full->parts.size()) {
      found.parent = dir;
      found.leaf = full->parts[i];
      found.node = child;
    }
    dir = child;
  }
  for (int depth = 0; followLastLink && found.node && found.node->isLink(); ++depth) {
    found.node = depth < kMaxLinkDepth ? Locate(found.node->linkTarget, false).node : nullptr;
  }
  return found;
}

FakeFileSystem::Node* FakeFileSystem::MakeDirs(std::string_view path) {
  auto full = SplitFullPath(path, currentDir_, lead_);
  if (!full) return nullptr;
  return MakeDirs(*full);
}

FakeFileSystem::Node* FakeFileSystem::MakeDirs(const FullPath& full) {
  auto& root = roots_[Node::Upper(full.root)];
  if (!root) {
    root = std::make_unique<Node>();
    root->name = full.root;
    root->attributes = kAttrDirectory;
  }
  Node* dir = root.get();
  for (const auto& part : full.parts) {
    for (int depth = 0; dir && dir->isLink(); ++depth) {
      dir = depth < kMaxLinkDepth ? Locate(dir->linkTarget, false).node : nullptr;
    }
    if (!dir || !dir->isDir()) return nullptr;
    Node* child = dir->Child(part);
    if (!child) {
      auto node = std::make_unique<Node>();
      node->name = part;
      node->attributes = kAttrDirectory;
      child = dir->Adopt(std::move(node));
    }
    dir = child;
  }
  return dir;
}

std::optional<std::uint32_t> FakeFileSystem::GetAttributes(std::string_view path) {
  if (Fault("GetAttributes")) return std::nullopt;
  Found f = Locate(path, false);
  if (!f.node) return std::nullopt;
  return f.node->ReportedAttributes();
}

Status FakeFileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
  if (auto e = Fault("SetAttributes")) return Status::Fail(*e);
  Found f = Locate(path, true);
  if (f.error != SysError::None) return Status::Fail(f.error);
  if (!f.node) return Status::Fail(SysError::NotFound);
  std::uint32_t kept = f.node->attributes & (kAttrDirectory | kAttrReparsePoint);
  std::uint32_t settable = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;
  f.node->attributes = kept | (attributes & settable);
  return Status::Ok();
}

std::unique_ptr<DirScan> FakeFileSystem::FindFirst(std::string_view pattern) {
  if (Fault("FindFirst")) return nullptr;
  if (pattern.empty() || pattern.size() >= kMaxPath) return nullptr;
  std::size_t cut = FindLastBackslash(pattern, lead_);
  std::size_t slash = pattern.rfind('/');
  if (slash != std::string_view::npos && (cut == std::string_view::npos || slash > cut)) cut = slash;
  std::string dirPart;
  std::string_view namePattern;
  if (cut != std::string_view::npos) {
    dirPart = cut == 0 ? "\\" : std::string(pattern.substr(0, cut));
    if (cut == 2 && pattern[1] == ':') dirPart += '\\';
    namePattern = pattern.substr(cut + 1);
  } else if (pattern.size() >= 2 && pattern[1] == ':') {
    dirPart = pattern.substr(0, 2);
    namePattern = pattern.substr(2);
  } else {
    dirPart = ".";
    namePattern = pattern;
  }
  if (namePattern.empty()) return nullptr;
  // The directory part is a component on the way, as the platform resolves
  // the whole pattern: it keeps trailing blanks (C:\APP\ \*.* looks in the directory " ").
  if (cut != std::string_view::npos && dirPart.back() != '\\' && dirPart.back() != '/') dirPart += '\\';
  Found f = Locate(dirPart, true);
  if (!f.node || !f.node->isDir()) return nullptr;
  std::vector<DirEntry> entries;
  if (!HasWildcard(namePattern)) {
    if (Node* child = f.node->Child(namePattern)) entries.push_back(child->Entry());
  } else {
    if (f.node->parent) {
      for (const char* dots : {".", ".."}) {
        if (MatchesPattern(namePattern, dots)) entries.push_back({dots, "", kAttrDirectory});
      }
    }
    for (const auto& child : f.node->children) {
      if (MatchesPattern(namePattern, child->name) ||
          (!child->shortName.empty() && MatchesPattern(namePattern, child->shortName))) {
        entries.push_back(child->Entry());
      }
    }
  }
  if (entries.empty()) return nullptr;
  return std::make_unique<FakeDirScan>(std::move(entries), faults_);
}

Status FakeFileSystem::EraseFile(std::string_view path) {
  if (auto e = Fault("EraseFile")) return Status::Fail(*e);
  Found f = Locate(path, false);
  if (f.error != SysError::None) return Status::Fail(f.error);
  if (!f.node) return Status::Fail(SysError::NotFound);
  if (f.node->isDir() || (f.node->attributes & kAttrReadOnly)) return Status::Fail(SysError::AccessDenied);
  if (f.node->openCount > 0) return Status::Fail(SysError::SharingViolation);
  f.parent->Drop(f.node);
  return Status::Ok();
}

Status FakeFileSystem::MakeDir(std::string_view path) {
  if (auto e = Fault("MakeDir")) return Status::Fail(*e);
  Found f = Locate(path, false);
  if (f.error != SysError::None) return Status::Fail(f.error);
  if (f.node) return Status::Fail(SysError::AlreadyExists);
  if (!IsValidName(f.leaf)) return Status::Fail(SysError::InvalidName);
  auto node = std::make_unique<Node>();
  node->name = f.leaf;
  node->attributes = kAttrDirectory;
  f.parent->Adopt(std::move(node));
  return Status::Ok();
}

Status FakeFileSystem::RemoveDir(std::string_view path) {
  if (auto e = Fault("RemoveDir")) return Status::Fail(*e);
  Found f = Locate(path, false);
  if (f.error != SysError::None) return Status::Fail(f.error);
  if (!f.node) return Status::Fail(SysError::NotFound);
  if (!f.parent) return Status::Fail(SysError::AccessDenied);  // a root
  if (!f.node->isDir()) return Status::Fail(SysError::InvalidName);
  if (f.node->attributes & kAttrReadOnly) return Status::Fail(SysError::AccessDenied);
  if (!f.node->isLink()) {
    if (!f.node->children.empty()) return Status::Fail(SysError::DirNotEmpty);
    auto cwd = NormalizePath(currentDir_, "", lead_);
    if (cwd && EqualsNoCase(*cwd, f.fullPath)) return Status::Fail(SysError::SharingViolation);
  }
  f.parent->Drop(f.node);
  return Status::Ok();
}

Status FakeFileSystem::CopyOver(std::string_view from, std::string_view to) {
  if (auto e = Fault("CopyOver")) return Status::Fail(*e);
  Found source = Locate(from, true);
  if (source.error != SysError::None) return Status::Fail(source.error);
  if (!source.node) return Status::Fail(SysError::NotFound);
  if (source.node->isDir()) return Status::Fail(SysError::AccessDenied);
  if (source.node->openCount > 0) return Status::Fail(SysError::SharingViolation);
  Found target = Locate(to, true);
  if (target.error != SysError::None) return Status::Fail(target.error);
  if (!target.parent) return Status::Fail(SysError::AccessDenied);
  if (target.node) {
    if (target.node->isDir() || (target.node->attributes & kAttrReadOnly)) return Status::Fail(SysError::AccessDenied);
    if (target.node->openCount > 0) return Status::Fail(SysError::SharingViolation);
    target.node->content = source.node->content;
    target.node->attributes = source.node->attributes | kAttrArchive;
    return Status::Ok();
  }
  if (!IsValidName(target.leaf)) return Status::Fail(SysError::InvalidName);
  auto node = std::make_unique<Node>();
  node->name = target.leaf;
  node->content = source.node->content;
  node->attributes = source.node->attributes | kAttrArchive;
  target.parent->Adopt(std::move(node));
  return Status::Ok();
}

Status FakeFileSystem::MoveFileAtRestart(std::string_view from, std::string_view to, bool replaceExisting) {
  if (auto e = Fault("MoveFileAtRestart")) return Status::Fail(*e);
  if (from.empty()) return Status::Fail(SysError::InvalidName);
  if (from.size() >= kMaxPath || to.size() >= kMaxPath) return Status::Fail(SysError::TooLong);
  restartMoves_.push_back({std::string(from), std::string(to), replaceExisting});
  return Status::Ok();
}

std::optional<std::string> FakeFileSystem::ReadWholeFile(std::string_view path) {
  if (Fault("ReadWholeFile")) return std::nullopt;
  Found f = Locate(path, true);
  if (!f.node || f.node->isDir() || f.node->openCount > 0) return std::nullopt;
  return f.node->content;
}

Status FakeFileSystem::WriteWholeFile(std::string_view path, std::string_view bytes) {
  if (auto e = Fault("WriteWholeFile")) return Status::Fail(*e);
  Found f = Locate(path, true);
  if (f.error != SysError::None) return Status::Fail(f.error);
  if (!f.parent && !f.node) return Status::Fail(SysError::PathNotFound);
  if (f.node) {
    if (f.node->isDir() || (f.node->attributes & kAttrReadOnly)) return Status::Fail(SysError::AccessDenied);
    if (f.node->openCount > 0) return Status::Fail(SysError::SharingViolation);
    f.node->content = bytes;
    return Status::Ok();
  }
  if (!IsValidName(f.leaf)) return Status::Fail(SysError::InvalidName);
  auto node = std::make_unique<Node>();
  node->name = f.leaf;
  node->content = bytes;
  node->attributes = kAttrArchive;
  f.parent->Adopt(std::move(node));
  return Status::Ok();
}

std::unique_ptr<FileReader> FakeFileSystem::OpenForReading(std::string_view path) {
  if (Fault("OpenForReading")) return nullptr;
  Found f = Locate(path, true);
  if (!f.node || f.node->isDir() || f.node->openCount > 0) return nullptr;
  return std::make_unique<FakeReader>(f.node->content, faults_);
}

std::unique_ptr<FileWriter> FakeFileSystem::CreateForWriting(std::string_view path) {
  if (Fault("CreateForWriting")) return nullptr;
  Found f = Locate(path, true);
  if (f.error != SysError::None || (!f.parent && !f.node)) return nullptr;
  if (f.node) {
    if (f.node->isDir() || (f.node->attributes & kAttrReadOnly) || f.node->openCount > 0) return nullptr;
    f.node->content.clear();
    f.node->attributes |= kAttrArchive;
    return std::make_unique<FakeWriter>(*this, f.node, faults_);
  }
  if (!IsValidName(f.leaf)) return nullptr;
  auto node = std::make_unique<Node>();
  node->name = f.leaf;
  node->attributes = kAttrArchive;
  Node* made = f.parent->Adopt(std::move(node));
  return std::make_unique<FakeWriter>(*this, made, faults_);
}

std::vector<std::string> FakeFileSystem::RootNames() const {
  std::vector<std::string> out;
  for (const auto& [name, node] : roots_) out.push_back(name);
  return out;
}

Status FakeFileSystem::AppendToFile(std::string_view path, std::string_view bytes) {
  // A process ended in the middle of the write leaves its first half.
  const bool cut = faults_.EndsHere("AppendToFile");
  if (!cut) {
    if (auto e = Fault("AppendToFile")) return Status::Fail(*e);
  }
  Found f = Locate(path, true);
  if (f.error != SysError::None) return Status::Fail(f.error);
  if (!f.node) {
    if (!f.parent) return Status::Fail(SysError::PathNotFound);
    if (!IsValidName(f.leaf)) return Status::Fail(SysError::InvalidName);
    auto node = std::make_unique<Node>();
    node->name = f.leaf;
    node->attributes = kAttrArchive;
    f.node = f.parent->Adopt(std::move(node));
  }
  if (f.node->isDir() || (f.node->attributes & kAttrReadOnly)) return Status::Fail(SysError::AccessDenied);
  if (f.node->openCount > 0) return Status::Fail(SysError::SharingViolation);
  if (cut) {
    f.node->content += bytes.substr(0, bytes.size() / 2);
    (void)Fault("AppendToFile");  // ends the process
  }
  f.node->content += bytes;
  return Status::Ok();
}

Status FakeFileSystem::TruncateFile(std::string_view path, std::uint64_t size) {
  if (auto e = Fault("TruncateFile")) return Status::Fail(*e);
  Found f = Locate(path, true);
  if (f.error != SysError::None) return Status::Fail(f.error);
  if (!f.node) return Status::Fail(SysError::NotFound);
  if (f.node->isDir() || (f.node->attributes & kAttrReadOnly)) return Status::Fail(SysError::AccessDenied);
  if (f.node->openCount > 0) return Status::Fail(SysError::SharingViolation);
  f.node->content.resize(static_cast<std::size_t>(size));  // a longer size adds zero bytes, as SetEndOfFile
  return Status::Ok();
}

Status FakeFileSystem::RenameFile(std::string_view from, std::string_view to) {
  if (auto e = Fault("RenameFile")) return Status::Fail(*e);
  Found source = Locate(from, false);
  if (source.error != SysError::None) return Status::Fail(source.error);
  if (!source.node) return Status::Fail(SysError::NotFound);
  if (!source.parent) return Status::Fail(SysError::AccessDenied);  // a root
  if (source.node->openCount > 0) return Status::Fail(SysError::SharingViolation);
  Found target = Locate(to, false);
  if (target.error != SysError::None) return Status::Fail(target.error);
  if (!target.parent) return Status::Fail(target.node ? SysError::AccessDenied : SysError::PathNotFound);
  if (target.node && target.node != source.node) return Status::Fail(SysError::AlreadyExists);
  if (!IsValidName(target.leaf)) return Status::Fail(SysError::InvalidName);
  if (source.node->isDir()) {
    for (const Node* up = target.parent; up; up = up->parent) {
      if (up == source.node) return Status::Fail(SysError::AccessDenied);  // into itself
    }
  }
  std::unique_ptr<Node> moved = source.parent->Detach(source.node);
  if (!EqualsNoCase(moved->name, target.leaf)) moved->shortName.clear();
  moved->name = target.leaf;
  target.parent->Adopt(std::move(moved));
  return Status::Ok();
}

std::optional<FileIdentity> FakeFileSystem::IdentityOf(std::string_view path) {
  if (Fault("IdentityOf")) return std::nullopt;
  Found f = Locate(path, true);
  if (!f.node) return std::nullopt;
  return FileIdentity{VolumeSerialOf(f.node->Root()->name), f.node->fileIndex};
}

Status FakeFileSystem::ChangeCurrentDirectory(std::string_view path) {
  if (auto e = Fault("ChangeCurrentDirectory")) return Status::Fail(*e);
  Found f = Locate(path, true);
  if (f.error != SysError::None) return Status::Fail(f.error);
  if (!f.node) return Status::Fail(SysError::NotFound);
  if (!f.node->isDir()) return Status::Fail(SysError::InvalidName);
  currentDir_ = f.fullPath;
  return Status::Ok();
}

std::string FakeFileSystem::WindowsDirectory() { return Fault("WindowsDirectory") ? std::string() : windowsDir_; }
std::string FakeFileSystem::SystemDirectory() { return Fault("SystemDirectory") ? std::string() : systemDir_; }
std::string FakeFileSystem::CurrentDirectory() { return Fault("CurrentDirectory") ? std::string() : currentDir_; }
std::string FakeFileSystem::TempDirectory() { return Fault("TempDirectory") ? std::string() : tempDir_; }

DriveType FakeFileSystem::DriveTypeOf(std::string_view root) {
  if (Fault("DriveTypeOf")) return DriveType::Unknown;
  if (root.size() < 2 || root[1] != ':') return DriveType::NoRoot;
  auto it = driveTypes_.find(AsciiUpper(root[0]));
  return it == driveTypes_.end() ? DriveType::NoRoot : it->second;
}

LeadBytes FakeFileSystem::CodePageLeadBytes() { return lead_; }

bool FakeFileSystem::AddFile(std::string_view path, std::string_view content, std::uint32_t attributes) {
  Found f = Locate(path, true);
  if (f.node) {
    if (f.node->isDir()) return false;
    f.node->content = content;
    f.node->attributes = attributes & ~static_cast<std::uint32_t>(kAttrNormal);
    return true;
  }
  auto full = SplitFullPath(path, currentDir_, lead_);
  if (!full || full->parts.empty()) return false;
  std::string leaf = full->parts.back();
  full->parts.pop_back();
  Node* dir = MakeDirs(*full);
  if (!dir || !IsValidName(leaf)) return false;
  auto node = std::make_unique<Node>();
  node->name = leaf;
  node->content = content;
  node->attributes = attributes & ~static_cast<std::uint32_t>(kAttrNormal | kAttrDirectory);
  dir->Adopt(std::move(node));
  return true;
}

bool FakeFileSystem::AddDir(std::string_view path, std::uint32_t attributes) {
  Node* dir = MakeDirs(path);
  if (!dir || !dir->isDir()) return false;
  dir->attributes = (attributes | kAttrDirectory) & ~static_cast<std::uint32_t>(kAttrNormal);
  return true;
}

bool FakeFileSystem::AddLink(std::string_view path, std::string_view target) {
  auto full = SplitFullPath(path, currentDir_, lead_);
  auto to = NormalizePath(target, currentDir_, lead_);
  if (!full || !to || full->parts.empty()) return false;
  std::string leaf = full->parts.back();
  full->parts.pop_back();
  Node* dir = MakeDirs(*full);
  if (!dir || dir->Child(leaf)) return false;
  auto node = std::make_unique<Node>();
  node->name = leaf;
  node->attributes = kAttrDirectory | kAttrReparsePoint;
  node->linkTarget = *to;
  dir->Adopt(std::move(node));
  return true;
}

void FakeFileSystem::AddDrive(char letter, DriveType type) {
  letter = AsciiUpper(letter);
  driveTypes_[letter] = type;
  if (type != DriveType::NoRoot) MakeDirs(std::string{letter, ':', '\\'});
}

bool FakeFileSystem::AddShare(std::string_view share, std::string_view target) {
  auto full = SplitFullPath(share, currentDir_, lead_);
  auto to = NormalizePath(target, currentDir_, lead_);
  if (!full || !to || !full->isUnc() || !full->parts.empty()) return false;
  auto& root = roots_[Node::Upper(full->root)];
  if (root) return false;
  root = std::make_unique<Node>();
  root->name = full->root;
  root->attributes = kAttrDirectory;
  root->linkTarget = *to;
  return true;
}

bool FakeFileSystem::HoldOpen(std::string_view path) {
  Found f = Locate(path, true);
  if (!f.node || f.node->isDir()) return false;
  ++f.node->openCount;
  return true;
}

void FakeFileSystem::Release(std::string_view path) {
  Found f = Locate(path, true);
  if (f.node && f.node->openCount > 0) --f.node->openCount;
}

bool FakeFileSystem::Exists(std::string_view path) { return Locate(path, false).node != nullptr; }

std::optional<std::string> FakeFileSystem::ContentOf(std::string_view path) {
  Found f = Locate(path, true);
  if (!f.node || f.node->isDir()) return std::nullopt;
  return f.node->content;
}

std::string FakeFileSystem::ShortNameOf(std::string_view path) {
  Found f = Locate(path, false);
  return f.node ? f.node->shortName : std::string();
}

}  // namespace scrubber
