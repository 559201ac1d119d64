#include "AdsiObject.h"

#include "MapError.h"
#include "WideText.h"

namespace rosterly {
namespace {

using StringGetter = HRESULT (STDMETHODCALLTYPE IADs::*)(BSTR*);

Result<std::string> ReadString(IADs* object, StringGetter getter) {
  BstrOwner value;
  const HRESULT hr = (object->*getter)(value.put());
  if (FAILED(hr)) return StatusFromHresult(hr);
  return AnsiFromBstr(value.get());
}

// The filter as ADSI takes it: a VARIANT holding a SAFEARRAY of VARIANT BSTRs.
HRESULT BuildFilter(const std::vector<std::string>& classes, VARIANT& filter) {
  SafeArrayOwner array(SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(classes.size())));
  if (!array.get()) return E_OUTOFMEMORY;
  for (LONG i = 0; i < static_cast<LONG>(classes.size()); ++i) {
    VariantOwner item;
    BstrOwner name = BstrFromAnsi(classes[static_cast<std::size_t>(i)]);
    if (!name.get()) return E_OUTOFMEMORY;
    item.get().vt = VT_BSTR;
    item.get().bstrVal = name.Release();
    // SafeArrayPutElement copies the VARIANT; the owner frees our copy.
    if (const HRESULT hr = SafeArrayPutElement(array.get(), &i, &item.get()); FAILED(hr)) return hr;
  }
  filter.vt = VT_ARRAY | VT_VARIANT;
  filter.parray = array.Release();
  return S_OK;
}

}  // namespace

Result<std::unique_ptr<DirEnumerator>> EnumeratorFrom(HRESULT hr, ComRef<IUnknown>& newEnum) {
  if (FAILED(hr)) return StatusFromHresult(hr);
  ComRef<IEnumVARIANT> items;
  hr = newEnum.As(IID_IEnumVARIANT, items);
  if (FAILED(hr)) return StatusFromHresult(hr);
  return std::unique_ptr<DirEnumerator>(std::make_unique<AdsiEnumerator>(std::move(items)));
}

Result<std::string> AdsiObject::Name() { return ReadString(object_.get(), &IADs::get_Name); }

Result<std::string> AdsiObject::ADsPath() { return ReadString(object_.get(), &IADs::get_ADsPath); }

Status AdsiObject::Container() {
  if (container_) return Status::Ok();
  return StatusFromHresult(object_.As(IID_IADsContainer, container_));
}

Status AdsiObject::Group() {
  if (group_) return Status::Ok();
  return StatusFromHresult(object_.As(IID_IADsGroup, group_));
}

Status AdsiObject::SetFilter(const std::vector<std::string>& classes) {
  if (Status s = Container(); !s.ok()) return s;
  VariantOwner filter;
  if (const HRESULT hr = BuildFilter(classes, filter.get()); FAILED(hr)) return StatusFromHresult(hr);
  return StatusFromHresult(container_->put_Filter(filter.get()));
}

Result<std::unique_ptr<DirEnumerator>> AdsiObject::Enumerate() {
  if (Status s = Container(); !s.ok()) return s;
  ComRef<IUnknown> newEnum;
  const HRESULT hr = container_->get__NewEnum(newEnum.put());
  return EnumeratorFrom(hr, newEnum);
}

Result<std::unique_ptr<DirEnumerator>> AdsiObject::Members() {
  if (Status s = Group(); !s.ok()) return s;
  ComRef<IADsMembers> members;
  HRESULT hr = group_->Members(members.put());
  if (FAILED(hr)) return StatusFromHresult(hr);
  if (!members) return StatusFromHresult(E_POINTER);  // success, yet no collection
  ComRef<IUnknown> newEnum;
  hr = members->get__NewEnum(newEnum.put());
  return EnumeratorFrom(hr, newEnum);
}

Status AdsiObject::Add(std::string_view memberADsPath) {
  if (Status s = Group(); !s.ok()) return s;
  BstrOwner path = BstrFromAnsi(memberADsPath);
  if (!path.get()) return StatusFromHresult(E_OUTOFMEMORY);
  return StatusFromHresult(group_->Add(path.get()));
}

Status AdsiObject::Remove(std::string_view memberADsPath) {
  if (Status s = Group(); !s.ok()) return s;
  BstrOwner path = BstrFromAnsi(memberADsPath);
  if (!path.get()) return StatusFromHresult(E_OUTOFMEMORY);
  return StatusFromHresult(group_->Remove(path.get()));
}

Status AdsiObject::SetInfo() { return StatusFromHresult(object_->SetInfo()); }

Result<bool> AdsiObject::IsMember(std::string_view memberADsPath) {
  if (Status s = Group(); !s.ok()) return s;
  BstrOwner path = BstrFromAnsi(memberADsPath);
  if (!path.get()) return StatusFromHresult(E_OUTOFMEMORY);
  VARIANT_BOOL member = VARIANT_FALSE;
  if (const HRESULT hr = group_->IsMember(path.get(), &member); FAILED(hr)) return StatusFromHresult(hr);
  return member != VARIANT_FALSE;
}

Result<std::unique_ptr<DirObject>> AdsiEnumerator::Next() {
  if (done_) return std::unique_ptr<DirObject>();
  VariantOwner item;
  ULONG fetched = 0;
  const HRESULT hr = items_->Next(1, item.put(), &fetched);
  if (FAILED(hr)) return StatusFromHresult(hr);
  if (hr == S_FALSE || fetched == 0) {
    done_ = true;
    return std::unique_ptr<DirObject>();
  }
  VARIANT& v = item.get();
  IUnknown* unknown = nullptr;
  if (v.vt == VT_DISPATCH) unknown = v.pdispVal;
  else if (v.vt == VT_UNKNOWN) unknown = v.punkVal;
  if (!unknown) return StatusFromHresult(DISP_E_TYPEMISMATCH);
  ComRef<IADs> object;
  if (const HRESULT qi = unknown->QueryInterface(IID_IADs, object.putVoid()); FAILED(qi))
    return StatusFromHresult(qi);
  return std::unique_ptr<DirObject>(std::make_unique<AdsiObject>(std::move(object)));
}

}  // namespace rosterly
