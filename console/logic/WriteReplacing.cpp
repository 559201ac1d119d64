#include "WriteReplacing.h"

namespace rosterly {

Status WriteReplacing(FileStore& files, std::string_view path, std::string_view bytes) {
  Result<std::string> fresh = files.NewFileBeside(path);
  if (!fresh.ok()) return fresh.status();
  Status done = files.WriteWholeFile(fresh.value(), bytes);
  if (done.ok()) done = files.MoveReplacing(fresh.value(), path);
  if (!done.ok()) (void)files.RemoveFile(fresh.value());
  return done;
}

}  // namespace rosterly
