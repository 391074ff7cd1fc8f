// A browser's cache folder walked whole: every file in it and in the folders under it, counted
// as a cached file and, when asked, deleted.
#pragma once

#include <string>
#include <string_view>

#include "sweep/browser_pass.h"

// Each file is named by relative, the folder's name under the profile, and its path below it.
// No link is followed (a junction in a cache could lead anywhere on the disk) and nothing below
// a depth deeper than any cache's own layout is touched; a folder missing is no error.
void SweepCacheFolder(BrowserPass& pass, const std::string& root, std::string_view relative);
