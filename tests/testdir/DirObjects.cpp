#include "DirObjects.h"

#include <algorithm>

#include "FixtureStore.h"

namespace rosterly::testdir {
namespace {

bool SamePath(const std::string& a, const std::string& b) { return Upper(a) == Upper(b); }

HRESULT Code(std::uint32_t code) { return static_cast<HRESULT>(code); }

// Children or members handed out one by one; an injected break fails the
// enumeration once `after` objects are out.
class Enumerator final : public IEnumVARIANT, private RefCounted {
 public:
  Enumerator(Snapshot fixture, std::vector<Node> nodes, const testdir::Injected* breaks)
      : fixture_(std::move(fixture)), nodes_(std::move(nodes)) {
    if (breaks) breaks_ = *breaks;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IEnumVARIANT) return E_NOINTERFACE;
    *out = static_cast<IEnumVARIANT*>(this);
    AddRef();
    return S_OK;
  }
  TESTDIR_IUNKNOWN

  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override {
    if (!items || (count > 1 && !fetched)) return E_POINTER;
    ULONG n = 0;
    HRESULT hr = S_OK;
    for (; n < count; ++n) {
      if (breaks_ && position_ == breaks_->after) {
        // A break reached inside a batch ends the batch; the next call fails.
        hr = n == 0 ? Code(breaks_->code) : S_OK;
        break;
      }
      if (position_ >= nodes_.size()) {
        hr = S_FALSE;
        break;
      }
      VariantInit(&items[n]);
      items[n].vt = VT_DISPATCH;
      items[n].pdispVal = NewDirObject(fixture_, nodes_[position_++]);
    }
    if (fetched) *fetched = n;
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    const std::size_t left = nodes_.size() - position_;
    position_ += std::min<std::size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    position_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }

 private:
  Snapshot fixture_;
  std::vector<Node> nodes_;
  std::size_t position_ = 0;
  std::optional<testdir::Injected> breaks_;
};

class MemberCollection final : public IADsMembers, private RefCounted {
 public:
  MemberCollection(Snapshot fixture, std::vector<std::string> members, const testdir::Injected* breaks)
      : fixture_(std::move(fixture)), members_(std::move(members)) {
    if (breaks) breaks_ = *breaks;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IADsMembers) return E_NOINTERFACE;
    *out = static_cast<IADsMembers*>(this);
    AddRef();
    return S_OK;
  }
  TESTDIR_IUNKNOWN
  TESTDIR_NO_TYPEINFO

