// Reads a message box of another process: its caption, text, buttons and which icon it shows.
#include "tests/e2e/message_box.h"

#include <cstdint>
#include <cstring>
#include <utility>

namespace e2e {
namespace {

using Pixels = std::vector<std::uint32_t>;

// A 32-bit top-down DIB section selected into a memory DC, released with the object.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        if (bitmap_) old_ = SelectObject(dc_, bitmap_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() {
        if (old_) SelectObject(dc_, old_);
        if (bitmap_) DeleteObject(bitmap_);
        if (dc_) DeleteDC(dc_);
    }
    bool Ok() const { return bitmap_ && bits_; }
    HDC Dc() const { return dc_; }
    Pixels Read() const {
        GdiFlush();
        Pixels pixels(static_cast<size_t>(width_) * height_);
        std::memcpy(pixels.data(), bits_, pixels.size() * sizeof(std::uint32_t));
        for (auto& pixel : pixels) pixel &= 0x00FFFFFF;
        return pixels;
    }

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};

Pixels Reference(LPCSTR which, int width, int height) {
    Canvas canvas(width, height);
    if (!canvas.Ok()) return {};
    RECT all = {0, 0, width, height};
    FillRect(canvas.Dc(), &all, GetSysColorBrush(COLOR_3DFACE));
    DrawIconEx(canvas.Dc(), 0, 0, LoadIconA(nullptr, which), width, height, 0, nullptr, DI_NORMAL);
    return canvas.Read();
}

Pixels Screen(const RECT& rect) {
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    Canvas canvas(width, height);
    if (!canvas.Ok()) return {};
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.Dc(), 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return canvas.Read();
}

size_t Mismatches(const Pixels& a, const Pixels& b) {
    if (a.size() != b.size() || a.empty()) return SIZE_MAX;
    size_t count = 0;
    for (size_t i = 0; i < a.size(); ++i) count += a[i] != b[i];
    return count;
}

std::string TellIcon(HWND iconControl, Millis limit) {
    if (!iconControl) return "none";
    DWORD_PTR icon = 0;
    if (!SendMessageTimeoutA(iconControl, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &icon)) return "(no answer)";
    if (!icon || !IsWindowVisible(iconControl)) return "none";
    RECT rect;
    GetWindowRect(iconControl, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    const std::pair<const char*, LPCSTR> kinds[] = {
        {"exclamation", IDI_EXCLAMATION}, {"hand", IDI_HAND}, {"asterisk", IDI_ASTERISK}, {"question", IDI_QUESTION}};
    std::vector<std::pair<const char*, Pixels>> references;
    for (const auto& [name, id] : kinds) references.emplace_back(name, Reference(id, width, height));

    std::string told;
    size_t best = SIZE_MAX;
    const char* bestName = "";
    WaitUntil(
        [&] {
            Pixels shown = Screen(rect);
            best = SIZE_MAX;
            for (const auto& [name, pixels] : references) {
                size_t miss = Mismatches(shown, pixels);
                if (miss < best) {
                    best = miss;
                    bestName = name;
                }
            }
            return best == 0;
        },
        limit, Millis(100));
    if (best == 0) return bestName;
    return "(no icon matched; nearest " + std::string(bestName) + " with " +
           (best == SIZE_MAX ? std::string("no capture") : std::to_string(best)) + " of " +
           std::to_string(width * height) + " pixels differing)";
}

}  // namespace

MessageBoxView ReadMessageBox(HWND box, Millis limit) {
    MessageBoxView view;
    view.caption = WindowText(box);
    HWND iconControl = nullptr;
    for (const ChildInfo& child : Children(box)) {
        if (child.className == "Button") {
            if (child.style & WS_VISIBLE) view.buttons.push_back(child.id);
        } else if (child.className == "Static") {
            if ((child.style & SS_TYPEMASK) == SS_ICON) {
                iconControl = child.window;
            } else if (child.style & WS_VISIBLE) {
                view.text = child.text;
            }
        }
    }
    view.icon = TellIcon(iconControl, limit);
    return view;
}

}  // namespace e2e
