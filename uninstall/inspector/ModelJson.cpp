#include "ModelJson.h"

namespace scrubber {
namespace {

constexpr std::string_view kRootNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                           "HKEY_USERS", "HKEY_CURRENT_CONFIG"};
constexpr std::string_view kTypeNames[] = {"REG_SZ", "REG_EXPAND_SZ", "REG_MULTI_SZ", "REG_DWORD", "REG_BINARY"};

std::string_view NameOf(std::int32_t index, const std::string_view (&names)[5]) {
  return index >= 0 && index < 5 ? names[index] : std::string_view("?");
}

void Root(JsonWriter& w, std::int32_t root) {
  w.Number("root", root);
  w.String("rootName", NameOf(root, kRootNames));
}

void Files(JsonWriter& w, std::string_view key, const std::vector<FileItem>& files) {
  w.BeginArray(key);
  for (const FileItem& f : files) {
    w.BeginObject();
    w.String("path", f.path);
    w.String("backupPath", f.backupPath);
    w.Number("selected", f.selected);
    w.Number("autoRemove", f.autoRemove);
    w.Number("selfRegInstall", f.selfRegInstall);
    w.Number("deviceInstall", f.deviceInstall);
    w.Number("installNo", f.installNo);
    w.Bool("sharedCounted", f.sharedCounted);
    w.EndObject();
  }
  w.EndArray();
}

// The old value's lines, one string each (the packing's NULs left out).
void OldData(JsonWriter& w, const std::string& packed) {
  w.BeginArray("oldData");
  std::size_t start = 0;
  while (start < packed.size()) {
    const std::size_t end = packed.find('\0', start);
    if (end == start || end == std::string::npos) break;
    w.String({}, std::string_view(packed).substr(start, end - start));
    start = end + 1;
  }
  w.EndArray();
}

void Header(JsonWriter& w, const HeaderRecord& h) {
  w.BeginObject("LogHeader");
  w.String("title", h.title);
  w.String("mifName", h.mifName);
  w.String("manufacturer", h.manufacturer);
  w.String("product", h.product);
  w.String("version", h.version);
  w.String("serialNumber", h.serialNumber);
  w.EndObject();
}

void Registry(JsonWriter& w, const UninstallModel& m) {
  w.BeginArray("RegKeys");
  for (const RegKeyItem& k : m.RegKeys) {
    w.BeginObject();
    w.String("key", k.key);
    w.String("valueName", k.valueName);
    Root(w, k.root);
    w.Number("selected", k.selected);
    w.Number("installNo", k.installNo);
    w.EndObject();
  }
  w.EndArray();
  w.BeginArray("RegTrees");
  for (const RegTreeItem& t : m.RegTrees) {
    w.BeginObject();
    w.String("key", t.key);
    Root(w, t.root);
    w.Number("selected", t.selected);
    w.Number("installNo", t.installNo);
    w.EndObject();
  }
  w.EndArray();
  w.BeginArray("RegEdits");
  for (const RegEditItem& e : m.RegEdits) {
    w.BeginObject();
    w.String("key", e.key);
    w.String("valueName", e.valueName);
    OldData(w, e.oldData);
    Root(w, e.root);
    w.Number("type", e.type);
    w.String("typeName", NameOf(e.type, kTypeNames));
    w.Number("selected", e.selected);
    w.Number("installNo", e.installNo);
    w.EndObject();
  }
  w.EndArray();
}

void Ini(JsonWriter& w, const UninstallModel& m) {
  w.BeginArray("IniFiles");
  for (const IniFileItem& f : m.IniFiles) {
    w.BeginObject();
    w.String("path", f.path);
    w.Number("selected", f.selected);
    w.Number("installNo", f.installNo);
    w.EndObject();
  }
  w.EndArray();
  w.BeginArray("IniEntries");
  for (const IniEntryItem& e : m.IniEntries) {
    w.BeginObject();
    w.String("file", e.file);
    w.String("section", e.section);
    w.String("key", e.key);
    w.String("oldValue", e.oldValue);
    w.Number("selected", e.selected);
    w.Number("installNo", e.installNo);
    w.EndObject();
  }
  w.EndArray();
}

void Others(JsonWriter& w, const UninstallModel& m) {
  w.BeginArray("Icons");
  for (const IconItem& i : m.Icons) {
    w.BeginObject();
    w.String("group", i.group);
    w.String("name", i.name);
    w.String("command", i.command);
    w.Number("selected", i.selected);
    w.Number("installNo", i.installNo);
    w.EndObject();
  }
  w.EndArray();
  w.BeginArray("ExternalPrograms");
  for (const ProgramItem& p : m.ExternalPrograms) {
    w.BeginObject();
    w.String("command", p.command);
    w.String("name", p.name);
    w.Number("selected", p.selected);
    w.Number("installNo", p.installNo);
    w.EndObject();
  }
  w.EndArray();
  w.BeginArray("Services");
  for (const ServiceItem& s : m.Services) {
    w.BeginObject();
    w.String("name", s.name);
    w.Number("selected", s.selected);
    w.Number("installNo", s.installNo);
    w.EndObject();
  }
  w.EndArray();
  w.BeginArray("EditedFiles");
  for (const EditedFileItem& e : m.EditedFiles) {
    w.BeginObject();
    w.String("path", e.path);
    w.String("backupPath", e.backupPath);
    w.Number("installNo", e.installNo);
    w.EndObject();
  }
  w.EndArray();
  if (!m.SubSystem.present) {
    w.Null("SubSystem");
    return;
  }
  w.BeginObject("SubSystem");
  w.String("text", m.SubSystem.text);
  w.Number("selected", m.SubSystem.selected);
  w.EndObject();
}

}  // namespace

std::string ModelToJson(const UninstallModel& m, const Utf8Encoder& toUtf8) {
  JsonWriter w(toUtf8);
  w.BeginObject();
  Header(w, m.LogHeader);
  w.Number("installCount", m.installCount);
  w.Number("lastInstallOffset", m.lastInstallOffset);
  w.Number("ansiText", m.ansiText);
  w.Number("hasBackups", m.hasBackups);
  w.String("uninstallDir", m.uninstallDir);
  Files(w, "PrivateFiles", m.PrivateFiles);
  Files(w, "SystemFiles", m.SystemFiles);
  w.BeginArray("Directories");
  for (const DirItem& d : m.Directories) {
    w.BeginObject();
    w.String("path", d.path);
    w.Number("selected", d.selected);
    w.Number("treeInstall", d.treeInstall);
    w.Number("lastInstall", d.lastInstall);
    w.EndObject();
  }
  w.EndArray();
  Ini(w, m);
  Registry(w, m);
  Others(w, m);
  w.EndObject();
  return w.text();
}

}  // namespace scrubber
