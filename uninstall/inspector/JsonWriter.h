#pragma once
// A small streaming JSON writer with two-space indentation. Text arrives in
// the ANSI code page; `toUtf8` turns it into UTF-8 before it is escaped.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace scrubber {

using Utf8Encoder = std::function<std::string(std::string_view ansi)>;

// Bytes 0x80 to 0xFF read as code page 1252, for builds without the platform.
std::string Cp1252ToUtf8(std::string_view ansi);

class JsonWriter {
 public:
  explicit JsonWriter(Utf8Encoder toUtf8) : toUtf8_(std::move(toUtf8)) {}

  void BeginObject(std::string_view key = {});
  void EndObject();
  void BeginArray(std::string_view key = {});
  void EndArray();
  void String(std::string_view key, std::string_view value);
  void Number(std::string_view key, std::int64_t value);
  void Bool(std::string_view key, bool value);
  void Null(std::string_view key);

  const std::string& text() const { return out_; }

 private:
  void Item(std::string_view key);
  void Quoted(std::string_view utf8);

  Utf8Encoder toUtf8_;
  std::string out_;
  std::vector<bool> first_;  // per open container: nothing written yet
};

}  // namespace scrubber
