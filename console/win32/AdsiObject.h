#pragma once
// A bound ADSI object and an enumeration over an IEnumVARIANT, behind the
// console's DirObject and DirEnumerator.
#include <windows.h>
#include <ole2.h>
#include <iads.h>

#include "Handles.h"
#include "platform/Directory.h"

namespace rosterly {

class AdsiObject : public DirObject {
 public:
  explicit AdsiObject(ComRef<IADs> object) : object_(std::move(object)) {}

  Result<std::string> Name() override;
  Result<std::string> ADsPath() override;
  Status SetFilter(const std::vector<std::string>& classes) override;
  Result<std::unique_ptr<DirEnumerator>> Enumerate() override;
  Result<std::unique_ptr<DirEnumerator>> Members() override;
  Status Add(std::string_view memberADsPath) override;
  Status Remove(std::string_view memberADsPath) override;
  Status SetInfo() override;
  Result<bool> IsMember(std::string_view memberADsPath) override;

 private:
  // The container or group interface, asked for on first use.
  Status Container();
  Status Group();

  ComRef<IADs> object_;
  ComRef<IADsContainer> container_;
  ComRef<IADsGroup> group_;
};

class AdsiEnumerator : public DirEnumerator {
 public:
  explicit AdsiEnumerator(ComRef<IEnumVARIANT> items) : items_(std::move(items)) {}
  Result<std::unique_ptr<DirObject>> Next() override;

 private:
  ComRef<IEnumVARIANT> items_;
  bool done_ = false;
};

// The IEnumVARIANT behind a collection's _NewEnum.
Result<std::unique_ptr<DirEnumerator>> EnumeratorFrom(HRESULT hr, ComRef<IUnknown>& newEnum);

}  // namespace rosterly
