#include "PlanSummary.h"

namespace scrubber {
namespace {

// How far back a delete looks for the write that made its temporary file.
constexpr std::size_t kLookBack = 8;

bool IsDelete(PlanOp op) { return op == PlanOp::DeleteFile || op == PlanOp::RemoveDir; }

// The last step in `out` for which `match` holds, searching at most `limit`
// steps back; npos when none.
template <typename Match>
std::size_t FindBack(const std::vector<PlanStep>& out, std::size_t limit, Match match) {
  for (std::size_t n = 0; n < out.size() && n < limit; ++n) {
    const std::size_t i = out.size() - 1 - n;
    if (match(out[i])) return i;
  }
  return static_cast<std::size_t>(-1);
}

void Erase(std::vector<PlanStep>& out, std::size_t i) { out.erase(out.begin() + static_cast<std::ptrdiff_t>(i)); }

void AddDelete(std::vector<PlanStep>& out, PlanStep step, std::string_view logKey) {
  if (step.op == PlanOp::DeleteFile && !logKey.empty() && step.key == logKey) {
    step.op = PlanOp::DeleteLog;
    out.push_back(std::move(step));
    return;
  }
  if (step.op == PlanOp::DeleteFile && !out.empty() && out.back().op == PlanOp::CopyFile &&
      out.back().otherKey == step.key) {
    out.back().op = PlanOp::RestoreBackup;
    return;
  }
  if (step.op == PlanOp::DeleteFile) {
    // A file this run made and deletes again, with nothing else done to it.
    const std::size_t last = FindBack(out, kLookBack, [&](const PlanStep& s) { return s.key == step.key; });
    if (last != static_cast<std::size_t>(-1) && out[last].op == PlanOp::WriteFile && out[last].createsNew) {
      Erase(out, last);
      return;
    }
  }
  out.push_back(std::move(step));
}

void AddRename(std::vector<PlanStep>& out, PlanStep step) {
  if (!step.replacesDeleted) {
    out.push_back(std::move(step));
    return;
  }
  // The file was deleted and its replacement renamed into place: drop the
  // delete and the replacement's write and say what changed.
  const std::size_t del = FindBack(out, out.size(), [&](const PlanStep& s) {
    return s.op == PlanOp::DeleteFile && s.key == step.key;
  });
  if (del != static_cast<std::size_t>(-1)) Erase(out, del);
  const std::size_t write = FindBack(out, out.size(), [&](const PlanStep& s) {
    return s.op == PlanOp::WriteFile && s.key == step.otherKey;
  });
  if (write != static_cast<std::size_t>(-1)) Erase(out, write);
  if (!step.onlyCommentedOut || step.commentedOut.empty()) {
    step.op = PlanOp::RewriteFile;
    out.push_back(std::move(step));
    return;
  }
  for (const std::string& line : step.commentedOut) {
    PlanStep comment;
    comment.op = PlanOp::CommentOutLine;
    comment.target = step.target;
    comment.key = step.key;
    comment.With("line", line);
    out.push_back(std::move(comment));
  }
}

}  // namespace

std::vector<PlanStep> SummarizePlan(const std::vector<PlanStep>& raw, std::string_view logKey) {
  std::vector<PlanStep> out;
  out.reserve(raw.size());
  for (const PlanStep& original : raw) {
    PlanStep step = original;
    // Attributes cleared right before the entry goes are part of deleting it.
    if (IsDelete(step.op) && !out.empty() && out.back().op == PlanOp::SetAttributes && out.back().key == step.key)
      out.pop_back();
    switch (step.op) {
      case PlanOp::DeleteFile:
        AddDelete(out, std::move(step), logKey);
        break;
      case PlanOp::RenameFile:
        AddRename(out, std::move(step));
        break;
      case PlanOp::TruncateFile:
        if (!logKey.empty() && step.key == logKey) step.op = PlanOp::CutLog;
        out.push_back(std::move(step));
        break;
      default:
        out.push_back(std::move(step));
        break;
    }
  }
  return out;
}

}  // namespace scrubber