  HRESULT STDMETHODCALLTYPE get_Count(LONG* out) override {
    if (!out) return E_POINTER;
    *out = static_cast<LONG>(members_.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown** out) override {
    if (!out) return E_POINTER;
    *out = new Enumerator(fixture_, MemberNodes(members_), breaks_ ? &*breaks_ : nullptr);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Filter(VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Filter(VARIANT) override { return E_NOTIMPL; }

 private:
  Snapshot fixture_;
  std::vector<std::string> members_;
  std::optional<testdir::Injected> breaks_;
};

// Class names from put_Filter's VARIANT: an array of VARIANT BSTRs (what
// ADSI clients pass), a single BSTR, or nothing to clear the filter.
HRESULT FilterClasses(const VARIANT& filter, std::vector<std::string>& classes) {
  classes.clear();
  if (filter.vt == VT_EMPTY) return S_OK;
  if (filter.vt == VT_BSTR) {
    classes.push_back(Upper(FromBstr(filter.bstrVal)));
    return S_OK;
  }
  if (filter.vt != (VT_ARRAY | VT_VARIANT) || !filter.parray || SafeArrayGetDim(filter.parray) != 1)
    return E_INVALIDARG;
  LONG low = 0, high = -1;
  SafeArrayGetLBound(filter.parray, 1, &low);
  SafeArrayGetUBound(filter.parray, 1, &high);
  for (LONG i = low; i <= high; ++i) {
    VARIANT item;
    VariantInit(&item);
    if (FAILED(SafeArrayGetElement(filter.parray, &i, &item))) return E_INVALIDARG;
    const bool text = item.vt == VT_BSTR;
    if (text) classes.push_back(Upper(FromBstr(item.bstrVal)));
    VariantClear(&item);
    if (!text) return E_INVALIDARG;
  }
  return S_OK;
}

}  // namespace

IDispatch* NewDirObject(Snapshot fixture, Node node) {
  return static_cast<IADsGroup*>(new DirObject(std::move(fixture), std::move(node)));
}

HRESULT STDMETHODCALLTYPE DirObject::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IADs)
    *out = static_cast<IADsGroup*>(this);
  else if (iid == IID_IADsGroup && IsGroup())
    *out = static_cast<IADsGroup*>(this);
  else if (iid == IID_IADsContainer && IsContainer())
    *out = static_cast<IADsContainer*>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

void DirObject::Travel() const {
  if (const unsigned ms = fixture_->LatencyOf(ServedBy(node_))) Sleep(ms);
}

HRESULT DirObject::InjectedFailure(Op op) const {
  if (!fixture_->HasFailures()) return S_OK;
  const testdir::Injected* injected = fixture_->FailureFor(AliasesOf(node_), op);
  return injected && !injected->breaks ? Code(injected->code) : S_OK;
}

const Injected* DirObject::Break(Op op) const {
  if (!fixture_->HasFailures()) return nullptr;
  const testdir::Injected* injected = fixture_->FailureFor(AliasesOf(node_), op);
  return injected && injected->breaks ? injected : nullptr;
}

bool DirObject::HandsOutNothing(Op op) const {
  if (!fixture_->HasFailures()) return false;
  const testdir::Injected* injected = fixture_->FailureFor(AliasesOf(node_), op);
  return injected && injected->code == kNothing;
}

HRESULT STDMETHODCALLTYPE DirObject::get_Name(BSTR* out) {
  Travel();
  if (const HRESULT hr = InjectedFailure(Op::Name); FAILED(hr)) return hr;
  return ReturnString(node_.name, out);
}

HRESULT STDMETHODCALLTYPE DirObject::get_Class(BSTR* out) { return ReturnString(ClassOf(*fixture_, node_), out); }

HRESULT STDMETHODCALLTYPE DirObject::get_ADsPath(BSTR* out) {
  Travel();
  if (const HRESULT hr = InjectedFailure(Op::ADsPath); FAILED(hr)) return hr;
  return ReturnString(ADsPathOf(node_), out);
}

std::vector<std::string>& DirObject::Working() {
  if (!working_) {
    const int g = fixture_->FindGroup(node_.local ? node_.computer : node_.domain, node_.name, node_.local);
    working_ = g >= 0 ? fixture_->Groups()[g].members : std::vector<std::string>{};
  }
  return *working_;
}

HRESULT STDMETHODCALLTYPE DirObject::Members(IADsMembers** out) {
  Travel();
  if (!out) return E_POINTER;
  *out = nullptr;
  if (const HRESULT hr = InjectedFailure(Op::Members); FAILED(hr)) return hr;
  if (HandsOutNothing(Op::Members)) return S_OK;
  *out = new MemberCollection(fixture_, Working(), Break(Op::Members));
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DirObject::IsMember(BSTR member, VARIANT_BOOL* out) {
  Travel();
  if (!out) return E_POINTER;
  const std::string path = FromBstr(member);
  RecordCall(*fixture_, "ismember " + ADsPathOf(node_) + " " + path);
  const auto& members = Working();
  const bool found = std::any_of(members.begin(), members.end(), [&](const std::string& m) { return SamePath(m, path); });
  *out = found ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT DirObject::ChangeMembership(BSTR member, bool add) {
  Travel();
  RecordCall(*fixture_, std::string(add ? "add " : "remove ") + ADsPathOf(node_) + " " + FromBstr(member));
  if (const HRESULT hr = InjectedFailure(add ? Op::Add : Op::Remove); FAILED(hr)) return hr;
  const std::string path = FromBstr(member);
  if (Upper(path.substr(0, 8)) != "WINNT://" || path.size() == 8) return Code(kBadPathName);
  auto& members = Working();
  const auto it = std::find_if(members.begin(), members.end(), [&](const std::string& m) { return SamePath(m, path); });
  if (add && it != members.end()) return Code(node_.local ? kMemberInAlias : kMemberInGroup);
  if (!add && it == members.end()) return Code(node_.local ? kMemberNotInAlias : kMemberNotInGroup);
  if (fixture_->ChangesAtOnce()) {
    if (const HRESULT hr = Store({{add, path}}); FAILED(hr)) return hr;
  } else {
    pending_.emplace_back(add, path);
  }
  if (add) members.push_back(path);
  else members.erase(it);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DirObject::Add(BSTR member) { return ChangeMembership(member, true); }
HRESULT STDMETHODCALLTYPE DirObject::Remove(BSTR member) { return ChangeMembership(member, false); }

HRESULT DirObject::Store(const std::vector<std::pair<bool, std::string>>& changes) const {
  return FixtureStore::Instance().Update([&](Fixture& fixture) {
    const int g = fixture.FindGroup(node_.local ? node_.computer : node_.domain, node_.name, node_.local);
    if (g < 0) return Code(kGroupNotFound);
    auto& members = fixture.MutableGroups()[g].members;
    // Replayed on the file as it is now, so that changes stored by others
    // in the meantime stay.
    for (const auto& [add, path] : changes) {
      const auto it = std::find_if(members.begin(), members.end(), [&](const std::string& m) { return SamePath(m, path); });
      if (add && it == members.end()) members.push_back(path);
      if (!add && it != members.end()) members.erase(it);
    }
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE DirObject::SetInfo() {
  Travel();
  RecordCall(*fixture_, "setinfo " + ADsPathOf(node_));
  if (const HRESULT hr = InjectedFailure(Op::SetInfo); FAILED(hr)) return hr;
  if (pending_.empty()) return S_OK;
  const HRESULT hr = Store(pending_);
  if (SUCCEEDED(hr)) pending_.clear();
  return hr;
}

HRESULT STDMETHODCALLTYPE DirObject::get__NewEnum(IUnknown** out) {
  Travel();
  if (!out) return E_POINTER;
  *out = nullptr;
  if (const HRESULT hr = InjectedFailure(Op::Enumerate); FAILED(hr)) return hr;
  if (HandsOutNothing(Op::Enumerate)) return S_OK;
  // Children as the file holds them now.
  Snapshot now;
  if (const HRESULT hr = FixtureStore::Instance().Current(now); FAILED(hr)) return hr;
  fixture_ = now;
  *out = new Enumerator(now, ChildrenOf(*now, node_, filter_), Break(Op::Enumerate));
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DirObject::get_Filter(VARIANT* out) {
  if (!out) return E_POINTER;
  VariantInit(out);
  SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(filter_.size()));
  if (!array) return E_OUTOFMEMORY;
  for (LONG i = 0; i < static_cast<LONG>(filter_.size()); ++i) {
    VARIANT item;
    item.vt = VT_BSTR;
    item.bstrVal = ToBstr(filter_[static_cast<std::size_t>(i)]);
    SafeArrayPutElement(array, &i, &item);
    VariantClear(&item);
  }
  out->vt = VT_ARRAY | VT_VARIANT;
  out->parray = array;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DirObject::put_Filter(VARIANT filter) {
  Travel();
  if (const HRESULT hr = InjectedFailure(Op::Filter); FAILED(hr)) return hr;
  return FilterClasses(filter, filter_);
}

HRESULT STDMETHODCALLTYPE DirObject::GetObject(BSTR className, BSTR relativeName, IDispatch** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  std::string path = ADsPathOf(node_);
  path += (node_.kind == Kind::Namespace ? "//" : "/") + FromBstr(relativeName);
  if (className && SysStringLen(className)) path += "," + FromBstr(className);
  Node child;
  if (const std::uint32_t code = Resolve(*fixture_, path, child)) return Code(code);
  *out = NewDirObject(fixture_, std::move(child));
  return S_OK;
}

}  // namespace rosterly::testdir
