#pragma once
// Identity of the test directory's provider class.
#include <windows.h>

namespace rosterly::testdir {

// {6C514001-D0FE-475D-B8A3-BFFC5F4E3946}
inline constexpr CLSID kProviderClsid = {0x6c514001, 0xd0fe, 0x475d, {0xb8, 0xa3, 0xbf, 0xfc, 0x5f, 0x4e, 0x39, 0x46}};
inline constexpr char kProviderClsidText[] = "{6C514001-D0FE-475D-B8A3-BFFC5F4E3946}";
inline constexpr char kProviderProgId[] = "RosterlyTestDir.WinNT";
// ADsOpenObject looks providers up by the part of the path before the colon.
inline constexpr char kProviderKey[] = "Software\\Microsoft\\ADs\\Providers\\WinNT";

}  // namespace rosterly::testdir
