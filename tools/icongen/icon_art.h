// The pictures of the program's three icons, each drawn at 32 and 16 pixels.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

// Round eyeglasses: bright green lenses, black rims and bridge, arms rising to the upper
// right (left out of the small image, where they would be a smudge).
Canvas DrawEyeglasses(int size);
// A grey waste bin in perspective with a dark-green recycling mark; when full, heaped with
// white crumpled paper above the rim.
Canvas DrawWasteBin(int size, bool full);

struct IconFile {
    std::string fileName;
    // 32x32 first, then 16x16.
    std::vector<Canvas> images;
};

// The application icon, the clean mark and the found mark, in that order.
std::vector<IconFile> AllIcons();
