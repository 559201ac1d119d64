#pragma once
// Fills a message's "%s" with a text. Messages may come from a settings file
// that anyone can edit, so they are never handed to printf: only "%s" (each
// one, with the same text) and "%%" are replaced, anything else stays as written.
#include <string>
#include <string_view>

namespace scrubber {

std::string FillText(std::string_view format, std::string_view text);

}  // namespace scrubber
