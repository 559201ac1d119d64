// Reads a description; the format is explained at the top of
// tests/roundtrip/sample/product.txt. In short: "[given] keyword field | field",
// "#" starts a comment line, %NAME% is replaced by a variable ("%%" by a
// percent sign), and "set NAME | value" defines one for the lines after it.
#include "Description.h"

#include <cctype>

namespace sample {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

std::string_view NextWord(std::string_view& rest) {
  rest = Trim(rest);
  std::size_t end = 0;
  while (end < rest.size() && !std::isspace(static_cast<unsigned char>(rest[end]))) ++end;
  std::string_view word = rest.substr(0, end);
  rest = Trim(rest.substr(end));
  return word;
}

Status Expand(std::string_view text, const Variables& variables, int line, std::string& out) {
  out.clear();
  for (std::size_t at = 0; at < text.size();) {
    std::size_t open = text.find('%', at);
    if (open == std::string_view::npos) {
      out += text.substr(at);
      break;
    }
    std::size_t close = text.find('%', open + 1);
    if (close == std::string_view::npos) return Status::Fail("line " + std::to_string(line) + ": unpaired %");
    out += text.substr(at, open - at);
    at = close + 1;
    if (close == open + 1) {  // "%%" stands for a percent sign
      out += '%';
      continue;
    }
    auto found = variables.find(std::string(text.substr(open + 1, close - open - 1)));
    if (found == variables.end()) {
      return Status::Fail("line " + std::to_string(line) + ": unknown variable " +
                          std::string(text.substr(open, close - open + 1)));
    }
    out += found->second;
  }
  return Status::Ok();
}

Status ReadLine(std::string_view text, int number, Variables& variables, std::vector<Step>& steps) {
  Step step;
  step.line = number;
  step.keyword = NextWord(text);
  if (step.keyword == "given") {
    step.given = true;
    step.keyword = NextWord(text);
  }
  if (step.keyword.empty()) return Status::Fail("line " + std::to_string(number) + ": no keyword after \"given\"");
  while (!text.empty()) {
    std::size_t bar = text.find('|');
    std::string field;
    Status expanded = Expand(Trim(text.substr(0, bar)), variables, number, field);
    if (!expanded.ok()) return expanded;
    step.fields.push_back(field);
    text = bar == std::string_view::npos ? std::string_view() : text.substr(bar + 1);
  }
  if (step.keyword == "set") {
    if (step.fields.size() != 2) return Status::Fail("line " + std::to_string(number) + ": set NAME | VALUE");
    variables.emplace(step.fields[0], step.fields[1]);  // an option given earlier wins
    return Status::Ok();
  }
  steps.push_back(std::move(step));
  return Status::Ok();
}

}  // namespace

Status ReadDescription(std::string_view text, Variables& variables, std::vector<Step>& steps) {
  int number = 0;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++number;
    if (line.empty() || line.front() == '#') continue;
    Status read = ReadLine(line, number, variables, steps);
    if (!read.ok()) return read;
  }
  return Status::Ok();
}

}  // namespace sample
