#pragma once
// Scratch directories on the real disk for the Wine tests, and links made
// beforehand on the Unix side by with_links.sh.
#include <optional>
#include <string>
#include <vector>

namespace scrubber::testing {

// A new empty directory under the temporary directory; removed with its
// contents when the owner goes.
class ScratchDir {
 public:
  explicit ScratchDir(const std::string& prefix);
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Removes a tree with plain Win32 calls, never entering links.
void DeleteTreeForTest(const std::string& path);

bool WriteFileForTest(const std::string& path, const std::string& content);
std::optional<std::string> ReadFileForTest(const std::string& path);
bool ExistsForTest(const std::string& path);

// Directory links made by with_links.sh: case N is caseN\app\link leading to
// caseN\outside, which holds KEEP.TXT. nullopt when the tests run without it.
struct LinkSetup {
  std::string app;      // holds the link
  std::string link;
  std::string outside;  // the link's target
};
std::optional<LinkSetup> LinkCase(int number);

// The pending renames of the session manager as (from, to) pairs, with the
// "\??\" prefixes removed.
std::vector<std::pair<std::string, std::string>> PendingRenames();

}  // namespace scrubber::testing
