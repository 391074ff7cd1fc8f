// Folders and files in the throwaway prefix's C: drive, made and removed by the tests.
#pragma once

#include <string>
#include <vector>

// The Windows directory's Cookies folder, as the system names it.
std::string CookieFolderPath();
// Creates the folder (emptied first when it exists) and moves the process out of it.
void MakeEmptyFolder(const std::string& folder);
// Moves the process out of the folder, then removes it with every file in it, read-only
// ones included.
void RemoveFolder(const std::string& folder);
bool MakeFile(const std::string& folder, const std::string& name, bool readOnly = false);
// The folder's file names matching the pattern, in the order a search returns them.
std::vector<std::string> FindNames(const std::string& folder, const std::string& pattern = "*");
