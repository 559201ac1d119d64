#pragma once
// The console's directory service through ADSI: objects are opened with
// ADsOpenObject under the caller's own logon (secure authentication, no
// user name or password), containers and member collections are walked with
// IEnumVARIANT.
//
// COM is the caller's job: the thread that binds must have called
// CoInitialize (or CoInitializeEx) before the first Bind, must use every
// object and enumerator on that same thread, and must release them all
// before it calls CoUninitialize.
#include "platform/Directory.h"

namespace rosterly {

class AdsiDirectory : public Directory {
 public:
  Result<std::unique_ptr<DirObject>> Bind(std::string_view path, BindAs as) override;
};

}  // namespace rosterly
