#include "LogonCheck.h"

#include <windows.h>

#define ACCESS_PROBE 0x00100000u

typedef BOOL(WINAPI* ImmDisableImeFn)(DWORD);

static BOOL IsNtFamily(void) { return (GetVersion() & 0x80000000u) == 0; }

/* Asks AccessCheck whether our own token passes a descriptor that grants
   ACCESS_PROBE to interactive users (S-1-5-4) and local system (S-1-5-18). */
static BOOL RunsInteractiveOrSystem(void) {
  SID_IDENTIFIER_AUTHORITY ntAuthority = {SECURITY_NT_AUTHORITY};
  PSID interactive = NULL, localSystem = NULL;
  DWORD aclBuffer[64];
  PACL acl = (PACL)aclBuffer;
  SECURITY_DESCRIPTOR sd;
  GENERIC_MAPPING mapping = {ACCESS_PROBE, ACCESS_PROBE, ACCESS_PROBE, ACCESS_PROBE};
  PRIVILEGE_SET privileges;
  DWORD privilegesLength = sizeof(privileges);
  DWORD desired = ACCESS_PROBE, granted = 0;
  BOOL accessStatus = FALSE, checked = FALSE;
  HANDLE token = NULL;

  if (!AllocateAndInitializeSid(&ntAuthority, 1, SECURITY_INTERACTIVE_RID, 0, 0, 0, 0, 0, 0, 0, &interactive) ||
      !AllocateAndInitializeSid(&ntAuthority, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &localSystem))
    goto done;
  if (!InitializeAcl(acl, sizeof(aclBuffer), ACL_REVISION) ||
      !AddAccessAllowedAce(acl, ACL_REVISION, ACCESS_PROBE, interactive) ||
      !AddAccessAllowedAce(acl, ACL_REVISION, ACCESS_PROBE, localSystem))
    goto done;
  if (!InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE) || !SetSecurityDescriptorOwner(&sd, interactive, FALSE) ||
      !SetSecurityDescriptorGroup(&sd, interactive, FALSE))
    goto done;
  if (!ImpersonateSelf(SecurityImpersonation)) goto done;
  if (OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, FALSE, &token)) {
    MapGenericMask(&desired, &mapping);
    checked = AccessCheck(&sd, token, desired, &mapping, &privileges, &privilegesLength, &granted, &accessStatus);
    CloseHandle(token);
  }
  RevertToSelf();

done:
  if (interactive) FreeSid(interactive);
  if (localSystem) FreeSid(localSystem);
  return checked && accessStatus;
}

void DisableImeUnlessInteractive(void) {
  HMODULE imm;
  ImmDisableImeFn disable;
  if (!IsNtFamily() || RunsInteractiveOrSystem()) return;
  imm = LoadLibraryA("IMM32.dll");
  if (!imm) return;
  disable = (ImmDisableImeFn)(void*)GetProcAddress(imm, "ImmDisableIme");
  if (disable) disable(GetCurrentThreadId());
  FreeLibrary(imm);
}
