// The .ico layout: a directory of entries, then per image a BITMAPINFOHEADER of double
// height (colour rows and mask rows), the palette, the 4-bit colour rows and the 1-bit AND
// mask rows, both bottom-up and padded to whole 32-bit words.
#include "ico_file.h"

namespace {

constexpr int kBitCount = 4;
constexpr int kPaletteSize = 16;
constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kInfoHeaderSize = 40;

// B, G, R as an RGBQUAD stores them.
constexpr std::uint8_t kVgaPalette[kPaletteSize][3] = {
    {0x00, 0x00, 0x00}, {0x00, 0x00, 0x80}, {0x00, 0x80, 0x00}, {0x00, 0x80, 0x80},
    {0x80, 0x00, 0x00}, {0x80, 0x00, 0x80}, {0x80, 0x80, 0x00}, {0xC0, 0xC0, 0xC0},
    {0x80, 0x80, 0x80}, {0x00, 0x00, 0xFF}, {0x00, 0xFF, 0x00}, {0x00, 0xFF, 0xFF},
    {0xFF, 0x00, 0x00}, {0xFF, 0x00, 0xFF}, {0xFF, 0xFF, 0x00}, {0xFF, 0xFF, 0xFF},
};

std::size_t RowBytes(int width, int bitsPerPixel) {
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32 * 4;
}

std::size_t ImageBytes(int size) {
    return kInfoHeaderSize + static_cast<std::size_t>(kPaletteSize) * 4 +
           (RowBytes(size, kBitCount) + RowBytes(size, 1)) * static_cast<std::size_t>(size);
}

void Put16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

std::uint32_t Get16(const std::vector<std::uint8_t>& in, std::size_t at) {
    return static_cast<std::uint32_t>(in[at] | in[at + 1] << 8);
}

std::uint32_t Get32(const std::vector<std::uint8_t>& in, std::size_t at) {
    return Get16(in, at) | Get16(in, at + 2) << 16;
}

void PutImage(std::vector<std::uint8_t>& out, const Canvas& canvas) {
    const int size = canvas.Size();
    const std::size_t colourRow = RowBytes(size, kBitCount);
    const std::size_t maskRow = RowBytes(size, 1);
    Put32(out, kInfoHeaderSize);
    Put32(out, static_cast<std::uint32_t>(size));
    Put32(out, static_cast<std::uint32_t>(size * 2));  // colour rows and mask rows together
    Put16(out, 1);
    Put16(out, kBitCount);
    Put32(out, 0);  // BI_RGB
    Put32(out, static_cast<std::uint32_t>((colourRow + maskRow) * size));
    for (int i = 0; i < 4; ++i) Put32(out, 0);
    for (const auto& bgr : kVgaPalette) {
        out.insert(out.end(), bgr, bgr + 3);
        out.push_back(0);
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(colourRow, 0);
        for (int x = 0; x < size; ++x) {
            const Colour c = canvas.At(x, y);
            // A transparent pixel is black in the colour plane, so the screen shows through.
            const auto index = static_cast<std::uint8_t>(c == kTransparent ? kBlack : c);
            row[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskRow, 0);
        for (int x = 0; x < size; ++x) {
            if (canvas.At(x, y) == kTransparent) row[static_cast<std::size_t>(x / 8)] |= 0x80 >> (x % 8);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
}

}  // namespace

std::vector<std::uint8_t> EncodeIco(const std::vector<Canvas>& images) {
    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);  // icon, not cursor
    Put16(out, static_cast<unsigned>(images.size()));
    std::size_t offset = kDirectorySize + kEntrySize * images.size();
    for (const Canvas& canvas : images) {
        const int size = canvas.Size();
        out.push_back(static_cast<std::uint8_t>(size));
        out.push_back(static_cast<std::uint8_t>(size));
        out.push_back(kPaletteSize);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, kBitCount);
        Put32(out, static_cast<std::uint32_t>(ImageBytes(size)));
        Put32(out, static_cast<std::uint32_t>(offset));
        offset += ImageBytes(size);
    }
    for (const Canvas& canvas : images) PutImage(out, canvas);
    return out;
}

bool DecodeIco(const std::vector<std::uint8_t>& bytes, std::vector<IcoImage>& images, std::string& error) {
    images.clear();
    if (bytes.size() < kDirectorySize || Get16(bytes, 0) != 0 || Get16(bytes, 2) != 1) {
        error = "not an icon directory";
        return false;
    }
    const std::size_t count = Get16(bytes, 4);
    if (bytes.size() < kDirectorySize + kEntrySize * count) {
        error = "directory cut short";
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = kDirectorySize + kEntrySize * i;
        IcoImage image;
        image.width = bytes[entry] == 0 ? 256 : bytes[entry];
        image.height = bytes[entry + 1] == 0 ? 256 : bytes[entry + 1];
        image.colourCount = bytes[entry + 2];
        image.bitCount = static_cast<int>(Get16(bytes, entry + 6));
        const std::size_t length = Get32(bytes, entry + 8);
        const std::size_t at = Get32(bytes, entry + 12);
        if (at + length > bytes.size() || length < kInfoHeaderSize) {
            error = "image " + std::to_string(i) + " lies outside the file";
            return false;
        }
        if (Get32(bytes, at) != kInfoHeaderSize || Get32(bytes, at + 4) != static_cast<std::uint32_t>(image.width) ||
            Get32(bytes, at + 8) != static_cast<std::uint32_t>(image.height * 2) ||
            Get16(bytes, at + 14) != static_cast<std::uint32_t>(image.bitCount) || Get32(bytes, at + 16) != 0) {
            error = "image " + std::to_string(i) + " header disagrees with its entry";
            return false;
        }
        if (image.bitCount != kBitCount || length != ImageBytes(image.width) || image.width != image.height) {
            error = "image " + std::to_string(i) + " is not a square 4-bit image";
            return false;
        }
        const int size = image.width;
        for (int c = 0; c < kPaletteSize; ++c) {
            const std::size_t quad = at + kInfoHeaderSize + static_cast<std::size_t>(c) * 4;
            image.palette.push_back(bytes[quad] | bytes[quad + 1] << 8 |
                                    static_cast<std::uint32_t>(bytes[quad + 2]) << 16);
        }
        const std::size_t colours = at + kInfoHeaderSize + static_cast<std::size_t>(kPaletteSize) * 4;
        const std::size_t masks = colours + RowBytes(size, kBitCount) * static_cast<std::size_t>(size);
        image.pixels.assign(static_cast<std::size_t>(size) * static_cast<std::size_t>(size), kTransparent);
        for (int y = 0; y < size; ++y) {
            const std::size_t fileRow = static_cast<std::size_t>(size - 1 - y);
            for (int x = 0; x < size; ++x) {
                const std::uint8_t mask = bytes[masks + fileRow * RowBytes(size, 1) + x / 8];
                if (mask & (0x80 >> (x % 8))) continue;
                const std::uint8_t pair = bytes[colours + fileRow * RowBytes(size, kBitCount) + x / 2];
                image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(size) +
                             static_cast<std::size_t>(x)] = static_cast<Colour>(x % 2 == 0 ? pair >> 4 : pair & 0x0F);
            }
        }
        images.push_back(std::move(image));
    }
    return true;
}
