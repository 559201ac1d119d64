#include "Scratch.h"

#include <windows.h>

#include <cstdlib>

#include "Driver.h"
#include "Win32Registry.h"

namespace scrubber::testing {

ScratchDir::ScratchDir(const std::string& prefix) {
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  static int counter = 0;
  for (;;) {
    path_ = std::string(temp) + prefix + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
      path_.clear();
      break;
    }
  }
}

ScratchDir::~ScratchDir() {
  if (!path_.empty()) DeleteTreeForTest(path_);
}

void DeleteTreeForTest(const std::string& path) {
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA((path + "\\*").c_str(), &data);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      std::string child = path + "\\" + name;
      SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        DeleteTreeForTest(child);
      } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryA(child.c_str());
      } else {
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(h, &data));
    FindClose(h);
  }
  RemoveDirectoryA(path.c_str());
}

bool WriteFileForTest(const std::string& path, const std::string& content) {
  return testdriver::WriteFileBytes(path, content);
}

std::optional<std::string> ReadFileForTest(const std::string& path) { return testdriver::ReadFileIfReadable(path); }

bool ExistsForTest(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::optional<LinkSetup> LinkCase(int number) {
  const char* base = std::getenv("SCRUBBER_LINK_CASES");
  if (!base || !*base) return std::nullopt;
  std::string dir = std::string(base) + "\\case" + std::to_string(number);
  return LinkSetup{dir + "\\app", dir + "\\app\\link", dir + "\\outside"};
}

std::vector<std::pair<std::string, std::string>> PendingRenames() {
  std::vector<std::pair<std::string, std::string>> pairs;
  Win32Registry registry;
  auto value = registry.QueryValue(RegRoot::LocalMachine, "System\\CurrentControlSet\\Control\\Session Manager",
                                   "PendingFileRenameOperations");
  if (!value) return pairs;
  std::vector<std::string> strings;
  std::string current;
  for (char c : value->data) {
    if (c == '\0') {
      strings.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  auto strip = [](std::string s) {
    if (!s.empty() && s[0] == '!') s.erase(0, 1);
    if (s.rfind("\\??\\", 0) == 0) s.erase(0, 4);
    return s;
  };
  // A final empty string ends the list; pairs come before it.
  for (std::size_t i = 0; i + 1 < strings.size(); i += 2) {
    if (strings[i].empty()) break;
    pairs.emplace_back(strip(strings[i]), strip(strings[i + 1]));
  }
  return pairs;
}

}  // namespace scrubber::testing
