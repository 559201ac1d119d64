#pragma once
// Resource ids of the uninstaller, shared by its resource script and code.
#define IDI_SCRUBBER 101
#define RT_RESTART_HELPER 300
#define IDR_RESTART_HELPER 30202
