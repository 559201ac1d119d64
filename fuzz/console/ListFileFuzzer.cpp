// Any bytes as a computer-list file: the reader must not crash, read past the
// input or grow beyond it, and every name it yields must be a non-empty piece
// of the input that the sorted list then keeps in order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "logic/ComputerListReader.h"
#include "logic/SortedList.h"
#include "logic/TextCompare.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  auto names = rosterly::ReadComputerList(input);
  std::size_t total = 0;
  for (const auto& name : names) {
    if (name.empty() || input.find(name) == std::string_view::npos) std::abort();
    total += name.size();
  }
  if (total > size) std::abort();

  rosterly::SortedList list;
  list.AddMany(std::move(names));
  for (std::size_t i = 1; i < list.Count(); ++i)
    if (rosterly::CompareNoCase(list.Text(i - 1), list.Text(i)) > 0) std::abort();
  return 0;
}
