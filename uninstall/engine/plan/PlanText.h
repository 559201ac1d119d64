#pragma once
// Small text helpers of the dry run: file-name patterns as FindFirstFile
// matches them, upper-case keys, and the line diff that turns a rewritten
// file into the lines it commented out.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scrubber {

// "*" and "*.*" match every name; otherwise "*" and "?" with letter case
// ignored, "NAME.*" also matching NAME.
bool NameMatches(std::string_view pattern, std::string_view name);

std::string FoldKey(std::string_view text);

// Lines of a text, split at LF with a CR before it dropped.
std::vector<std::string> SplitLines(std::string_view text);

// When `after` is `before` with some lines prefixed by ";", those lines as
// they were; nullopt when the texts differ in any other way.
std::optional<std::vector<std::string>> CommentedOutLines(std::string_view before, std::string_view after);

}  // namespace scrubber
