// The common controls' window classes, from the system folder's comctl32.
#pragma once

#include "platform/win32/system_dll.h"

// Loads comctl32 from the system folder for the rest of the process and registers the
// classes named by the ICC_* flags in classes.
SystemDllFailure InitCommonControlsFromSystem(DWORD classes);
