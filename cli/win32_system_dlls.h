// brumix.exe's first step: the DLL search narrowed to the system folder, wininet from there.
#pragma once

// 0 when the program can go on; otherwise what is missing has been said on standard error,
// and the result is the exit code to end with.
int LoadSystemDlls();
