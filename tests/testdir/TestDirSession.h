#pragma once
// Puts the test directory under ADSI for this process: enters COM,
// registers the provider DLL built beside the tests (in whatever Wine prefix
// the process runs) and points it at fixture files written by the test.
#include <string>
#include <string_view>

namespace rosterly::testing {

// Once per process; false when the DLL cannot be loaded or registered.
bool StartTestDirectory();
// Registers again, storing the fixture named by the environment now.
bool RegisterTestDirectory();

// A fixture file in the temporary directory that the provider reads from
// now on; removed again by the destructor.
class FixtureFile {
 public:
  explicit FixtureFile(std::string_view text);
  ~FixtureFile();
  FixtureFile(const FixtureFile&) = delete;
  FixtureFile& operator=(const FixtureFile&) = delete;

  const std::string& path() const { return path_; }
  std::string Read() const;
  void Write(std::string_view text) const;

 private:
  std::string path_;
};

}  // namespace rosterly::testing
