#include "JsonWriter.h"

#include <cstdio>

namespace scrubber {
namespace {

// Code page 1252 at 0x80..0x9F; the rest of the upper half is Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view ansi) {
  std::string out;
  for (unsigned char c : ansi) AppendUtf8(out, (c >= 0x80 && c < 0xA0) ? kCp1252High[c - 0x80] : c);
  return out;
}

void JsonWriter::Item(std::string_view key) {
  if (!first_.empty()) {
    if (!first_.back()) out_ += ',';
    first_.back() = false;
    out_ += '\n';
    out_.append(2 * first_.size(), ' ');
  }
  if (!key.empty()) {
    Quoted(key);
    out_ += ": ";
  }
}

void JsonWriter::Quoted(std::string_view utf8) {
  out_ += '"';
  for (unsigned char c : utf8) {
    if (c == '"' || c == '\\') {
      out_ += '\\';
      out_ += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out_ += escaped;
    } else {
      out_ += static_cast<char>(c);
    }
  }
  out_ += '"';
}

void JsonWriter::BeginObject(std::string_view key) {
  Item(key);
  out_ += '{';
  first_.push_back(true);
}

void JsonWriter::EndObject() {
  const bool empty = first_.back();
  first_.pop_back();
  if (!empty) {
    out_ += '\n';
    out_.append(2 * first_.size(), ' ');
  }
  out_ += '}';
  if (first_.empty()) out_ += '\n';
}

void JsonWriter::BeginArray(std::string_view key) {
  Item(key);
  out_ += '[';
  first_.push_back(true);
}

void JsonWriter::EndArray() {
  const bool empty = first_.back();
  first_.pop_back();
  if (!empty) {
    out_ += '\n';
    out_.append(2 * first_.size(), ' ');
  }
  out_ += ']';
}

void JsonWriter::String(std::string_view key, std::string_view value) {
  Item(key);
  Quoted(toUtf8_(value));
}

void JsonWriter::Number(std::string_view key, std::int64_t value) {
  Item(key);
  out_ += std::to_string(value);
}

void JsonWriter::Bool(std::string_view key, bool value) {
  Item(key);
  out_ += value ? "true" : "false";
}

void JsonWriter::Null(std::string_view key) {
  Item(key);
  out_ += "null";
}

}  // namespace scrubber
