// Drawing the icons from a handful of shapes; coordinates are hand-placed for each of the
// two sizes, since a scaled-down 32-pixel drawing turns to mush at 16 pixels.
#include "icon_art.h"

#include <cmath>

namespace {

struct BinLayout {
    HalfPoint rimCentre;
    int rimX, rimY;  // outer radii of the rim
    int rimBand;     // thickness of the rim band
    std::vector<HalfPoint> outline, body, shade;
};

BinLayout LargeBin() {
    return {{32, 14},
            27,
            11,
            3,
            {{6, 14}, {58, 14}, {47, 62}, {17, 62}},
            {{8, 14}, {56, 14}, {45, 60}, {19, 60}},
            {{8, 14}, {15, 14}, {24, 60}, {19, 60}}};
}

BinLayout SmallBin() {
    return {{16, 8},
            15,
            7,
            2,
            {{3, 8}, {29, 8}, {23, 31}, {9, 31}},
            {{5, 8}, {27, 8}, {21, 29}, {11, 29}},
            {{5, 8}, {9, 8}, {13, 29}, {11, 29}}};
}

// An arrow along one side of the recycling triangle, from near `from` towards `to`.
void RecycleArrow(Canvas& canvas, HalfPoint from, HalfPoint to) {
    const double dx = to.first - from.first;
    const double dy = to.second - from.second;
    const double length = std::sqrt(dx * dx + dy * dy);
    const auto along = [&](double t) {
        return HalfPoint{int(std::lround(from.first + dx * t)), int(std::lround(from.second + dy * t))};
    };
    const auto side = [&](HalfPoint p, double halfPixels) {
        return HalfPoint{int(std::lround(p.first - dy / length * halfPixels)),
                         int(std::lround(p.second + dx / length * halfPixels))};
    };
    const HalfPoint start = along(0.12), neck = along(0.62), tip = along(0.92);
    canvas.FillPolygon({side(start, 1.6), side(neck, 1.6), side(neck, -1.6), side(start, -1.6)}, kGreen);
    canvas.FillPolygon({side(neck, 4.2), tip, side(neck, -4.2)}, kGreen);
}

void DrawBin(Canvas& canvas, const BinLayout& bin, bool full) {
    const bool large = canvas.Size() == 32;
    canvas.FillPolygon(bin.outline, kBlack);
    canvas.FillPolygon(bin.body, kSilver);
    canvas.FillPolygon(bin.shade, kGrey);

    // The rim: black outer edge, silver band, and the dark opening inside it.
    Canvas rim(canvas.Size());
    rim.FillEllipse(bin.rimCentre, bin.rimX, bin.rimY, kBlack);
    rim.FillEllipse(bin.rimCentre, bin.rimX - 2, bin.rimY - 2, kSilver);
    rim.FillEllipse(bin.rimCentre, bin.rimX - 2 - bin.rimBand, bin.rimY - 2 - bin.rimBand, full ? kWhite : kGrey);
    for (int y = 0; y < canvas.Size(); ++y) {
        for (int x = 0; x < canvas.Size(); ++x) {
            if (rim.At(x, y) != kTransparent) canvas.Set(x, y, rim.At(x, y));
        }
    }

    if (full) {
        // Crumpled paper: overlapping balls, each edged in grey so the overlaps read as creases.
        struct Ball {
            HalfPoint centre;
            int rx, ry;
        };
        const std::vector<Ball> balls = large ? std::vector<Ball>{{{20, 11}, 10, 8},
                                                                  {{46, 11}, 10, 8},
                                                                  {{32, 8}, 11, 8},
                                                                  {{26, 16}, 9, 6},
                                                                  {{40, 16}, 9, 6}}
                                              : std::vector<Ball>{{{10, 6}, 5, 4}, {{22, 6}, 5, 4}, {{16, 4}, 6, 4}};
        const int bottom = bin.rimCentre.second / 2;
        Canvas paper(canvas.Size());
        for (const Ball& ball : balls) {
            paper.FillEllipse(ball.centre, ball.rx + 2, ball.ry + 2, kGrey);
            paper.FillEllipse(ball.centre, ball.rx, ball.ry, kWhite);
        }
        if (large) {
            paper.Line(13, 4, 15, 6, kSilver);
            paper.Line(17, 2, 18, 4, kSilver);
            paper.Line(21, 5, 23, 4, kSilver);
        }
        // The paper lies behind the rim's front half.
        for (int y = 0; y < canvas.Size(); ++y) {
            for (int x = 0; x < canvas.Size(); ++x) {
                const Colour c = paper.At(x, y);
                if (c == kTransparent) continue;
                if (y > bottom && rim.At(x, y) != kTransparent) continue;
                canvas.Set(x, y, c);
            }
        }
    }

    if (large) {
        const HalfPoint top{33, 27}, left{21, 49}, right{45, 49};
        RecycleArrow(canvas, top, right);
        RecycleArrow(canvas, right, left);
        RecycleArrow(canvas, left, top);
    } else {
        canvas.Line(8, 7, 10, 10, kGreen);
        canvas.Line(10, 12, 6, 12, kGreen);
        canvas.Line(5, 11, 7, 8, kGreen);
    }
}

}  // namespace

Canvas DrawEyeglasses(int size) {
    Canvas canvas(size);
    if (size == 32) {
        canvas.Line(2, 18, 11, 5, kBlack);
        canvas.Line(27, 19, 31, 13, kBlack);
        const HalfPoint left{13, 47}, right{43, 47};
        for (HalfPoint lens : {left, right}) {
            canvas.FillEllipse(lens, 13, 13, kBlack);
            canvas.FillEllipse(lens, 9, 9, kLime);
        }
        canvas.Line(12, 21, 13, 20, kBlack);
        canvas.Line(14, 20, 15, 21, kBlack);
        canvas.Line(12, 22, 15, 22, kBlack);
    } else {
        const HalfPoint left{7, 19}, right{25, 19};
        for (HalfPoint lens : {left, right}) {
            canvas.FillEllipse(lens, 7, 7, kBlack);
            canvas.FillEllipse(lens, 5, 5, kLime);
        }
        canvas.Line(7, 8, 8, 8, kBlack);
    }
    return canvas;
}

Canvas DrawWasteBin(int size, bool full) {
    Canvas canvas(size);
    DrawBin(canvas, size == 32 ? LargeBin() : SmallBin(), full);
    return canvas;
}

std::vector<IconFile> AllIcons() {
    return {
        {"winbrumix.ico", {DrawEyeglasses(32), DrawEyeglasses(16)}},
        {"clean.ico", {DrawWasteBin(32, false), DrawWasteBin(16, false)}},
        {"found.ico", {DrawWasteBin(32, true), DrawWasteBin(16, true)}},
    };
}
