#pragma once
// Reads a computer-list file: plain text, one byte per character. A field ends
// at a comma or a line end (CR LF, LF or CR); blanks and tabs in front of a
// field are skipped; a field that begins with a double quote runs to the next
// double quote and is taken without the quotes, commas and line ends inside
// included (an unclosed quote runs to the end of the input); anything between
// a closing quote and the next comma or line end is dropped. Empty fields
// (blank lines, ",,", "") name no computer and are left out.
#include <string>
#include <string_view>
#include <vector>

namespace rosterly {

std::vector<std::string> ReadComputerList(std::string_view bytes);

}  // namespace rosterly
