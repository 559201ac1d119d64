#include "CodePage.h"

namespace scrubber {

std::size_t FindLastSeparator(std::string_view text, char separator, const CodePage& codePage) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == separator) found = i;
    else if (codePage.IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ++i;
  }
  return found;
}

}  // namespace scrubber
