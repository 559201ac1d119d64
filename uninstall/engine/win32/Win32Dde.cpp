#include "Win32Dde.h"

#include <windows.h>
#include <ddeml.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Handles.h"

namespace scrubber {
namespace {

// A pure client: every server transaction is refused by DDEML itself.
static_assert(CBF_FAIL_ALLSVRXACTIONS == 0x3F000);
static_assert(CP_WINANSI == 1004);
static_assert(CF_TEXT == 1);

HDDEDATA CALLBACK IgnoreEverything(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

// DDEML reports its own error numbers, not the system's; they are passed on
// for diagnostics only.
Status DdeFailure(DWORD instance) { return Status::Fail(SysError::Other, DdeGetLastError(instance)); }

class Win32DdeConversation : public DdeConversation {
 public:
  Win32DdeConversation(DWORD instance, HCONV conversation) : instance_(instance), conversation_(conversation) {}

  std::optional<std::string> Request(std::string_view item, std::uint32_t timeoutMs) override {
    win32::DdeString name(instance_, std::string(item).c_str());
    if (!name.valid()) return std::nullopt;
    HDDEDATA data = DdeClientTransaction(nullptr, 0, conversation_.get(), name.get(), CF_TEXT, XTYP_REQUEST,
                                         timeoutMs, nullptr);
    if (!data) return std::nullopt;
    std::vector<char> buffer(kDdeReplyBytes);
    DWORD got = DdeGetData(data, reinterpret_cast<LPBYTE>(buffer.data()), static_cast<DWORD>(buffer.size()), 0);
    (void)DdeFreeDataHandle(data);
    // Keep room for the terminator a full buffer would lack, and stop at the
    // first NUL as text does.
    std::size_t kept = std::min<std::size_t>(got, kDdeReplyBytes - 1);
    auto end = std::find(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(kept), '\0');
    return std::string(buffer.begin(), end);
  }

  Status Execute(std::string_view command, std::uint32_t timeoutMs) override {
    std::string text(command);  // its terminating NUL is sent too
    HDDEDATA done = DdeClientTransaction(reinterpret_cast<LPBYTE>(text.data()), static_cast<DWORD>(text.size() + 1),
                                         conversation_.get(), nullptr, 0, XTYP_EXECUTE, timeoutMs, nullptr);
    if (!done) return DdeFailure(instance_);
    return Status::Ok();
  }

 private:
  DWORD instance_;
  win32::DdeConversation conversation_;
};

class Win32DdeInstance : public DdeInstance {
 public:
  explicit Win32DdeInstance(DWORD instance) : instance_(instance) {}

  std::unique_ptr<DdeConversation> Connect(std::string_view service, std::string_view topic) override {
    win32::DdeString serviceName(instance_.get(), std::string(service).c_str());
    win32::DdeString topicName(instance_.get(), std::string(topic).c_str());
    if (!serviceName.valid() || !topicName.valid()) return nullptr;
    HCONV conversation = DdeConnect(instance_.get(), serviceName.get(), topicName.get(), nullptr);
    if (!conversation) return nullptr;
    return std::make_unique<Win32DdeConversation>(instance_.get(), conversation);
  }

 private:
  win32::DdeInstance instance_;
};

}  // namespace

std::unique_ptr<DdeInstance> Win32DdeClient::Initialize() {
  DWORD instance = 0;
  if (DdeInitializeA(&instance, IgnoreEverything, CBF_FAIL_ALLSVRXACTIONS, 0) != DMLERR_NO_ERROR) return nullptr;
  return std::make_unique<Win32DdeInstance>(instance);
}

}  // namespace scrubber
