// The committed icons' structure and pictures, and the encoder's byte layout.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "canvas.h"
#include "ico_file.h"
#include "icon_art.h"

namespace {

std::vector<std::uint8_t> ReadFile(const std::string& name) {
    std::ifstream in(std::string(BRUMIX_RES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<IcoImage> Committed(const std::string& name) {
    std::vector<IcoImage> images;
    std::string error;
    const std::vector<std::uint8_t> bytes = ReadFile(name);
    EXPECT_FALSE(bytes.empty()) << name << " is missing";
    EXPECT_TRUE(DecodeIco(bytes, images, error)) << name << ": " << error;
    return images;
}

std::set<Colour> ColoursIn(const IcoImage& image, int top = 0, int bottom = -1) {
    std::set<Colour> colours;
    if (bottom < 0) bottom = image.height - 1;
    for (int y = top; y <= bottom; ++y) {
        for (int x = 0; x < image.width; ++x) colours.insert(image.At(x, y));
    }
    return colours;
}

// The first row, from the top, that holds any opaque pixel.
int TopmostOpaqueRow(const IcoImage& image) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (image.At(x, y) != kTransparent) return y;
        }
    }
    return image.height;
}

class CommittedIcon : public ::testing::TestWithParam<const char*> {};

TEST_P(CommittedIcon, HoldsA32AndA16PixelImageIn16VgaColours) {
    const std::vector<IcoImage> images = Committed(GetParam());
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].width, 32);
    EXPECT_EQ(images[1].width, 16);
    const std::vector<std::uint32_t> vga = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                            0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                            0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (const IcoImage& image : images) {
        EXPECT_EQ(image.height, image.width);
        EXPECT_EQ(image.bitCount, 4);
        EXPECT_EQ(image.colourCount, 16);
        EXPECT_EQ(image.palette, vga);
    }
}

TEST_P(CommittedIcon, HasATransparentBackgroundAndAnOpaquePicture) {
    for (const IcoImage& image : Committed(GetParam())) {
        const int last = image.width - 1;
        EXPECT_EQ(image.At(0, 0), kTransparent);
        EXPECT_EQ(image.At(last, 0), kTransparent);
        EXPECT_EQ(image.At(0, last), kTransparent);
        EXPECT_EQ(image.At(last, last), kTransparent);
        std::size_t opaque = 0;
        for (Colour c : image.pixels) opaque += c != kTransparent;
        // A picture, not a speck and not a filled square.
        EXPECT_GT(opaque, image.pixels.size() / 5);
        EXPECT_LT(opaque, image.pixels.size() * 4 / 5);
    }
}

INSTANTIATE_TEST_SUITE_P(AllThree, CommittedIcon, ::testing::Values("winbrumix.ico", "clean.ico", "found.ico"));

TEST(Eyeglasses, AreBrightGreenLensesInBlackRims) {
    for (const IcoImage& image : Committed("winbrumix.ico")) {
        EXPECT_EQ(ColoursIn(image), (std::set<Colour>{kTransparent, kBlack, kLime}));
    }
}

TEST(Eyeglasses, ShowTheArmsOnlyInTheLargeImage) {
    const std::vector<IcoImage> images = Committed("winbrumix.ico");
    ASSERT_EQ(images.size(), 2u);
    // The arms rise well above the lenses; the small image is lenses and bridge alone,
    // whose rims are as tall as they are wide.
    EXPECT_LT(TopmostOpaqueRow(images[0]), 8);
    EXPECT_GE(TopmostOpaqueRow(images[1]), 4);
}

TEST(WasteBins, CarryTheDarkGreenRecyclingMark) {
    for (const char* name : {"clean.ico", "found.ico"}) {
        for (const IcoImage& image : Committed(name)) {
            const std::set<Colour> colours = ColoursIn(image);
            EXPECT_TRUE(colours.count(kGreen)) << name << " " << image.width;
            EXPECT_TRUE(colours.count(kSilver)) << name << " " << image.width;
            EXPECT_FALSE(colours.count(kLime)) << name << " " << image.width;
        }
    }
}

