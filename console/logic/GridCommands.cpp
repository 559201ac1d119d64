// Header click, Edit > Clear Results and File > Save Results.
#include "CsvExport.h"
#include "Form1.h"
#include "Texts.h"
#include "WriteReplacing.h"

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
  Result<std::string> chosen = services_.dialogs.AskSaveName(text::kSaveTitle, text::kSaveFilter);
  if (!chosen.ok()) {
    ReportDialogFailure(chosen.status());
    return;
  }
  const std::string& name = chosen.value();
  if (name.empty()) return;
  // The old file stays until the new one is complete.
  Status written = WriteReplacing(services_.files, name, FormatResults(lvGroups));
  if (!written.ok()) {
    std::string message(text::kSaveFailed);
    message.append(name).append(":\n").append(written.description());
    services_.messages.Show(message, text::kAppTitle, MsgIcon::Exclamation);
    return;
  }
  services_.messages.Show(text::kSaveComplete, text::kSaveCompleteTitle, MsgIcon::Information);
}

void Form1::ReportDialogFailure(const Status& failure) {
  services_.messages.Show(std::string(text::kDialogFailed) + failure.description(), text::kAppTitle,
                          MsgIcon::Exclamation);
}

}  // namespace rosterly
