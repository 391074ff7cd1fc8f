// Encoding 16-colour canvases as a Windows .ico file, and reading one back for checks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

// One image per canvas, in the order given (largest first by convention).
std::vector<std::uint8_t> EncodeIco(const std::vector<Canvas>& images);

struct IcoImage {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    int colourCount = 0;
    // 0x00RRGGBB per palette entry.
    std::vector<std::uint32_t> palette;
    // Palette index per pixel, top row first; kTransparent where the AND mask is set.
    std::vector<Colour> pixels;

    Colour At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// Parses what EncodeIco writes (4 bpp, uncompressed); false with a reason otherwise.
bool DecodeIco(const std::vector<std::uint8_t>& bytes, std::vector<IcoImage>& images, std::string& error);
