#include "FixtureStore.h"

namespace rosterly::testdir {
namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

HRESULT LastError() { return HRESULT_FROM_WIN32(GetLastError()); }

}  // namespace

std::string FixturePath() {
  char buffer[MAX_PATH];
  DWORD length = GetEnvironmentVariableA(kFixtureVariable, buffer, sizeof buffer);
  if (length > 0 && length < sizeof buffer) return std::string(buffer, length);
  DWORD size = sizeof buffer;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, kSettingsKey, "Fixture", RRF_RT_REG_SZ, nullptr, buffer, &size) == ERROR_SUCCESS)
    return buffer;
  return std::string();
}

void RecordCall(const Fixture& fixture, const std::string& call) {
  if (fixture.RecordFile().empty()) return;
  static std::mutex order;  // one whole line at a time, whichever thread calls
  std::lock_guard<std::mutex> lock(order);
  FileHandle file(CreateFileA(fixture.RecordFile().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return;
  const std::string line = call + "\r\n";
  DWORD bytes = 0;
  WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &bytes, nullptr);
}

FixtureStore& FixtureStore::Instance() {
  static FixtureStore store;
  return store;
}

HRESULT FixtureStore::StampOf(const std::string& path, Stamp& stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (path.empty()) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return LastError();
  stamp.path = path;
  stamp.written = data.ftLastWriteTime;
  stamp.size = (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  return S_OK;
}

HRESULT FixtureStore::Read(const std::string& path, Fixture& fixture) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return LastError();
  std::string text;
  char buffer[65536];
  DWORD got = 0;
  for (;;) {
    if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return LastError();
    if (got == 0) break;
    text.append(buffer, got);
  }
  std::string error;
  if (!fixture.Parse(text, error)) {
    OutputDebugStringA(("RosterlyTestDir: " + path + ": " + error + "\n").c_str());
    return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
  }
  return S_OK;
}

HRESULT FixtureStore::Write(const std::string& path, const std::string& text, Stamp& written) {
  // Beside the fixture, so that the rename stays on one volume; named for
  // the process, so that two processes storing at once do not collide. The
  // rename alone keeps readers from ever seeing half a file; nothing here
  // must outlive a power cut, and flushing every change to the disk would
  // queue a whole fleet's changes behind one another.
  const std::string temporary = path + "." + std::to_string(GetCurrentProcessId()) + ".new";
  {
    FileHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file.valid()) return LastError();
    DWORD bytes = 0;
    if (!WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &bytes, nullptr) ||
        bytes != text.size()) {
      const HRESULT hr = LastError();
      DeleteFileA(temporary.c_str());
      return FAILED(hr) ? hr : E_FAIL;
    }
  }
  // Taken before the rename, which keeps the time and size: a change another
  // process makes right after it still shows as a change.
  if (const HRESULT hr = StampOf(temporary, written); FAILED(hr)) {
    DeleteFileA(temporary.c_str());
    return hr;
  }
  written.path = path;
  if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    const HRESULT hr = LastError();
    DeleteFileA(temporary.c_str());
    return hr;
  }
  return S_OK;
}

HRESULT FixtureStore::Current(std::shared_ptr<const Fixture>& out) {
  std::lock_guard<std::mutex> lock(mutex_);
  Stamp now;
  if (const HRESULT hr = StampOf(FixturePath(), now); FAILED(hr)) return hr;
  if (!fixture_ || !(now == stamp_)) {
    auto fresh = std::make_shared<Fixture>();
    if (const HRESULT hr = Read(now.path, *fresh); FAILED(hr)) return hr;
    fixture_ = std::move(fresh);
    stamp_ = now;
  }
  out = fixture_;
  return S_OK;
}

HRESULT FixtureStore::Update(const std::function<HRESULT(Fixture&)>& change) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::string path = FixturePath();
  if (path.empty()) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  // The file as it stands: the copy in memory unless someone else wrote it.
  std::shared_ptr<Fixture> fresh;
  Stamp now;
  if (fixture_ && SUCCEEDED(StampOf(path, now)) && now == stamp_) {
    fresh = std::make_shared<Fixture>(*fixture_);
  } else {
    fresh = std::make_shared<Fixture>();
    if (const HRESULT hr = Read(path, *fresh); FAILED(hr)) return hr;
  }
  if (const HRESULT hr = change(*fresh); FAILED(hr)) return hr;
  Stamp written;
  if (const HRESULT hr = Write(path, fresh->Serialize(), written); FAILED(hr)) return hr;
  // What was written is what Current() would read back: membership changes
  // leave the lookup tables as they are.
  fixture_ = std::move(fresh);
  stamp_ = written;
  return S_OK;
}

}  // namespace rosterly::testdir
