#pragma once
// PathNames over CanonicalizePath: what the reader uses on a real or fake
// file system. The directories of absolute paths are remembered for the
// parse, so that the many files of one directory cost one look-up each
// instead of one per component.
#include <map>
#include <string>
#include <string_view>

#include "CanonicalizePath.h"
#include "ParseInstallLog.h"

namespace scrubber {

class CanonicalPathNames final : public PathNames {
 public:
  explicit CanonicalPathNames(FileSystem& fs) : fs_(fs), lead_(fs.CodePageLeadBytes()) {}
  std::string Long(std::string_view path) override { return Canonical(path, PathForm::Long); }
  std::string Short(std::string_view path) override { return Canonical(path, PathForm::Short); }

 private:
  std::string Canonical(std::string_view path, PathForm form);

  FileSystem& fs_;
  LeadBytes lead_;
  // Directory as written -> in that form; exact text, as a case folding
  // could meet another name's double-byte characters.
  std::map<std::string, std::string, std::less<>> longDirs_, shortDirs_;
};

}  // namespace scrubber
