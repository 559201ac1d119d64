#pragma once
// A Profile over the recording file system: an INI file the dry run has not
// touched is read by the real profile API; one it has touched is read from
// the overlay's text. Writes edit that text and are recorded as INI steps.
#include "PlanStep.h"
#include "RecordingFileSystem.h"
#include "platform/Profile.h"

namespace scrubber {

class RecordingProfile final : public Profile {
 public:
  RecordingProfile(Profile& real, RecordingFileSystem& files, PlanLog& log);

  std::string ReadString(std::string_view file, std::string_view section, std::string_view key,
                         std::string_view fallback, std::size_t capacity = 256) override;
  Status WriteString(std::string_view file, std::string_view section, std::string_view key,
                     std::optional<std::string_view> value) override;

 private:
  std::string FullName(std::string_view file);

  Profile& real_;
  RecordingFileSystem& files_;
  PlanLog& log_;
};

}  // namespace scrubber
