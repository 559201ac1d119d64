#include "PlanOutput.h"

#include <algorithm>
#include <cstdio>

namespace scrubber {
namespace {

struct OpNames {
  std::string_view id;
  std::string_view label;
};

OpNames NamesOf(PlanOp op) {
  switch (op) {
    case PlanOp::SetAttributes: return {"set-attributes", "set attributes"};
    case PlanOp::DeleteFile: return {"delete-file", "delete file"};
    case PlanOp::CopyFile: return {"copy-file", "copy file"};
    case PlanOp::ReplaceAtRestart: return {"replace-at-restart", "replace at restart"};
    case PlanOp::DeleteAtRestart: return {"delete-at-restart", "delete at restart"};
    case PlanOp::MakeDir: return {"make-dir", "make directory"};
    case PlanOp::RemoveDir: return {"remove-dir", "remove directory"};
    case PlanOp::WriteFile: return {"write-file", "write file"};
    case PlanOp::AppendFile: return {"append-file", "append to file"};
    case PlanOp::TruncateFile: return {"truncate-file", "truncate file"};
    case PlanOp::RenameFile: return {"rename-file", "rename file"};
    case PlanOp::SetValue: return {"set-value", "set value"};
    case PlanOp::DeleteValue: return {"delete-value", "delete value"};
    case PlanOp::DeleteKey: return {"delete-key", "delete key"};
    case PlanOp::IniWrite: return {"ini-write", "ini write"};
    case PlanOp::IniDelete: return {"ini-delete", "ini delete"};
    case PlanOp::StopService: return {"stop-service", "stop service"};
    case PlanOp::DeleteService: return {"delete-service", "delete service"};
    case PlanOp::StartProgram: return {"start-program", "start program"};
    case PlanOp::CallEntry: return {"call-entry", "call entry"};
    case PlanOp::ProgmanCommand: return {"progman", "progman command"};
    case PlanOp::RestoreBackup: return {"restore-backup", "restore backup"};
    case PlanOp::CommentOutLine: return {"comment-out-line", "comment out line"};
    case PlanOp::RewriteFile: return {"rewrite-file", "rewrite file"};
    case PlanOp::CutLog: return {"cut-log", "cut log"};
    case PlanOp::DeleteLog: return {"delete-log", "delete log"};
    case PlanOp::Restart: return {"restart", "restart computer"};
  }
  return {"unknown", "unknown"};
}

constexpr std::size_t kLabelWidth = 19;

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (u < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
      out += escaped;
    } else {
      out += c;
    }
  }
  out += '"';
}

std::string Text(const PlanStep& step, std::string_view name) {
  const PlanField* f = step.Field(name);
  if (!f) return {};
  return f->number ? std::to_string(*f->number) : f->text;
}

// Control characters would break the one-line-per-step form.
std::string OneLine(std::string_view text) {
  std::string out;
  for (char c : text) out += (static_cast<unsigned char>(c) < 0x20) ? ' ' : c;
  return out;
}

}  // namespace

std::string_view OpId(PlanOp op) { return NamesOf(op).id; }
std::string_view OpLabel(PlanOp op) { return NamesOf(op).label; }

std::string PlanStepJson(const PlanStep& step, const TextToUtf8& toUtf8) {
  auto utf8 = [&](std::string_view text) { return toUtf8 ? toUtf8(text) : std::string(text); };
  std::string out = "{\"op\": ";
  AppendJsonString(out, OpId(step.op));
  out += ", \"target\": ";
  AppendJsonString(out, utf8(step.target));
  for (const PlanField& f : step.fields) {
    out += ", ";
    AppendJsonString(out, f.name);
    out += ": ";
    if (f.number) out += std::to_string(*f.number);
    else AppendJsonString(out, utf8(f.text));
  }
  if (step.minor) out += ", \"minor\": true";
  out += '}';
  return out;
}

std::string PlanToJsonLines(const std::vector<PlanStep>& steps, const TextToUtf8& toUtf8) {
  std::string out;
  for (const PlanStep& step : steps) out.append(PlanStepJson(step, toUtf8)).append("\n");
  return out;
}

std::string PlanStepText(const PlanStep& step) {
  std::string out(OpLabel(step.op));
  out.resize(std::max(out.size() + 1, kLabelWidth), ' ');
  out += OneLine(step.target);
  auto valueName = [&] {
    const std::string name = Text(step, "value");
    return name.empty() ? std::string("(default)") : name;
  };
  std::string detail;
  switch (step.op) {
    case PlanOp::CopyFile:
    case PlanOp::RestoreBackup:
    case PlanOp::ReplaceAtRestart:
    case PlanOp::RenameFile:
      detail = "<- " + Text(step, "from");
      break;
    case PlanOp::SetAttributes: {
      char hex[16];
      std::snprintf(hex, sizeof hex, "0x%llX", static_cast<unsigned long long>(step.Field("attributes")->number.value_or(0)));
      detail = std::string("(") + hex + ")";
      break;
    }
    case PlanOp::WriteFile:
    case PlanOp::AppendFile:
      detail = "(" + Text(step, "size") + " bytes)";
      break;
    case PlanOp::TruncateFile:
    case PlanOp::CutLog:
      detail = "to " + Text(step, "size") + " bytes";
      break;
    case PlanOp::SetValue:
      detail = "[" + valueName() + "] = " + Text(step, "type") + " " + Text(step, "data");
      break;
    case PlanOp::DeleteValue:
      detail = "[" + valueName() + "]";
      break;
    case PlanOp::IniWrite:
      detail = "[" + Text(step, "section") + "] " + Text(step, "entry") + "=" + Text(step, "value");
      break;
    case PlanOp::IniDelete:
      detail = "[" + Text(step, "section") + "] " + Text(step, "entry");
      break;
    case PlanOp::CallEntry:
      detail = "(" + Text(step, "entry") + (step.Field("exported") ? ", export assumed)" : ")");
      break;
    case PlanOp::CommentOutLine:
      detail = "line: " + Text(step, "line");
      break;
    default:
      break;
  }
  if (!detail.empty()) out += "  " + OneLine(detail);
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string PlanToText(const std::vector<PlanStep>& steps) {
  std::string out;
  for (const PlanStep& step : steps) out.append(PlanStepText(step)).append("\n");
  return out;
}

}  // namespace scrubber
