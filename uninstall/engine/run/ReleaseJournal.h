#pragma once
// What the runs of one log have released: a small file beside the log that
// says, for each record whose shared count or use count was lowered, that
// it was, and what was decided for its file. A count is lowered only after
// its line is on the disk, so that a run stopped anywhere and run again
// lowers no count twice; a stop between the two leaves a count one too
// high, which keeps a file, never one too low, which would let another
// uninstall delete a file still in use.
//
// One line per record, only ever appended:
//   C <offset> <hash> K|R   a shared count released; the file kept or removed
//   U <offset> <hash> -     the database engine's use count lowered
//   X <offset> 00000000 -   the log was cut there: what stood past it is void
//   D <directory>           to try again once the log is gone (written just
//   P                       before it goes), and the program file to go too
// A line without its line end (a write cut short) or not of that form says
// nothing; the next line written takes the place of a cut one.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "UninstallModel.h"
#include "platform/FileSystem.h"
#include "registry/RegistryOperations.h"

namespace scrubber {

class ReleaseJournal {
 public:
  // The journal of the log at `logPath`: the same name with the extension
  // JNL, in the same directory.
  ReleaseJournal(FileSystem& fs, std::string_view logPath, LeadBytes lead);

  static std::string PathFor(std::string_view logPath, LeadBytes lead);
  const std::string& path() const { return path_; }

  // Reads what earlier runs wrote. A journal that exists but cannot be read
  // answers Keep for every count: nothing is lowered that may have been.
  void Load();

  // What an earlier run decided for the record's file; nullopt when its
  // count was never lowered.
  std::optional<SharedCount> CountReleased(const RecordId& record) const;
  bool UseCountLowered(const RecordId& record) const;

  // Written and flushed before the count is lowered; false when it could not
  // be, and the count must then stay.
  [[nodiscard]] bool RememberCount(const RecordId& record, SharedCount outcome);
  [[nodiscard]] bool RememberUseCount(const RecordId& record);

  // After the log was cut to `offset` bytes: what is remembered of the
  // records past it is void, so that an installation written there later
  // is not taken for them.
  void ForgetFrom(std::uint64_t offset);

  // What a run has left to do once its log is gone: the chosen directories
  // that only the log kept, and whether the program file goes too. Written
  // before the log is deleted, so that a run stopped between the two can be
  // finished without it.
  struct Finish {
    std::vector<std::string> directories;
    bool programGoes = false;
  };
  [[nodiscard]] bool RememberFinish(const Finish& finish);
  const Finish& finish() const { return finish_; }
  // Whether Load found a journal.
  bool found() const { return found_; }

  // With the log: gone when the log is.
  [[nodiscard]] Status Delete();

 private:
  struct Entry {
    char kind = 'C';
    std::uint32_t textHash = 0;
    char decision = '-';
  };
  [[nodiscard]] bool Append(char kind, const RecordId& record, char decision);
  // Whole lines at the end, in place of a line a cut write left.
  [[nodiscard]] bool AppendLines(std::string lines);
  const Entry* Find(char kind, const RecordId& record) const;

  FileSystem& fs_;
  std::string path_;
  std::multimap<std::uint64_t, Entry> entries_;  // by offset
  Finish finish_;
  bool found_ = false;
  bool unreadable_ = false;
  // The bytes up to the last whole line; past them, a write cut short,
  // which the next line replaces.
  std::uint64_t wholeLength_ = 0;
  bool lengthKnown_ = true;
  bool endsInsideALine_ = false;
};

}  // namespace scrubber
