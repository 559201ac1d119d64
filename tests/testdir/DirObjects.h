#pragma once
// The provider's COM objects: every object of the namespace (IADs, and
// IADsContainer or IADsGroup as its kind allows), member collections and
// enumerators. Each works on the fixture snapshot it was made from; only
// binding, enumerating and storing changes look at the file again.
#include <windows.h>
#include <ole2.h>
#include <iads.h>

#include <memory>
#include <optional>
#include <vector>

#include "ComSupport.h"
#include "Namespace.h"

namespace rosterly::testdir {

using Snapshot = std::shared_ptr<const Fixture>;

// A new object with one reference, as IDispatch.
IDispatch* NewDirObject(Snapshot fixture, Node node);

class DirObject final : public IADsGroup, public IADsContainer, private RefCounted {
 public:
  DirObject(Snapshot fixture, Node node) : fixture_(std::move(fixture)), node_(std::move(node)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  TESTDIR_IUNKNOWN
  TESTDIR_NO_TYPEINFO

  // IADs
  HRESULT STDMETHODCALLTYPE get_Name(BSTR* out) override;
  HRESULT STDMETHODCALLTYPE get_Class(BSTR* out) override;
  HRESULT STDMETHODCALLTYPE get_GUID(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_ADsPath(BSTR* out) override;
  HRESULT STDMETHODCALLTYPE get_Parent(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Schema(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetInfo() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetInfo() override;
  HRESULT STDMETHODCALLTYPE Get(BSTR, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Put(BSTR, VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetEx(BSTR, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE PutEx(LONG, BSTR, VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetInfoEx(VARIANT, LONG) override { return E_NOTIMPL; }

  // IADsGroup
  HRESULT STDMETHODCALLTYPE get_Description(BSTR* out) override { return ReturnString("", out); }
  HRESULT STDMETHODCALLTYPE put_Description(BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Members(IADsMembers** out) override;
  HRESULT STDMETHODCALLTYPE IsMember(BSTR member, VARIANT_BOOL* out) override;
  HRESULT STDMETHODCALLTYPE Add(BSTR member) override;
  HRESULT STDMETHODCALLTYPE Remove(BSTR member) override;

  // IADsContainer
  HRESULT STDMETHODCALLTYPE get_Count(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown** out) override;
  HRESULT STDMETHODCALLTYPE get_Filter(VARIANT* out) override;
  HRESULT STDMETHODCALLTYPE put_Filter(VARIANT filter) override;
  HRESULT STDMETHODCALLTYPE get_Hints(VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Hints(VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetObject(BSTR className, BSTR relativeName, IDispatch** out) override;
  HRESULT STDMETHODCALLTYPE Create(BSTR, BSTR, IDispatch**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Delete(BSTR, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CopyHere(BSTR, BSTR, IDispatch**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE MoveHere(BSTR, BSTR, IDispatch**) override { return E_NOTIMPL; }

 private:
  bool IsContainer() const { return node_.kind == Kind::Namespace || node_.kind == Kind::Domain || node_.kind == Kind::Computer; }
  bool IsGroup() const { return node_.kind == Kind::Group; }
  // The fixture's latency of whatever serves this object, before each call.
  void Travel() const;
  // The injected failure of `op` on this object (enumeration breaks apart).
  HRESULT InjectedFailure(Op op) const;
  const Injected* Break(Op op) const;
  // The injected success without a result (code "nothing") of `op`.
  bool HandsOutNothing(Op op) const;
  // Stores membership changes in the fixture file.
  HRESULT Store(const std::vector<std::pair<bool, std::string>>& changes) const;
  // Members as they stand with this object's unsaved changes.
  std::vector<std::string>& Working();
  HRESULT ChangeMembership(BSTR member, bool add);

  Snapshot fixture_;
  Node node_;
  std::vector<std::string> filter_;  // upper-case class names
  std::optional<std::vector<std::string>> working_;
  std::vector<std::pair<bool, std::string>> pending_;  // add?, member ADsPath
};

}  // namespace rosterly::testdir
