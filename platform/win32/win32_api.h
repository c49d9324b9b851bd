#pragma once

// The system headers, included once for the backend's own files, with the one macro that would
// rename a framework layer member (LoadIcon) taken back out.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// windows.h first: commctrl.h needs its types.
#include <commctrl.h>

#undef LoadIcon
