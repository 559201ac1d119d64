#include "FillText.h"

namespace scrubber {

std::string FillText(std::string_view format, std::string_view text) {
  std::string out;
  out.reserve(format.size() + text.size());
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      if (format[i + 1] == 's') {
        out += text;
        ++i;
        continue;
      }
      if (format[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out;
}

}  // namespace scrubber
