#pragma once
// SYSTEM.INI copied line by line with the "device=" lines of one driver in
// the "[386Enh]" section commented out. Every byte of the file reaches the
// copy: lines end at CR LF, a lone CR or a lone LF and are written with CR
// LF; a line of any length is copied whole; the last line too, also without
// a line end. Memory stays bounded: only a line's first kIniLineChars
// characters are held to judge it.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace scrubber {

// The characters of a line that are judged: "device=" and the longest path
// a driver can have (259 characters) fit with room for blanks around them.
// A longer line names no valid path and is copied as it is.
inline constexpr std::size_t kIniLineChars = 512;

class DeviceLineCopier {
 public:
  // `device` is the name as a device line in the System directory gives it,
  // `fullPath` the driver's whole path; a device line naming either matches.
  DeviceLineCopier(FileWriter& out, std::string_view device, std::string_view fullPath);

  // The next bytes of the file. False once a write to the copy fell short.
  bool Feed(std::span<const char> bytes);
  // The end of the file: the last line is written and the copy flushed.
  // True when every byte reached the copy.
  bool Finish();
  int commentedOut() const { return commentedOut_; }

 private:
  void Take(char c);
  void EndLine();
  void StartLongLine();
  void NoteSection(std::string_view rest);
  bool IsDeviceLine(std::string_view rest) const;
  void Emit(std::string_view bytes);
  void Flush();

  FileWriter& out_;
  std::string device_;
  std::string fullPath_;
  std::string head_;          // the line so far, up to kIniLineChars
  bool longLine_ = false;     // head_ went out already; the rest streams through
  bool afterCr_ = false;      // an LF right after a CR belongs to that line end
  bool inSection_ = false;
  bool failed_ = false;
  int commentedOut_ = 0;
  std::string pending_;       // bytes not yet written
};

// Copies the whole file through the copier; false on a read error or a
// short write.
bool CopyThrough(FileReader& in, DeviceLineCopier& copier);

}  // namespace scrubber
