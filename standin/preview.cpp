#include "standin/preview.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "standin/standin.h"

extern "C" bool WKE_CALL standinPaintFrame(wkeWebView view, int x, int y, int cx, int cy);

namespace standin {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr UINT kFirstFrameDelay = 50;

bool g_enabled = true;

struct Preview {
    UINT_PTR timer = 0;
    bool pageFound = true;
    int faceWidth = 0;
    int faceHeight = 0;
    std::vector<std::uint32_t> face;  // the frame without its hands, premultiplied BGRA
};

std::map<std::uintptr_t, Preview> g_previews;

std::uintptr_t Key(wkeWebView view) { return reinterpret_cast<std::uintptr_t>(view); }

double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

// Coverage of a shape whose signed distance (negative inside) is d, with a one-pixel soft edge.
double Coverage(double d) { return Clamp01(0.5 - d); }

struct Colour {
    double r, g, b;
};

// Blends a colour of coverage `a` over a premultiplied pixel.
void Blend(std::uint32_t& pixel, Colour c, double a) {
    if (a <= 0) return;
    const double inverse = 1 - a;
    const double b0 = (pixel & 0xFF) / 255.0, g0 = ((pixel >> 8) & 0xFF) / 255.0, r0 = ((pixel >> 16) & 0xFF) / 255.0,
                 a0 = (pixel >> 24) / 255.0;
    auto byte = [](double v) { return static_cast<std::uint32_t>(std::lround(Clamp01(v) * 255)); };
    pixel = byte(c.b * a + b0 * inverse) | (byte(c.g * a + g0 * inverse) << 8) | (byte(c.r * a + r0 * inverse) << 16) |
            (byte(a + a0 * inverse) << 24);
}

constexpr Colour kShadow{0.02, 0.03, 0.06};
constexpr Colour kRim{0.12, 0.17, 0.27};
constexpr Colour kFace{0.98, 0.96, 0.91};
constexpr Colour kInk{0.13, 0.16, 0.22};
constexpr Colour kAccent{0.85, 0.28, 0.23};
constexpr Colour kMissing{0.55, 0.55, 0.58};  // the rim when the page file is not there

struct Dial {
    double cx, cy, radius;
};

Dial DialOf(int width, int height) {
    return {width / 2.0, height / 2.0, std::max(1.0, std::min(width, height) / 2.0 - 24)};
}

void DrawFace(Preview& preview, int width, int height) {
    preview.face.assign(static_cast<std::size_t>(width) * height, 0);
    preview.faceWidth = width;
    preview.faceHeight = height;
    const Dial dial = DialOf(width, height);
    const double rimWidth = dial.radius * 0.07;
    const int left = std::max(0, static_cast<int>(dial.cx - dial.radius - 16));
    const int right = std::min(width, static_cast<int>(dial.cx + dial.radius + 16));
    const int top = std::max(0, static_cast<int>(dial.cy - dial.radius - 16));
    const int bottom = std::min(height, static_cast<int>(dial.cy + dial.radius + 20));
    const double faceRadius = dial.radius - rimWidth;
    const double outer = faceRadius - dial.radius * 0.04;
    const double innerMost = outer - dial.radius * 0.12;
    std::uint32_t plainFace = 0;
    Blend(plainFace, kFace, 1.0);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            std::uint32_t& pixel = preview.face[static_cast<std::size_t>(y) * width + x];
            const double dx = x + 0.5 - dial.cx, dy = y + 0.5 - dial.cy;
            const double r = std::sqrt(dx * dx + dy * dy);
            // Most of the dial is plain face: only the edges and the marks need the full work.
            if (preview.pageFound && r < innerMost - 1) {
                pixel = plainFace;
                continue;
            }
            Blend(pixel, kShadow, 0.3 * Clamp01((dial.radius + 10 - std::sqrt(dx * dx + (dy - 6) * (dy - 6))) / 14));
            Blend(pixel, preview.pageFound ? kRim : kMissing, Coverage(r - dial.radius));
            if (!preview.pageFound || r > faceRadius + 1) continue;
            Blend(pixel, kFace, Coverage(r - faceRadius));
            if (r < innerMost - 1 || r > outer + 1) continue;
            // Minute and hour marks: the distance to the nearest mark's centre line.
            const double angle = std::atan2(dx, -dy);
            const double step = kPi / 30;
            const double nearest = std::round(angle / step);
            const bool hour = static_cast<long>(nearest) % 5 == 0;
            const double inner = outer - dial.radius * (hour ? 0.12 : 0.04);
            const double across = std::fabs(r * std::sin(angle - nearest * step));
            const double along = std::max(inner - r, r - outer);
            const double halfWidth = dial.radius * (hour ? 0.016 : 0.006);
            Blend(pixel, kInk, Coverage(std::max(across - halfWidth, along)));
        }
}

