// INI files: entries of a new file, entries written over old values (the
// old value recorded for its return), and device lines in SYSTEM.INI.
#include <windows.h>

#include <algorithm>
#include <cctype>

#include "Actions.h"
#include "Win32Support.h"

namespace sample {
namespace {

constexpr DWORD kValueChars = 256;  // what the uninstaller reads of a value
constexpr std::string_view kDeviceSection = "[386Enh]";
constexpr std::string_view kIniLineEnd = "\r\n";

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

Status WriteEntry(const Fields& fields) {
  if (!WritePrivateProfileStringA(fields[1].c_str(), fields[2].c_str(), fields[3].c_str(), fields[0].c_str())) {
    return Failure("cannot write [" + fields[1] + "] " + fields[2] + " in " + fields[0]);
  }
  return Status::Ok();
}

void RecordEntryLines(InstallLog& log, const Fields& fields) {
  log.Line("INI Sect: ", fields[1]);
  log.Line("INI Item: ", fields[2]);
  log.Line("INI Val: ", fields[3]);
}

std::string WindowsDirectory() {
  char path[MAX_PATH] = {};
  UINT length = GetWindowsDirectoryA(path, MAX_PATH);
  return std::string(path, length);
}

// Where the section's header line ends, or npos.
std::size_t EndOfSectionHeader(const std::string& text) {
  const std::string upper = Upper(text);
  const std::string header = Upper(std::string(kDeviceSection));
  for (std::size_t at = 0; at < upper.size();) {
    std::size_t start = upper.find_first_not_of(" \t", at);
    std::size_t end = upper.find('\n', at);
    if (start != std::string::npos && upper.compare(start, header.size(), header) == 0) {
      return end == std::string::npos ? upper.size() : end + 1;
    }
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return std::string::npos;
}

}  // namespace

Status CreateIniEntry(Context& context, const Fields& fields) {
  const std::string& file = fields[0];
  if (context.newIniFiles.insert(Upper(file)).second) {
    if (FileExists(file)) return Status::Fail(file + " exists already");
    if (Status written = WriteEntry(fields); !written.ok()) return written;
    context.log->Record("INI New: ", file);
    context.log->Line("INI File: ", file);
  } else if (Status written = WriteEntry(fields); !written.ok()) {
    return written;
  }
  // The file goes as a whole; its entries are listed for the reader only.
  RecordEntryLines(*context.log, fields);
  return Status::Ok();
}

Status WriteIniEntry(Context& context, const Fields& fields) {
  const std::string& file = fields[0];
  if (!FileExists(file)) return Status::Fail("no INI file " + file);
  char old[kValueChars] = {};
  GetPrivateProfileStringA(fields[1].c_str(), fields[2].c_str(), "", old, kValueChars, file.c_str());
  if (Status written = WriteEntry(fields); !written.ok()) return written;
  context.log->Record("INI File: ", file);
  RecordEntryLines(*context.log, fields);
  // An entry without an old value is deleted by the uninstall.
  if (old[0] != '\0') context.log->Line("INI Old: ", old);
  return Status::Ok();
}

Status PutIniEntry(Context&, const Fields& fields) {
  if (Status parents = CreateParents(fields[0]); !parents.ok()) return parents;
  return WriteEntry(fields);
}

// Adds "device=PATH" to the section [386Enh] of SYSTEM.INI, making the
// section at the end when there is none.
Status AddDevice(Context& context, const Fields& fields) {
  const std::string& path = fields[0];
  const std::string systemIni = WindowsDirectory() + "\\SYSTEM.INI";
  std::string text;
  if (Status read = ReadBytes(systemIni, text); !read.ok()) return read;
  const std::string line = "device=" + path + std::string(kIniLineEnd);
  std::size_t at = EndOfSectionHeader(text);
  if (at == std::string::npos) {
    if (!text.empty() && text.back() != '\n') text += kIniLineEnd;
    text += std::string(kDeviceSection) + std::string(kIniLineEnd) + line;
  } else {
    if (at == text.size() && text.back() != '\n') text += kIniLineEnd, at = text.size();
    text.insert(at, line);
  }
  if (Status written = WriteBytes(systemIni, text); !written.ok()) return written;
  context.log->Record("Add Device: ", path);
  return Status::Ok();
}

}  // namespace sample
