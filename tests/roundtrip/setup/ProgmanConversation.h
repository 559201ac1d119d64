#pragma once
// A conversation with the Program Manager over DDE (service and topic
// "PROGMAN"): execute commands and requested items.
#include <memory>
#include <string>

#include "Status.h"

namespace sample {

class ProgmanConversation {
 public:
  // Null, with the reason in status, when no Program Manager answers.
  static std::unique_ptr<ProgmanConversation> Connect(Status& status);
  ~ProgmanConversation();
  ProgmanConversation(const ProgmanConversation&) = delete;
  ProgmanConversation& operator=(const ProgmanConversation&) = delete;

  [[nodiscard]] Status Execute(const std::string& command);
  [[nodiscard]] Status Request(const std::string& item, std::string& reply);

 private:
  ProgmanConversation(unsigned long instance, void* conversation) : instance_(instance), conversation_(conversation) {}
  unsigned long instance_;
  void* conversation_;
};

}  // namespace sample
