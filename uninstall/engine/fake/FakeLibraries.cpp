#include "FakeLibraries.h"

#include "files/PathText.h"

namespace scrubber {
namespace {


class FakeLibrary : public Library {
 public:
  // Holds a copy of the exports as they were at load time.
  FakeLibrary(FakeLibraries& owner, std::string path, FakeLibraries::Exports exports)
      : owner_(owner), path_(std::move(path)), exports_(std::move(exports)) {}
  ~FakeLibrary() override {
    owner_.Record("Free " + path_);
    owner_.Freed();
  }
  bool HasExport(std::string_view name) override { return exports_.count(std::string(name)) != 0; }
  std::optional<std::int32_t> Call(std::string_view name, EntryArgs) override {
    if (owner_.faults().Check("Call")) return std::nullopt;
    auto it = exports_.find(std::string(name));
    if (it == exports_.end()) return std::nullopt;
    owner_.Record("Call " + std::string(name));
    return it->second ? it->second() : 0;
  }

 private:
  FakeLibraries& owner_;
  std::string path_;
  FakeLibraries::Exports exports_;
};

}  // namespace

FakeLibraries::FakeLibraries() : faults_({"Load", "Call"}) {}
FakeLibraries::~FakeLibraries() = default;

std::unique_ptr<Library> FakeLibraries::Load(std::string_view path) {
  auto it = libraries_.find(AsciiUpperCase(path));
  if (faults_.Check("Load") || it == libraries_.end()) {
    Record("Load " + std::string(path) + " failed");
    return nullptr;
  }
  Record("Load " + std::string(path));
  ++loaded_;
  return std::make_unique<FakeLibrary>(*this, std::string(path), it->second);
}

void FakeLibraries::AddLibrary(std::string_view path) {
  libraries_[AsciiUpperCase(path)];
}

void FakeLibraries::AddExport(std::string_view path, std::string_view name, Entry entry) {
  libraries_[AsciiUpperCase(path)][std::string(name)] = std::move(entry);
}

void FakeLibraries::AddExport(std::string_view path, std::string_view name, std::int32_t result) {
  AddExport(path, name, [result] { return result; });
}

void FakeLibraries::AddOle32(std::int32_t initializeResult) {
  AddExport("OLE32.DLL", "OleInitialize", initializeResult);
  AddExport("OLE32.DLL", "OleUninitialize", 0);
}

void FakeLibraries::AddSelfRegistering(std::string_view path) {
  AddExport(path, "DllRegisterServer", 0);
  AddExport(path, "DllUnregisterServer", 0);
}

}  // namespace scrubber
