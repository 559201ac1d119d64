#pragma once
// A FileSystem that shows the real one as it is plus every change recorded
// so far, and records writes instead of making them. Changes are kept per
// path in an overlay keyed by the long-name form, so that a file deleted by
// one spelling is gone for every other spelling too. Copied content is kept
// as a reference to the real file; written content is kept in memory up to
// a budget, past which its bytes are forgotten (reads of it then fail).
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "PlanStep.h"
#include "platform/FileSystem.h"

namespace scrubber {

class RecordingFileSystem final : public FileSystem {
 public:
  static constexpr std::uint64_t kDefaultBudget = 64u << 20;

  RecordingFileSystem(FileSystem& real, PlanLog& log, std::uint64_t storedBytesBudget = kDefaultBudget);
  ~RecordingFileSystem() override;

  std::optional<std::uint32_t> GetAttributes(std::string_view path) override;
  Status SetAttributes(std::string_view path, std::uint32_t attributes) override;
  std::unique_ptr<DirScan> FindFirst(std::string_view pattern) override;
  Status EraseFile(std::string_view path) override;
  Status MakeDir(std::string_view path) override;
  Status RemoveDir(std::string_view path) override;
  Status CopyOver(std::string_view from, std::string_view to) override;
  Status MoveFileAtRestart(std::string_view from, std::string_view to, bool replaceExisting) override;
  std::optional<std::string> ReadWholeFile(std::string_view path) override;
  Status WriteWholeFile(std::string_view path, std::string_view bytes) override;
  std::unique_ptr<FileReader> OpenForReading(std::string_view path) override;
  std::unique_ptr<FileWriter> CreateForWriting(std::string_view path) override;
  Status AppendToFile(std::string_view path, std::string_view bytes) override;
  Status TruncateFile(std::string_view path, std::uint64_t size) override;
  Status RenameFile(std::string_view from, std::string_view to) override;
  std::optional<FileIdentity> IdentityOf(std::string_view path) override;
  std::string WindowsDirectory() override;
  std::string SystemDirectory() override;
  std::vector<std::string> SharedFolders() override { return real_.SharedFolders(); }
  std::string CurrentDirectory() override;
  Status ChangeCurrentDirectory(std::string_view path) override;
  std::string TempDirectory() override;
  DriveType DriveTypeOf(std::string_view root) override;
  LeadBytes CodePageLeadBytes() override;

  // For the profile layer, which keeps INI files as text in this overlay.
  // Whether the path's view differs from the real file system.
  bool Touched(std::string_view path);
  // Replaces a file's content without a step of its own (the INI step is
  // recorded by the caller). Fails as writing the file would.
  Status PutContent(std::string_view path, std::string_view bytes);

  // The comparable form of a path: full, long names where they exist, upper
  // case. Empty when the path cannot be resolved.
  std::string KeyOf(std::string_view path);

  // Bytes currently held in memory for written content.
  std::uint64_t StoredBytes() const { return stored_; }

 private:
  struct Node;
  struct Resolved;
  class Writer;
  class MergedScan;
  enum class Kind { Missing, File, Dir };
  struct View {
    Kind kind = Kind::Missing;
    std::uint32_t attributes = 0;
    Node* node = nullptr;
  };

  std::optional<Resolved> Resolve(std::string_view path);
  std::string LongName(const std::string& realPrefix, const std::string& part);
  View ViewOf(const Resolved& r);
  View ParentView(const Resolved& r);
  Node& MutableNode(const Resolved& r);
  bool DirIsEmpty(const Resolved& r);
  Status CheckWritableFile(const Resolved& r);
  std::optional<std::string> ContentOf(const Node& node);
  std::unique_ptr<FileReader> ReaderOf(const Node& node);
  void SetStored(Node& node, std::string bytes);
  void ForgetContent(Node& node);
  void AppendStored(Node& node, std::string_view bytes);
  FileIdentity NewIdentity();
  std::size_t Record(PlanOp op, const Resolved& r, bool minor = false);

  FileSystem& real_;
  PlanLog& log_;
  std::uint64_t budget_;
  std::uint64_t stored_ = 0;
  std::uint64_t nextIndex_ = 1;
  std::string cwd_;
  LeadBytes lead_;
  std::map<std::string, std::unique_ptr<Node>> nodes_;
  // Long names of real path components, by the upper-case real prefix.
  std::map<std::string, std::string> longNames_;
};

}  // namespace scrubber
