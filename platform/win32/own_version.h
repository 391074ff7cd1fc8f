// The running executable's file version, from its own version record.
#pragma once

#include <windows.h>

#include <string>

// "major.minor.build.revision"; empty when the module has no version record.
std::string OwnFileVersion(HMODULE module);
