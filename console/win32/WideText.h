#pragma once
// The one place where the console's ANSI text meets COM's wide strings.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

#include "Handles.h"

namespace rosterly {

// ANSI (system code page) text as a new BSTR; an empty owner when out of memory.
BstrOwner BstrFromAnsi(std::string_view text);
// Wide text back to the system code page; characters it lacks become '?'.
std::string AnsiFromWide(const wchar_t* text, std::size_t length);
std::string AnsiFromBstr(BSTR text);

}  // namespace rosterly
