#include "AboutBox.h"

#include "Texts.h"

namespace rosterly {

std::string AboutBox::Caption() const { return "About " + std::string(text::kAppTitle); }

std::string AboutBox::TitleText() const { return std::string(text::kAppTitle); }

std::string AboutBox::VersionText() const {
  return "Version " + std::to_string(version_.major) + "." + std::to_string(version_.minor) + "." +
         std::to_string(version_.revision);
}

std::string AboutBox::WebText() const { return "Web: " + std::string(text::kWebAddress); }

bool AboutBox::GetKeyValue(RegRoot KeyRoot, std::string_view KeyName, std::string_view SubKeyRef,
                           std::string& KeyVal) {
  KeyVal.clear();
  // Read access is all a lookup needs; asking for write rights would fail for
  // a user who may read the key but not change it.
  Result<std::unique_ptr<RegistryKey>> key = registry_.OpenKey(KeyRoot, KeyName, kKeyRead);
  if (!key.ok() || !key.value()) return false;
  Result<RegData> data = key.value()->QueryValue(SubKeyRef, kRegValueBuffer);
  if (!data.ok()) return false;
  if (data.value().type != kRegSz && data.value().type != kRegExpandSz) return false;
  std::string bytes = std::move(data.value().bytes);
  if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
  KeyVal = std::move(bytes);
  return true;
}

void AboutBox::StartSysInfo() {
  std::string program;
  bool found = GetKeyValue(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", program);
  if (!found) {
    std::string folder;
    if (GetKeyValue(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", folder)) {
      program = folder + "\\MSINFO32.EXE";
      found = files_.FileExists(program);
    }
  }
  if (found && starter_.StartProgram(program).ok()) return;
  messages_.Show(text::kSysInfoUnavailable, text::kAppTitle, MsgIcon::None);
}

void AboutBox::WebLabelClicked() { (void)starter_.OpenWithShell("OPEN", text::kWebAddress); }

}  // namespace rosterly
