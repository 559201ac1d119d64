#pragma once
// Whole-file access: the computer list, the export file and the probe's
// captured output. Bytes are passed unchanged (one byte per character).
#include <string>
#include <string_view>

#include "Status.h"

namespace rosterly {

class FileStore {
 public:
  virtual ~FileStore() = default;
  virtual Result<std::string> ReadWholeFile(std::string_view path) = 0;
  // Creates the file or truncates an existing one, then writes every byte.
  virtual Status WriteWholeFile(std::string_view path, std::string_view bytes) = 0;
  virtual bool FileExists(std::string_view path) = 0;

  // Creates a new, empty file with a name of its own in the folder of `path`
  // and returns its name: the place to write a replacement of `path`.
  virtual Result<std::string> NewFileBeside(std::string_view path) = 0;
  // Puts `from` in the place of `to` in one step: a reader of `to` sees the
  // old file or the new one, never a part of either.
  virtual Status MoveReplacing(std::string_view from, std::string_view to) = 0;
  virtual Status RemoveFile(std::string_view path) = 0;
};

}  // namespace rosterly
