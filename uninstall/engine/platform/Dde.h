#pragma once
// A dynamic data exchange client (DDEML), as the Program Manager's interface
// needs it: a client instance that fails every server transaction (afCmd
// 0x3F000), string handles in the ANSI code page (1004), one conversation.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "SysError.h"

namespace scrubber {

// Every reply is read into a buffer of this many bytes; a longer reply is
// cut to kDdeReplyBytes - 1 bytes so that it stays terminated.
inline constexpr std::size_t kDdeReplyBytes = 16384;

// One conversation; disconnected when destroyed.
class DdeConversation {
 public:
  virtual ~DdeConversation() = default;
  // Requests an item in text format (CF_TEXT). The reply up to its first NUL
  // and at most kDdeReplyBytes - 1 bytes; nullopt when no data came back.
  virtual std::optional<std::string> Request(std::string_view item, std::uint32_t timeoutMs) = 0;
  // Sends the command text, terminating NUL included, as an execute
  // transaction (clipboard format 0).
  virtual Status Execute(std::string_view command, std::uint32_t timeoutMs) = 0;
};

// One client instance; uninitialised when destroyed (after its conversations).
class DdeInstance {
 public:
  virtual ~DdeInstance() = default;
  // nullptr when no server answers on the service and topic.
  virtual std::unique_ptr<DdeConversation> Connect(std::string_view service, std::string_view topic) = 0;
};

class DdeClient {
 public:
  virtual ~DdeClient() = default;
  // nullptr when the instance cannot be initialised.
  virtual std::unique_ptr<DdeInstance> Initialize() = 0;
};

}  // namespace scrubber
