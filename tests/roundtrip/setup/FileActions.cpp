// Files and directories: copies recorded with their qualifying lines, backups
// of what they replace, directories made and trees of unrecorded files.
#include <windows.h>

#include "Actions.h"
#include "SharedCounts.h"
#include "Win32Support.h"

namespace sample {
namespace {

constexpr char kNoBackup[] = "-";
constexpr std::string_view kSharedOption = "shared=";

struct FileOptions {
  std::string sharedForm;  // empty: the installer keeps no count
  bool noCount = false;    // "Shared DLL counter ignored:"
  bool nonSystem = false;  // "Non-System File:"
};

Status ReadOptions(const Fields& fields, std::size_t first, FileOptions& options) {
  for (std::size_t i = first; i < fields.size(); ++i) {
    const std::string& option = fields[i];
    if (option.rfind(kSharedOption, 0) == 0) options.sharedForm = option.substr(kSharedOption.size());
    else if (option == "nocount") options.noCount = true;
    else if (option == "nonsystem") options.nonSystem = true;
    else return Status::Fail("unknown file option \"" + option + "\"");
  }
  if (options.noCount && !options.sharedForm.empty()) return Status::Fail("a file is either counted or not");
  return Status::Ok();
}

// Counts the new user and writes the record with the lines that qualify it.
Status FinishFile(Context& context, std::string_view keyword, const std::string& path, const std::string& backup,
                  const FileOptions& options) {
  if (!options.sharedForm.empty()) {
    if (Status counted = AddSharedUse(path, options.sharedForm); !counted.ok()) return counted;
  }
  if (options.nonSystem) context.log->Record("Non-System File:", "");
  if (options.noCount) context.log->Record("Shared DLL counter ignored:", "");
  context.log->Record(keyword, path);
  if (!backup.empty()) context.log->Line("Backup Copy: ", backup);
  return Status::Ok();
}

Status CopyNew(Context& context, const Fields& fields, std::string_view keyword) {
  FileOptions options;
  if (Status read = ReadOptions(fields, 2, options); !read.ok()) return read;
  if (Status placed = PlaceFile(fields[0], fields[1], false); !placed.ok()) return placed;
  return FinishFile(context, keyword, fields[1], "", options);
}

}  // namespace

Status MakeDirectory(Context& context, const Fields& fields) {
  const std::string path = fields[0] + "\\";
  // Each level that did not exist is recorded, the outermost first.
  for (std::size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1)) {
    const std::string directory = path.substr(0, slash);
    if (DirectoryExists(directory)) continue;
    if (!CreateDirectoryA(directory.c_str(), nullptr)) return Failure("cannot create " + directory);
    context.log->Record("Made Dir: ", directory);
  }
  return Status::Ok();
}

Status CopyFileRecorded(Context& context, const Fields& fields) { return CopyNew(context, fields, "File Copy: "); }

Status CopyShellLink(Context& context, const Fields& fields) { return CopyNew(context, fields, "Shell Link: "); }

Status OverwriteFile(Context& context, const Fields& fields) {
  const std::string& source = fields[0];
  const std::string& path = fields[1];
  const std::string backup = fields[2] == kNoBackup ? "" : fields[2];
  FileOptions options;
  if (Status read = ReadOptions(fields, 3, options); !read.ok()) return read;
  if (!FileExists(path)) return Status::Fail("nothing to overwrite at " + path);
  // Without a backup the uninstaller lists the record only for a file that
  // is registered as shared.
  if (backup.empty() && !HasSharedCount(path)) return Status::Fail(path + " has neither a backup nor a shared count");
  if (!backup.empty() && !CopyFileA(path.c_str(), backup.c_str(), TRUE)) return Failure("cannot back up " + path);
  if (Status placed = PlaceFile(source, path, true); !placed.ok()) return placed;
  return FinishFile(context, "File Overwrite: ", path, backup, options);
}

Status PutFile(Context&, const Fields& fields) {
  if (Status parents = CreateParents(fields[1]); !parents.ok()) return parents;
  return PlaceFile(fields[0], fields[1], false);
}

Status RecordFileTree(Context& context, const Fields& fields) {
  if (!DirectoryExists(fields[0])) return Status::Fail("no directory " + fields[0]);
  context.log->Record("File Tree: ", fields[0] + "\\*.*");
  return Status::Ok();
}

Status EditFile(Context& context, const Fields& fields) {
  const std::string& path = fields[0];
  const std::string& backup = fields[1];
  std::string text;
  if (Status read = ReadBytes(path, text); !read.ok()) return read;
  if (!CopyFileA(path.c_str(), backup.c_str(), TRUE)) return Failure("cannot back up " + path);
  if (!text.empty() && text.back() != '\n') text += "\r\n";
  text += fields[2] + "\r\n";
  if (Status written = WriteBytes(path, text); !written.ok()) return written;
  context.log->Record("File Edit: ", path);
  context.log->Line("Backup Copy: ", backup);
  return Status::Ok();
}

}  // namespace sample