// A hand: a segment with round ends, drawn in its bounding box.
void DrawHand(std::uint32_t* pixels, int width, int height, const Dial& dial, double turns, double length, double tail,
              double halfWidth, Colour colour) {
    const double a = turns * 2 * kPi;
    const double ux = std::sin(a), uy = -std::cos(a);
    const double x0 = dial.cx - ux * tail, y0 = dial.cy - uy * tail;
    const double x1 = dial.cx + ux * length, y1 = dial.cy + uy * length;
    const int left = std::max(0, static_cast<int>(std::min(x0, x1) - halfWidth - 2));
    const int right = std::min(width, static_cast<int>(std::max(x0, x1) + halfWidth + 2));
    const int top = std::max(0, static_cast<int>(std::min(y0, y1) - halfWidth - 2));
    const int bottom = std::min(height, static_cast<int>(std::max(y0, y1) + halfWidth + 2));
    const double lx = x1 - x0, ly = y1 - y0, lengthSquared = lx * lx + ly * ly;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const double px = x + 0.5 - x0, py = y + 0.5 - y0;
            const double t = lengthSquared > 0 ? Clamp01((px * lx + py * ly) / lengthSquared) : 0.0;
            const double d = std::hypot(px - t * lx, py - t * ly) - halfWidth;
            Blend(pixels[static_cast<std::size_t>(y) * width + x], colour, Coverage(d));
        }
}

void DrawFrame(View& view, Preview& preview) {
    if (!view.bits || view.width <= 0 || view.height <= 0) return;
    if (preview.faceWidth != view.width || preview.faceHeight != view.height)
        DrawFace(preview, view.width, view.height);
    auto* pixels = static_cast<std::uint32_t*>(view.bits);
    std::copy(preview.face.begin(), preview.face.end(), pixels);
    if (!preview.pageFound) return;

    SYSTEMTIME now;
    GetLocalTime(&now);
    const double seconds = now.wSecond;
    const double minutes = now.wMinute + seconds / 60;
    const double hours = now.wHour % 12 + minutes / 60;
    const Dial dial = DialOf(view.width, view.height);
    const double r = dial.radius;
    DrawHand(pixels, view.width, view.height, dial, hours / 12, r * 0.5, r * 0.1, r * 0.035, kInk);
    DrawHand(pixels, view.width, view.height, dial, minutes / 60, r * 0.75, r * 0.12, r * 0.024, kInk);
    DrawHand(pixels, view.width, view.height, dial, seconds / 60, r * 0.8, r * 0.18, r * 0.007, kAccent);
    DrawHand(pixels, view.width, view.height, dial, 0, 0, 0, r * 0.035, kAccent);
}

void CALLBACK OnPreviewTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    for (auto& [key, preview] : g_previews)
        if (preview.timer == timer) {
            const auto view = reinterpret_cast<wkeWebView>(key);
            PaintPreviewFrame(view);
            SYSTEMTIME now;
            GetLocalTime(&now);
            // The next frame at the start of the next second.
            preview.timer = SetTimer(nullptr, timer, 1000 - now.wMilliseconds + 5, OnPreviewTimer);
            return;
        }
    KillTimer(nullptr, timer);
}

}  // namespace

void SetPreviewEnabled(bool enabled) {
    g_enabled = enabled;
    if (!enabled)
        for (auto& [key, preview] : g_previews) StopPreview(reinterpret_cast<wkeWebView>(key));
}

void UpdatePreview(wkeWebView view) {
    View* v = Find(view);
    if (!v || !v->host || !g_enabled) {
        StopPreview(view);
        return;
    }
    Preview& preview = g_previews[Key(view)];
    if (!preview.timer) preview.timer = SetTimer(nullptr, 0, kFirstFrameDelay, OnPreviewTimer);
}

void StopPreview(wkeWebView view) {
    auto found = g_previews.find(Key(view));
    if (found == g_previews.end()) return;
    if (found->second.timer) KillTimer(nullptr, found->second.timer);
    found->second.timer = 0;
}

void ForgetPreview(wkeWebView view) {
    StopPreview(view);
    g_previews.erase(Key(view));
}

void PreviewLoaded(wkeWebView view, const wchar_t* address) {
    if (!Find(view)) return;
    Preview& preview = g_previews[Key(view)];
    const bool isFile = address && std::wstring(address).find(L"://") == std::wstring::npos;
    preview.pageFound = !isFile || GetFileAttributesW(address) != INVALID_FILE_ATTRIBUTES;
    preview.faceWidth = preview.faceHeight = 0;
}

void PaintPreviewFrame(wkeWebView view) {
    View* v = Find(view);
    if (!v) return;
    DrawFrame(*v, g_previews[Key(view)]);
    standinPaintFrame(view, 0, 0, v->width, v->height);
}

}  // namespace standin
