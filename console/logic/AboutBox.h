#pragma once
// The About box's logic (frmAbout): its texts, System Info and the web label.
#include <string>
#include <string_view>

#include "platform/Dialogs.h"
#include "platform/FileStore.h"
#include "platform/ProgramStarter.h"
#include "platform/Registry.h"

namespace rosterly {

struct AppVersion {
  int major = 1;
  int minor = 1;
  int revision = 0;
};

inline constexpr std::size_t kRegValueBuffer = 1024;

class AboutBox {
 public:
  AboutBox(Registry& registry, FileStore& files, ProgramStarter& starter, MessageBoxes& messages,
           AppVersion version = {})
      : registry_(registry), files_(files), starter_(starter), messages_(messages), version_(version) {}

  std::string Caption() const;      // window title
  std::string TitleText() const;    // lblTitle
  std::string VersionText() const;  // lblVersion
  std::string WebText() const;      // Label1

  // Reads a string value into KeyVal; false (and KeyVal empty) when the key
  // or value cannot be read, the value is longer than 1024 bytes, or it is
  // not of a string type.
  bool GetKeyValue(RegRoot KeyRoot, std::string_view KeyName, std::string_view SubKeyRef, std::string& KeyVal);
  void StartSysInfo();    // cmdSysInfo
  void WebLabelClicked();  // Label1

 private:
  Registry& registry_;
  FileStore& files_;
  ProgramStarter& starter_;
  MessageBoxes& messages_;
  AppVersion version_;
};

}  // namespace rosterly
