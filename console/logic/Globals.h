#pragma once
// The console's process-wide state.
#include <string>

namespace rosterly {

struct Globals {
  // Chosen once in the Domain Selection dialog; empty until then.
  std::string DomainName;
};

}  // namespace rosterly
