// File > Load Computers From File.
#include "ComputerListReader.h"
#include "Form1.h"
#include "Texts.h"

namespace rosterly {

void Form1::LoadComputers() {
  Result<std::string> chosen = services_.dialogs.AskOpenName(text::kLoadTitle, text::kLoadFilter);
  if (!chosen.ok()) {
    ReportDialogFailure(chosen.status());
    return;
  }
  const std::string& name = chosen.value();
  if (name.empty()) return;
  // Read before clearing: a file that cannot be read leaves the list as it was.
  Result<std::string> bytes = services_.files.ReadWholeFile(name);
  if (!bytes.ok()) {
    std::string message(text::kLoadFailed);
    message.append(name).append(":\n").append(bytes.status().description());
    services_.messages.Show(message, text::kAppTitle, MsgIcon::Exclamation);
    return;
  }
  ListsReplaced();
  lstComps.Clear();
  lstComps.AddMany(ReadComputerList(bytes.value()));
  view_.ListChanged(ListId::Computers);
}

}  // namespace rosterly
