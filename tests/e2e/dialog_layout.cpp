// Turns dialog units into the pixels another process's dialog shows, to compare a layout.
#include "tests/e2e/dialog_layout.h"

#include <cstdio>

namespace e2e {

std::optional<BaseUnits> BaseUnitsOf(HWND dialog, int widthUnits, int heightUnits) {
    RECT client;
    if (!GetClientRect(dialog, &client)) return std::nullopt;
    std::optional<BaseUnits> found;
    for (int x = 1; x <= 64 && !found; ++x) {
        if (MulDiv(widthUnits, x, 4) != client.right) continue;
        for (int y = 1; y <= 64; ++y) {
            if (MulDiv(heightUnits, y, 8) == client.bottom) {
                found = BaseUnits{x, y};
                break;
            }
        }
    }
    return found;
}

RECT ToPixels(const DialogUnits& units, BaseUnits base) {
    RECT rect;
    rect.left = MulDiv(units.x, base.x, 4);
    rect.top = MulDiv(units.y, base.y, 8);
    rect.right = rect.left + MulDiv(units.width, base.x, 4);
    rect.bottom = rect.top + MulDiv(units.height, base.y, 8);
    return rect;
}

RECT RectInParent(HWND child) {
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string Describe(const RECT& rect) {
    char text[80];
    std::snprintf(text, sizeof text, "(%ld, %ld)-(%ld, %ld)", rect.left, rect.top, rect.right, rect.bottom);
    return text;
}

}  // namespace e2e
