#include "wallpaper.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "common/scoped_handle.h"

namespace standin {

namespace {

constexpr COLORREF kFallbackColour = RGB(24, 40, 78);
constexpr int kStarCount = 140;

struct Colour {
    double r, g, b;
};

constexpr Colour kZenith{14, 22, 54};
constexpr Colour kMidSky{70, 58, 120};
constexpr Colour kHorizon{214, 128, 118};
constexpr Colour kSunGlow{255, 214, 160};
constexpr Colour kFarHill{46, 52, 92};
constexpr Colour kNearHill{20, 26, 52};

Colour Mix(const Colour& a, const Colour& b, double t) {
    return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double Clamp01(double v) {
    return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
}

uint32_t Pack(const Colour& c) {
    auto channel = [](double v) { return static_cast<uint32_t>(v < 0.0 ? 0.0 : (v > 255.0 ? 255.0 : v)); };
    return (channel(c.r) << 16) | (channel(c.g) << 8) | channel(c.b);
}

struct Scene {
    int width;
    int height;
    double horizon;  // y where the sky meets the far hill, on average
    double sunX, sunY, glowRadius;
};

double FarHillTop(const Scene& s, double x) {
    return s.horizon + 0.035 * s.height * std::sin(6.2832 * x / s.width * 1.3 + 0.6);
}

double NearHillTop(const Scene& s, double x) {
    return s.horizon + 0.11 * s.height + 0.045 * s.height * std::sin(6.2832 * x / s.width * 0.9 + 2.4);
}

// What a pixel's colour takes from its column and from its row: the sun's glow is a product of
// the two, the hills' outlines depend on the column alone, and the sky's gradient and the
// hills' shade on the row. Worked out once per column and row, the picture takes a few
// milliseconds instead of a third of a second (the desktop is built for every test).
struct Column {
    double glow;
    double farTop, nearTop;
};

struct Row {
    double y;
    Colour sky;
    double glow;
    Colour farHill;
};

Column ColumnAt(const Scene& s, int px) {
    double x = px + 0.5;
    double dx = x - s.sunX;
    return Column{std::exp(-(dx * dx) / (2.0 * s.glowRadius * s.glowRadius)), FarHillTop(s, x), NearHillTop(s, x)};
}

Row RowAt(const Scene& s, int py) {
    double y = py + 0.5;
    double t = Clamp01(y / s.horizon);
    Colour sky = t < 0.55 ? Mix(kZenith, kMidSky, t / 0.55) : Mix(kMidSky, kHorizon, (t - 0.55) / 0.45);
    double dy = y - s.sunY;
    return Row{y, sky, std::exp(-(dy * dy) / (2.0 * s.glowRadius * s.glowRadius)),
               Mix(kFarHill, kNearHill, Clamp01((y - s.horizon) / s.height))};
}

// The hills are blended over a pixel of their edge so the outline is smooth.
Colour PixelAt(const Column& column, const Row& row) {
    Colour c = Mix(row.sky, kSunGlow, 0.75 * column.glow * row.glow);
    c = Mix(c, row.farHill, Clamp01(row.y - column.farTop + 0.5));
    return Mix(c, kNearHill, Clamp01(row.y - column.nearTop + 0.5));
}

// A fixed scatter of faint stars in the upper sky, the same on every run.
void AddStars(const Scene& s, uint32_t* pixels) {
    uint32_t seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) & 0xFFFF;
    };
    auto band = static_cast<uint32_t>(s.horizon * 0.5);
    if (band == 0) {
        return;
    }
    for (int i = 0; i < kStarCount; ++i) {
        int x = static_cast<int>(next() % static_cast<uint32_t>(s.width));
        int y = static_cast<int>(next() % band);
        double strength = 0.25 + (next() % 100) / 180.0;
        uint32_t& p = pixels[static_cast<size_t>(y) * s.width + x];
        Colour base{static_cast<double>((p >> 16) & 0xFF), static_cast<double>((p >> 8) & 0xFF),
                    static_cast<double>(p & 0xFF)};
        p = Pack(Mix(base, Colour{255, 255, 240}, strength));
    }
}

}  // namespace

HBITMAP CreateWallpaper(int width, int height) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr) {
        return bitmap;
    }
    Scene scene{width, height, 0.70 * height, 0.72 * width, 0.64 * height, 0.16 * width};
    auto* pixels = static_cast<uint32_t*>(bits);
    std::vector<Column> columns(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x) {
        columns[static_cast<size_t>(x)] = ColumnAt(scene, x);
    }
    for (int y = 0; y < height; ++y) {
        const Row row = RowAt(scene, y);
        for (int x = 0; x < width; ++x) {
            pixels[static_cast<size_t>(y) * width + x] = Pack(PixelAt(columns[static_cast<size_t>(x)], row));
        }
    }
    AddStars(scene, pixels);
    GdiFlush();
    return bitmap;
}

void PaintWallpaper(HDC dc, HBITMAP wallpaper, const RECT& area) {
    if (wallpaper == nullptr) {
        ScopedGdiObject brush(CreateSolidBrush(kFallbackColour));
        FillRect(dc, &area, static_cast<HBRUSH>(brush.Get()));
        return;
    }
    ScopedMemoryDc source(CreateCompatibleDC(dc));
    if (!source) {
        return;
    }
    HGDIOBJ previous = SelectObject(source.Get(), wallpaper);
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, source.Get(), area.left, area.top,
           SRCCOPY);
    SelectObject(source.Get(), previous);
}

}  // namespace standin
