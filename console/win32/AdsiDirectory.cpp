#include "AdsiDirectory.h"

#include "AdsiObject.h"

#include <adshlp.h>
#include "MapError.h"
#include "WideText.h"

namespace rosterly {

Result<std::unique_ptr<DirObject>> AdsiDirectory::Bind(std::string_view path, BindAs as) {
  BstrOwner widePath = BstrFromAnsi(path);
  if (!widePath.get()) return StatusFromHresult(E_OUTOFMEMORY);
  const IID& iid = as == BindAs::Group ? IID_IADsGroup : IID_IADsContainer;
  // ADsOpenObject rather than ADsGetObject: the latter retries a refused
  // secure bind without authentication, which doubles the wait for a
  // computer that does not answer.
  ComRef<IUnknown> bound;
  HRESULT hr = ADsOpenObject(widePath.get(), nullptr, nullptr, ADS_SECURE_AUTHENTICATION, iid, bound.putVoid());
  if (FAILED(hr)) return StatusFromHresult(hr);
  ComRef<IADs> object;
  hr = bound.As(IID_IADs, object);
  if (FAILED(hr)) return StatusFromHresult(hr);
  return std::unique_ptr<DirObject>(std::make_unique<AdsiObject>(std::move(object)));
}

}  // namespace rosterly
