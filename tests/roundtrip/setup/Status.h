#pragma once
// The outcome of one step of the sample installation: success, or the reason
// it failed, which the installer prints before it stops.
#include <string>
#include <utility>

namespace sample {

class [[nodiscard]] Status {
 public:
  static Status Ok() { return Status(); }
  static Status Fail(std::string why) { return Status(std::move(why)); }

  bool ok() const { return failed_ == false; }
  const std::string& why() const { return why_; }

 private:
  Status() = default;
  explicit Status(std::string why) : failed_(true), why_(std::move(why)) {}
  bool failed_ = false;
  std::string why_;
};

}  // namespace sample
