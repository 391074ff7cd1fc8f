// Folders and files in the throwaway prefix's drives, made, read and removed by the tests.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

// Wine maps the Unix root as drive Z:, so a Unix path handed over by CTest or a script
// names the same file there.
std::string ToWindowsPath(std::string path);
std::string WindowsDir();
// The Windows directory's Cookies folder, as the system names it.
std::string CookieFolderPath();
// Creates the folder unless it is there; true when it then exists.
bool MakeDirectory(const std::string& path);
// Creates the folder (emptied first when it exists) and moves the process out of it.
void MakeEmptyFolder(const std::string& folder);
// Moves the process out of the folder, then removes it with every file in it, read-only
// ones included.
void RemoveFolder(const std::string& folder);
// Creates or replaces the file with exactly this content.
bool WriteTextFile(const std::string& path, const std::string& content, bool readOnly = false);
// A small file in the folder, shaped like the cookie files the sweeps look for.
bool MakeFile(const std::string& folder, const std::string& name, bool readOnly = false);
std::optional<std::string> ReadTextFile(const std::string& path);
bool FileExists(const std::string& path);
// The folder's file names matching the pattern, in the order a search returns them.
std::vector<std::string> FindNames(const std::string& folder, const std::string& pattern = "*");
// Names whose order the store chooses, in an order a test can compare.
inline std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}
