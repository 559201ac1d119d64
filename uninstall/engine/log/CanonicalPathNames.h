#pragma once
// PathNames over CanonicalizePath: what the reader uses on a real or fake
// file system.
#include "ParseInstallLog.h"

namespace scrubber {

class CanonicalPathNames final : public PathNames {
 public:
  explicit CanonicalPathNames(FileSystem& fs) : fs_(fs) {}
  std::string Long(std::string_view path) override;
  std::string Short(std::string_view path) override;

 private:
  FileSystem& fs_;
};

}  // namespace scrubber
