// Process-wide facts set once by the main window's initialisation, and the heartbeat.
#pragma once

#include <string>

extern std::string g_strWindowsDir;
extern int g_bIsNT;
extern int g_nPulsePos;
