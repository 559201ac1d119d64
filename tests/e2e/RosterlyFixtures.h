#pragma once
// Fixture domains the end-to-end tests run against. Computers that must
// answer the probe have loopback names; unreachable ones are under the
// reserved .invalid domain, so no test sends traffic beyond this machine.
#include <string>

namespace rosterly_e2e {

inline const std::string kCorpFixture =
    "domain | CORP\n"
    "domain | LAB\n"
    "computer | CORP | localhost | reachable\n"
    "computer | CORP | 127.0.0.2 | reachable\n"
    "computer | CORP | 127.0.0.3 | reachable\n"
    "computer | CORP | ghost.invalid | unreachable\n"
    "computer | LAB | lab1 | reachable\n"
    "group | CORP | Helpdesk\n"
    "group | CORP | Backup Admins\n"
    "group | CORP | Domain Admins\n"
    "group | LAB | Testers\n"
    "localgroup | localhost | Administrators | WinNT://CORP/Domain Admins\n"
    "localgroup | localhost | Users | WinNT://CORP/Helpdesk | WinNT://CORP/Backup Admins\n"
    "localgroup | 127.0.0.2 | Administrators | WinNT://CORP/Domain Admins\n"
    "localgroup | 127.0.0.2 | Guests\n"
    "localgroup | 127.0.0.3 | Administrators\n"
    "fail | WinNT://127.0.0.3/Administrators,group | bind | accessdenied\n";

}  // namespace rosterly_e2e
