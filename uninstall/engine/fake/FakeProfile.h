#pragma once
// INI files kept as text in a FakeFileSystem, read and written with the
// rules of GetPrivateProfileString and WritePrivateProfileString: sections
// and keys with letter case ignored, blanks around values dropped, one pair
// of enclosing quotes removed, the value cut to the caller's buffer.
#include "FakeFileSystem.h"
#include "FaultTable.h"
#include "platform/Profile.h"

namespace scrubber {

class FakeProfile : public Profile {
 public:
  explicit FakeProfile(FakeFileSystem& files);

  std::string ReadString(std::string_view file, std::string_view section, std::string_view key,
                         std::string_view fallback, std::size_t capacity = 256) override;
  Status WriteString(std::string_view file, std::string_view section, std::string_view key,
                     std::optional<std::string_view> value) override;

  FaultTable& faults() { return faults_; }

 private:
  std::string FullName(std::string_view file);

  FakeFileSystem& files_;
  FaultTable faults_;
};

}  // namespace scrubber
