// Turns dialog units into the pixels another process's dialog shows, to compare a layout.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

struct DialogUnits {
    int x;
    int y;
    int width;
    int height;
};

struct BaseUnits {
    int x;  // pixels per 4 horizontal dialog units
    int y;  // pixels per 8 vertical dialog units
};

// The dialog manager sizes a client area of w x h units as MulDiv(w, x, 4) x MulDiv(h, y, 8);
// the base units that reproduce the dialog's client size are the ones its font gave it.
std::optional<BaseUnits> BaseUnitsOf(HWND dialog, int widthUnits, int heightUnits);
RECT ToPixels(const DialogUnits& units, BaseUnits base);
// A child's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child);
std::string Describe(const RECT& rect);

}  // namespace e2e
