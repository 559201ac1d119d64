#ifndef SCRUBBER_LOGON_CHECK_H
#define SCRUBBER_LOGON_CHECK_H
/* Shared by the uninstaller and the restart helper; plain C and free of any
   run-time library call, since the helper links without one. */
#ifdef __cplusplus
extern "C" {
#endif

/* On the NT family: when the process runs neither for an interactively
   logged-on user nor as the local system account, switch the input-method
   editor off for this thread so that no IME window can appear. */
void DisableImeUnlessInteractive(void);

#ifdef __cplusplus
}
#endif
#endif
