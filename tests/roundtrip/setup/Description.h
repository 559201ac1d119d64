#pragma once
// The description of a sample installation: one step per line, read into
// keywords and fields. The format is documented in Description.cpp.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "Status.h"

namespace sample {

struct Step {
  int line = 0;
  // State that the installation expects to find, made by --prepare only.
  bool given = false;
  std::string keyword;
  std::vector<std::string> fields;
};

// Variables by name, without the percent signs; the description's "set"
// lines add to them, but never replace one that is already known.
using Variables = std::map<std::string, std::string>;

[[nodiscard]] Status ReadDescription(std::string_view text, Variables& variables, std::vector<Step>& steps);

}  // namespace sample
