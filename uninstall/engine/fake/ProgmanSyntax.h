#pragma once
// The Program Manager's execute commands as its server reads them, for the
// test servers (the in-memory fake and the Win32 stand-in): "[Verb(arg,arg)]"
// any number of times in one text. An argument in double quotes may hold
// commas, parentheses and brackets and loses its quotes; there is no escape,
// so a quoted argument cannot hold a double quote. An unquoted argument runs
// to the next comma or closing parenthesis, blanks around it dropped.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scrubber {

struct ProgmanCommand {
  std::string verb;
  std::vector<std::string> args;
};

// The commands of a text, or nullopt when it does not follow the syntax.
std::optional<std::vector<ProgmanCommand>> ParseProgmanCommands(std::string_view text);

}  // namespace scrubber
