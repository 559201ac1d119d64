#include "WideText.h"

#include <climits>

namespace rosterly {

BstrOwner BstrFromAnsi(std::string_view text) {
  if (text.size() > INT_MAX / 2) return BstrOwner();
  const int length = static_cast<int>(text.size());
  const int wide = length == 0 ? 0 : MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  BstrOwner result(SysAllocStringLen(nullptr, static_cast<UINT>(wide)));
  if (result.get() && wide > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), length, result.get(), wide);
  return result;
}

std::string AnsiFromWide(const wchar_t* text, std::size_t length) {
  if (!text || length == 0 || length > INT_MAX / 4) return std::string();
  const int wide = static_cast<int>(length);
  const int bytes = WideCharToMultiByte(CP_ACP, 0, text, wide, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0) WideCharToMultiByte(CP_ACP, 0, text, wide, result.data(), bytes, nullptr, nullptr);
  return result;
}

std::string AnsiFromBstr(BSTR text) { return text ? AnsiFromWide(text, SysStringLen(text)) : std::string(); }

}  // namespace rosterly
