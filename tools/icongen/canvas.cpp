// Rasterising the few shapes the icons are made of, in integer arithmetic only so that
// every build draws the same pixels.
#include "canvas.h"

#include <cstdlib>

namespace {

bool InsideEllipse(std::int64_t dx, std::int64_t dy, std::int64_t rx, std::int64_t ry) {
    return dx * dx * ry * ry + dy * dy * rx * rx <= rx * rx * ry * ry;
}

}  // namespace

Canvas::Canvas(int size)
    : size_(size), pixels_(static_cast<std::size_t>(size) * static_cast<std::size_t>(size), kTransparent) {}

Colour Canvas::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= size_ || y >= size_) return kTransparent;
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(size_) + static_cast<std::size_t>(x)];
}

void Canvas::Set(int x, int y, Colour colour) {
    if (x < 0 || y < 0 || x >= size_ || y >= size_) return;
    pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(size_) + static_cast<std::size_t>(x)] = colour;
}

void Canvas::FillEllipse(HalfPoint centre, int radiusX, int radiusY, Colour colour) {
    for (int y = 0; y < size_; ++y) {
        for (int x = 0; x < size_; ++x) {
            if (InsideEllipse(2 * x + 1 - centre.first, 2 * y + 1 - centre.second, radiusX, radiusY)) {
                Set(x, y, colour);
            }
        }
    }
}

void Canvas::EllipseRing(HalfPoint centre, int outerX, int outerY, int thickness, Colour colour) {
    for (int y = 0; y < size_; ++y) {
        for (int x = 0; x < size_; ++x) {
            const int dx = 2 * x + 1 - centre.first;
            const int dy = 2 * y + 1 - centre.second;
            if (InsideEllipse(dx, dy, outerX, outerY) &&
                !InsideEllipse(dx, dy, outerX - thickness, outerY - thickness)) {
                Set(x, y, colour);
            }
        }
    }
}

void Canvas::FillPolygon(const std::vector<HalfPoint>& vertices, Colour colour) {
    const std::size_t count = vertices.size();
    for (int y = 0; y < size_; ++y) {
        for (int x = 0; x < size_; ++x) {
            const std::int64_t px = 2 * x + 1;
            const std::int64_t py = 2 * y + 1;
            bool inside = false;
            for (std::size_t i = 0, j = count - 1; i < count; j = i++) {
                const std::int64_t xi = vertices[i].first, yi = vertices[i].second;
                const std::int64_t xj = vertices[j].first, yj = vertices[j].second;
                if ((yi > py) == (yj > py)) continue;
                // Crossing test without division: the edge's x at py compared with px.
                const std::int64_t lhs = (px - xi) * (yj - yi);
                const std::int64_t rhs = (xj - xi) * (py - yi);
                if ((yj > yi) ? lhs < rhs : lhs > rhs) inside = !inside;
            }
            if (inside) Set(x, y, colour);
        }
    }
}

void Canvas::Line(int x0, int y0, int x1, int y1, Colour colour) {
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        Set(x0, y0, colour);
        if (x0 == x1 && y0 == y1) return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

void Canvas::Recolour(int x0, int y0, int x1, int y1, Colour from, Colour to) {
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            if (At(x, y) == from) Set(x, y, to);
        }
    }
}
