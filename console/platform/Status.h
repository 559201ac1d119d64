#pragma once
// Outcome of a platform call. A failure keeps the platform's own code (an
// HRESULT or a Win32 error code) and its description text, because the console
// shows that text to the administrator. Nothing here throws. Both types are
// [[nodiscard]]: a failure ignored on purpose is written `(void)call();`.
#include <cstdint>
#include <string>
#include <utility>

namespace rosterly {

class [[nodiscard]] Status {
 public:
  static Status Ok() { return Status(); }
  // The description is cleaned here, once for every source: system texts end
  // with a line end or a blank that the grid and the message boxes must not show.
  static Status Fail(std::uint32_t code, std::string description) {
    Status s;
    s.failed_ = true;
    s.code_ = code;
    while (!description.empty() &&
           (description.back() == '\r' || description.back() == '\n' || description.back() == ' '))
      description.pop_back();
    s.description_ = std::move(description);
    return s;
  }

  bool ok() const { return !failed_; }
  explicit operator bool() const { return ok(); }
  std::uint32_t code() const { return code_; }
  // One line as the platform words it, without a trailing line end.
  const std::string& description() const { return description_; }

 private:
  bool failed_ = false;
  std::uint32_t code_ = 0;
  std::string description_;
};

// A value or the failure that prevented it.
template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}  // NOLINT: implicit on purpose
  Result(Status failure) : status_(std::move(failure)) {}  // NOLINT

  bool ok() const { return status_.ok(); }
  const Status& status() const { return status_; }
  T& value() { return value_; }
  const T& value() const { return value_; }

 private:
  T value_{};
  Status status_;
};

// Codes the platform reports and the console reacts to.
inline constexpr std::uint32_t kErrAccessDenied = 0x80070005u;       // E_ACCESSDENIED
inline constexpr std::uint32_t kErrNoInterface = 0x80004002u;        // E_NOINTERFACE
inline constexpr std::uint32_t kErrInvalidArgument = 0x80070057u;    // E_INVALIDARG
inline constexpr std::uint32_t kErrFileNotFound = 0x80070002u;       // ERROR_FILE_NOT_FOUND
inline constexpr std::uint32_t kErrBadNetPath = 0x80070035u;         // ERROR_BAD_NETPATH
inline constexpr std::uint32_t kErrMoreData = 0x800700EAu;           // ERROR_MORE_DATA
// Adding a member that is already there / removing one that is not, for local
// groups (aliases) and for global groups.
inline constexpr std::uint32_t kErrMemberInAlias = 0x80070562u;      // ERROR_MEMBER_IN_ALIAS
inline constexpr std::uint32_t kErrMemberNotInAlias = 0x80070561u;   // ERROR_MEMBER_NOT_IN_ALIAS
inline constexpr std::uint32_t kErrMemberInGroup = 0x80070528u;      // ERROR_MEMBER_IN_GROUP
inline constexpr std::uint32_t kErrMemberNotInGroup = 0x80070529u;   // ERROR_MEMBER_NOT_IN_GROUP
// The same, as the network management functions word it.
inline constexpr std::uint32_t kErrUserInGroup = 0x800708BCu;        // NERR_UserInGroup
inline constexpr std::uint32_t kErrUserNotInGroup = 0x800708BDu;     // NERR_UserNotInGroup

}  // namespace rosterly
