// Program Manager groups and icons, made through DDE and checked by asking
// for the group afterwards: Wine's own server also answers to "PROGMAN" but
// keeps no groups, and an icon it took would never be found again.
#include <windows.h>

#include <ddeml.h>

#include "ProgmanConversation.h"

#include "Actions.h"

namespace sample {
namespace {

constexpr char kProgman[] = "PROGMAN";
constexpr DWORD kTimeoutMs = 5000;

HDDEDATA CALLBACK IgnoreEverything(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

Status DdeFailure(std::string_view what, DWORD instance) {
  return Status::Fail(std::string(what) + ": DDE error " + std::to_string(DdeGetLastError(instance)));
}

// A Program Manager argument: quoted, so that blanks and commas stay in it.
std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

Status Conversation(Context& context, ProgmanConversation*& conversation) {
  if (!context.progman) {
    Status status = Status::Ok();
    context.progman = ProgmanConversation::Connect(status);
    if (!context.progman) return status;
  }
  conversation = context.progman.get();
  return Status::Ok();
}

}  // namespace

std::unique_ptr<ProgmanConversation> ProgmanConversation::Connect(Status& status) {
  DWORD instance = 0;
  if (DdeInitializeA(&instance, IgnoreEverything, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
    status = Status::Fail("cannot start DDE");
    return nullptr;
  }
  HSZ name = DdeCreateStringHandleA(instance, kProgman, CP_WINANSI);
  HCONV conversation = DdeConnect(instance, name, name, nullptr);
  DdeFreeStringHandle(instance, name);
  if (!conversation) {
    status = DdeFailure("no Program Manager answers", instance);
    DdeUninitialize(instance);
    return nullptr;
  }
  return std::unique_ptr<ProgmanConversation>(new ProgmanConversation(instance, conversation));
}

ProgmanConversation::~ProgmanConversation() {
  DdeDisconnect(static_cast<HCONV>(conversation_));
  DdeUninitialize(instance_);
}

Status ProgmanConversation::Execute(const std::string& command) {
  std::string text = command;
  HDDEDATA done = DdeClientTransaction(reinterpret_cast<BYTE*>(text.data()), static_cast<DWORD>(text.size() + 1),
                                       static_cast<HCONV>(conversation_), nullptr, 0, XTYP_EXECUTE, kTimeoutMs, nullptr);
  return done ? Status::Ok() : DdeFailure("the Program Manager refused " + command, instance_);
}

Status ProgmanConversation::Request(const std::string& item, std::string& reply) {
  HSZ name = DdeCreateStringHandleA(instance_, item.c_str(), CP_WINANSI);
  HDDEDATA data = DdeClientTransaction(nullptr, 0, static_cast<HCONV>(conversation_), name, CF_TEXT, XTYP_REQUEST,
                                       kTimeoutMs, nullptr);
  DdeFreeStringHandle(instance_, name);
  if (!data) return DdeFailure("the Program Manager does not serve \"" + item + "\"", instance_);
  DWORD size = DdeGetData(data, nullptr, 0, 0);
  reply.assign(size, '\0');
  DdeGetData(data, reinterpret_cast<BYTE*>(reply.data()), size, 0);
  DdeFreeDataHandle(data);
  reply.resize(reply.find('\0') == std::string::npos ? reply.size() : reply.find('\0'));
  return Status::Ok();
}

Status CreateGroup(Context& context, const Fields& fields) {
  ProgmanConversation* progman = nullptr;
  if (Status connected = Conversation(context, progman); !connected.ok()) return connected;
  if (Status made = progman->Execute("[CreateGroup(" + Quoted(fields[0]) + ")]"); !made.ok()) return made;
  std::string groups;
  if (Status listed = progman->Request("GROUPS", groups); !listed.ok()) return listed;
  if (("\r\n" + groups).find("\r\n" + fields[0] + "\r\n") == std::string::npos) {
    return Status::Fail("the Program Manager that answered did not keep the group " + fields[0]);
  }
  context.group = fields[0];
  return Status::Ok();
}

Status AddIcon(Context& context, const Fields& fields) {
  const std::string& name = fields[0];
  const std::string& command = fields[1];
  if (context.group.empty()) return Status::Fail("an icon needs a group before it");
  ProgmanConversation* progman = nullptr;
  if (Status connected = Conversation(context, progman); !connected.ok()) return connected;
  if (Status added = progman->Execute("[AddItem(" + Quoted(command) + "," + Quoted(name) + ")]"); !added.ok()) {
    return added;
  }
  std::string group;
  if (Status read = progman->Request(context.group, group); !read.ok()) return read;
  if (group.find("\r\n" + Quoted(name) + "," + Quoted(command) + ",") == std::string::npos) {
    return Status::Fail("the group " + context.group + " did not take the icon " + name);
  }
  context.log->Record("Icon Group: ", context.group);
  context.log->Line("Icon Name: ", name);
  context.log->Line("Icon Cmd: ", command);
  return Status::Ok();
}

}  // namespace sample
