#include "CanonicalPathNames.h"

#include "CanonicalizePath.h"

namespace scrubber {

std::string CanonicalPathNames::Long(std::string_view path) {
  std::string result(path);
  CanonicalizePath(fs_, result, PathForm::Long);
  return result;
}

std::string CanonicalPathNames::Short(std::string_view path) {
  std::string result(path);
  CanonicalizePath(fs_, result, PathForm::Short);
  return result;
}

}  // namespace scrubber
