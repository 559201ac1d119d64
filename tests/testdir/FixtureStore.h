#pragma once
// The fixture file behind the provider: found through the environment
// variable ROSTERLY_TESTDIR_FIXTURE, else the value "Fixture" of
// HKLM\Software\RosterlyTestDir written at registration. Read again whenever
// the file changed; changes are written to a temporary file that then
// replaces the fixture, so a crash never leaves half a file.
#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "Fixture.h"

namespace rosterly::testdir {

inline constexpr char kFixtureVariable[] = "ROSTERLY_TESTDIR_FIXTURE";
inline constexpr char kSettingsKey[] = "Software\\RosterlyTestDir";

std::string FixturePath();
// Appends a call to the fixture's record file, when it names one.
void RecordCall(const Fixture& fixture, const std::string& call);

class FixtureStore {
 public:
  static FixtureStore& Instance();

  HRESULT Current(std::shared_ptr<const Fixture>& out);
  // Reads the file afresh, lets `change` edit it and stores the result.
  HRESULT Update(const std::function<HRESULT(Fixture&)>& change);

 private:
  struct Stamp {
    std::string path;
    FILETIME written{};
    ULONGLONG size = 0;
    bool operator==(const Stamp& o) const {
      return path == o.path && size == o.size && CompareFileTime(&written, &o.written) == 0;
    }
  };
  static HRESULT StampOf(const std::string& path, Stamp& stamp);
  static HRESULT Read(const std::string& path, Fixture& fixture);
  // `written` is the stamp the fixture has once the new text took its name.
  static HRESULT Write(const std::string& path, const std::string& text, Stamp& written);

  std::mutex mutex_;
  Stamp stamp_;
  std::shared_ptr<const Fixture> fixture_;
};

}  // namespace rosterly::testdir
