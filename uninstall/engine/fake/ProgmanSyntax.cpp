#include "ProgmanSyntax.h"

namespace scrubber {
namespace {

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  void SkipBlanks() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t')) ++at_;
  }
  bool Take(char c) {
    SkipBlanks();
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }
  bool AtEnd() {
    SkipBlanks();
    return at_ >= text_.size();
  }
  std::optional<std::string> Verb() {
    SkipBlanks();
    const std::size_t from = at_;
    while (at_ < text_.size() && text_[at_] != '(' && text_[at_] != ']' && text_[at_] != ' ') ++at_;
    if (at_ == from) return std::nullopt;
    return std::string(text_.substr(from, at_ - from));
  }
  std::optional<std::string> Argument() {
    SkipBlanks();
    if (at_ < text_.size() && text_[at_] == '"') {
      const std::size_t close = text_.find('"', at_ + 1);
      if (close == std::string_view::npos) return std::nullopt;
      std::string arg(text_.substr(at_ + 1, close - at_ - 1));
      at_ = close + 1;
      return arg;
    }
    const std::size_t from = at_;
    while (at_ < text_.size() && text_[at_] != ',' && text_[at_] != ')') {
      if (text_[at_] == '"' || text_[at_] == '(' || text_[at_] == '[' || text_[at_] == ']') return std::nullopt;
      ++at_;
    }
    std::string_view arg = text_.substr(from, at_ - from);
    while (!arg.empty() && (arg.back() == ' ' || arg.back() == '\t')) arg.remove_suffix(1);
    return std::string(arg);
  }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace

std::optional<std::vector<ProgmanCommand>> ParseProgmanCommands(std::string_view text) {
  // A command text arrives with its terminating NUL.
  text = text.substr(0, text.find('\0'));
  Reader in(text);
  std::vector<ProgmanCommand> commands;
  while (!in.AtEnd()) {
    if (!in.Take('[')) return std::nullopt;
    ProgmanCommand command;
    auto verb = in.Verb();
    if (!verb) return std::nullopt;
    command.verb = std::move(*verb);
    if (in.Take('(')) {
      do {
        auto arg = in.Argument();
        if (!arg) return std::nullopt;
        command.args.push_back(std::move(*arg));
      } while (in.Take(','));
      if (!in.Take(')')) return std::nullopt;
    }
    if (!in.Take(']')) return std::nullopt;
    commands.push_back(std::move(command));
  }
  return commands;
}

}  // namespace scrubber
