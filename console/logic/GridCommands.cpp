// Header click, Edit > Clear Results and File > Save Results.
#include "CsvExport.h"
#include "Form1.h"
#include "Texts.h"

namespace rosterly {

void Form1::ColumnClick(int header) {
  lvGroups.ColumnClick(header);
  view_.GridChanged();
}

void Form1::ClearResults() {
  lvGroups.Clear();
  view_.GridChanged();
}

void Form1::SaveResults() {
  const std::string name = services_.dialogs.AskSaveName(text::kSaveTitle, text::kSaveFilter);
  if (name.empty()) return;
  Status written = services_.files.WriteWholeFile(name, FormatResults(lvGroups));
  if (!written.ok()) {
    std::string message(text::kSaveFailed);
    message.append(name).append(":\n").append(written.description());
    services_.messages.Show(message, text::kAppTitle, MsgIcon::Exclamation);
    return;
  }
  services_.messages.Show(text::kSaveComplete, text::kSaveCompleteTitle, MsgIcon::Information);
}

}  // namespace rosterly
