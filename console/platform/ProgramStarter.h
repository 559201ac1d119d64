#pragma once
// Starting programs and documents for the About box.
#include <string_view>

#include "Status.h"

namespace rosterly {

class ProgramStarter {
 public:
  virtual ~ProgramStarter() = default;
  // Starts the program in a normal window that gets the focus.
  virtual Status StartProgram(std::string_view path) = 0;
  // Hands a document or address to the shell (verb "OPEN"), normal window.
  virtual Status OpenWithShell(std::string_view verb, std::string_view target) = 0;
};

}  // namespace rosterly
