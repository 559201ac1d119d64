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
};

}  // namespace rosterly
