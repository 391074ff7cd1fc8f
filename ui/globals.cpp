// Storage of the process-wide values.
#include "ui/globals.h"

std::string g_strWindowsDir;
int g_bIsNT = 0;
int g_nPulsePos = 0;
