// A tiny 16-colour raster for drawing icons pixel by pixel; shapes are given in half-pixel
// units so that symmetric figures can be centred between pixels.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

// The standard VGA palette, in the order every 16-colour Windows icon uses.
enum Colour : std::int8_t {
    kTransparent = -1,
    kBlack = 0,
    kMaroon = 1,
    kGreen = 2,
    kOlive = 3,
    kNavy = 4,
    kPurple = 5,
    kTeal = 6,
    kSilver = 7,
    kGrey = 8,
    kRed = 9,
    kLime = 10,
    kYellow = 11,
    kBlue = 12,
    kFuchsia = 13,
    kAqua = 14,
    kWhite = 15,
};

// A point in half pixels: (2x+1, 2y+1) is the centre of pixel (x, y).
using HalfPoint = std::pair<int, int>;

class Canvas {
public:
    explicit Canvas(int size);

    int Size() const { return size_; }
    Colour At(int x, int y) const;
    // Silently ignores pixels outside the canvas, so shapes may run off an edge.
    void Set(int x, int y, Colour colour);

    // Every pixel whose centre lies inside the ellipse (bounds included).
    void FillEllipse(HalfPoint centre, int radiusX, int radiusY, Colour colour);
    // Every pixel whose centre lies on the ellipse's band between the two radii pairs.
    void EllipseRing(HalfPoint centre, int outerX, int outerY, int thickness, Colour colour);
    // Every pixel whose centre lies inside the polygon (even-odd rule).
    void FillPolygon(const std::vector<HalfPoint>& vertices, Colour colour);
    // A one-pixel line between two pixels, both ends included.
    void Line(int x0, int y0, int x1, int y1, Colour colour);
    // Replaces one colour by another inside the rectangle [x0, x1] x [y0, y1].
    void Recolour(int x0, int y0, int x1, int y1, Colour from, Colour to);

private:
    int size_;
    std::vector<Colour> pixels_;
};