TEST(WasteBins, OnlyTheFullOneHasPaperHeapedAboveTheRim) {
    const std::vector<IcoImage> clean = Committed("clean.ico");
    const std::vector<IcoImage> found = Committed("found.ico");
    ASSERT_EQ(clean.size(), 2u);
    ASSERT_EQ(found.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const int rimTop = TopmostOpaqueRow(clean[i]);
        EXPECT_GT(rimTop, 0);
        EXPECT_LT(TopmostOpaqueRow(found[i]), rimTop);
        EXPECT_FALSE(ColoursIn(clean[i]).count(kWhite));
        EXPECT_TRUE(ColoursIn(found[i], 0, rimTop).count(kWhite));
    }
}

TEST(Encoder, StoresRowsBottomUpWithTheLeftPixelInTheHighNibble) {
    Canvas canvas(16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) canvas.Set(x, y, kSilver);
    }
    canvas.Set(0, 0, kRed);
    canvas.Set(1, 0, kBlue);
    canvas.Set(2, 0, kTransparent);
    canvas.Set(15, 15, kYellow);
    const std::vector<std::uint8_t> bytes = EncodeIco({canvas});
    const std::size_t image = 6 + 16;
    const std::size_t colours = image + 40 + 64;
    const std::size_t rowBytes = 8;
    const std::size_t masks = colours + rowBytes * 16;
    const std::size_t maskRowBytes = 4;
    ASSERT_EQ(bytes.size(), masks + maskRowBytes * 16);
    EXPECT_EQ(bytes[colours + 15 * rowBytes], 0x9C);      // top row is stored last
    EXPECT_EQ(bytes[colours + 15 * rowBytes + 1], 0x07);  // transparent pixel is black
    EXPECT_EQ(bytes[colours + 7], 0x7B);                  // bottom row first
    EXPECT_EQ(bytes[masks + 15 * maskRowBytes], 0x20);    // AND bit of (2, 0)
    EXPECT_EQ(bytes[masks], 0x00);
}

TEST(Encoder, RoundTripsEveryColourAndTheMask) {
    Canvas canvas(32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) canvas.Set(x, y, static_cast<Colour>((x + 3 * y) % 17 - 1));
    }
    std::vector<IcoImage> images;
    std::string error;
    ASSERT_TRUE(DecodeIco(EncodeIco({canvas, Canvas(16)}), images, error)) << error;
    ASSERT_EQ(images.size(), 2u);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) ASSERT_EQ(images[0].At(x, y), canvas.At(x, y)) << x << "," << y;
    }
    EXPECT_EQ(ColoursIn(images[1]), std::set<Colour>{kTransparent});
}

TEST(Decoder, RefusesWhatIsNotA4BitIcon) {
    std::vector<IcoImage> images;
    std::string error;
    EXPECT_FALSE(DecodeIco({0, 0, 2, 0, 1, 0}, images, error));  // a cursor directory
    std::vector<std::uint8_t> bytes = EncodeIco({Canvas(16)});
    bytes.resize(bytes.size() - 1);
    EXPECT_FALSE(DecodeIco(bytes, images, error));
}

TEST(Canvas, FillsEllipsesAndPolygonsSymmetrically) {
    Canvas canvas(16);
    canvas.FillEllipse({16, 16}, 9, 9, kLime);  // centred between pixels 7 and 8
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) ASSERT_EQ(canvas.At(x, y), canvas.At(15 - x, y)) << x << "," << y;
    }
    EXPECT_EQ(canvas.At(7, 7), kLime);
    EXPECT_EQ(canvas.At(0, 0), kTransparent);

    Canvas square(8);
    square.FillPolygon({{2, 2}, {14, 2}, {14, 14}, {2, 14}}, kBlue);  // pixel centres 1..6
    EXPECT_EQ(square.At(1, 1), kBlue);
    EXPECT_EQ(square.At(6, 6), kBlue);
    EXPECT_EQ(square.At(0, 3), kTransparent);
    EXPECT_EQ(square.At(7, 3), kTransparent);
}

}  // namespace
