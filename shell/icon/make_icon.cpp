// Draws the program's clock icon and writes it as a 128 x 128, 32-bit ICO file (67,646 bytes).
// Built and run on the build machine: make_icon <output.ico>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSize = 128;
constexpr int kSamples = 4;  // per axis, for smooth edges
constexpr double kPi = 3.14159265358979323846;

struct Colour {
    double r, g, b;
};

struct Pixel {
    double r = 0, g = 0, b = 0, a = 0;  // premultiplied
};

// A shape is a coverage test at a point of the 128 x 128 square.
struct Disc {
    double cx, cy, radius;
    bool Covers(double x, double y) const { return std::hypot(x - cx, y - cy) <= radius; }
};

struct Ring {
    double cx, cy, inner, outer;
    bool Covers(double x, double y) const {
        const double d = std::hypot(x - cx, y - cy);
        return d >= inner && d <= outer;
    }
};

// A segment with round ends.
struct Stroke {
    double x0, y0, x1, y1, halfWidth;
    bool Covers(double x, double y) const {
        const double dx = x1 - x0, dy = y1 - y0;
        double t = ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy);
        t = t < 0 ? 0 : (t > 1 ? 1 : t);
        return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= halfWidth;
    }
};

class Canvas {
public:
    Canvas() : pixels_(kSize * kSize) {}

    template <typename Shape>
    void Fill(const Shape& shape, Colour colour, double opacity = 1.0) {
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                int covered = 0;
                for (int sy = 0; sy < kSamples; ++sy)
                    for (int sx = 0; sx < kSamples; ++sx)
                        covered += shape.Covers(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples);
                const double a = opacity * covered / (kSamples * kSamples);
                if (a == 0) continue;
                Pixel& p = pixels_[y * kSize + x];
                p.r = colour.r * a + p.r * (1 - a);
                p.g = colour.g * a + p.g * (1 - a);
                p.b = colour.b * a + p.b * (1 - a);
                p.a = a + p.a * (1 - a);
            }
    }

    const Pixel& At(int x, int y) const { return pixels_[y * kSize + x]; }

private:
    std::vector<Pixel> pixels_;
};

Stroke Hand(double angleDegrees, double length, double tail, double halfWidth) {
    const double a = angleDegrees * kPi / 180.0;
    const double c = 64.0, dx = std::sin(a), dy = -std::cos(a);
    return {c - dx * tail, c - dy * tail, c + dx * length, c + dy * length, halfWidth};
}

void Draw(Canvas& canvas) {
    const Colour shadow{0.05, 0.07, 0.12}, rim{0.12, 0.17, 0.27}, face{0.98, 0.96, 0.91}, ink{0.13, 0.16, 0.22},
        accent{0.85, 0.28, 0.23};
    canvas.Fill(Disc{64, 66.5, 62}, shadow, 0.25);
    canvas.Fill(Disc{64, 64, 61}, rim);
    canvas.Fill(Disc{64, 64, 50}, face);
    for (int hour = 0; hour < 12; ++hour) {
        const bool quarter = hour % 3 == 0;
        const double a = hour * 30.0 * kPi / 180.0;
        const double outer = 45, inner = quarter ? 35 : 39;
        canvas.Fill(Stroke{64 + std::sin(a) * inner, 64 - std::cos(a) * inner, 64 + std::sin(a) * outer,
                           64 - std::cos(a) * outer, quarter ? 2.6 : 1.6},
                    ink);
    }
    // Ten past ten: the hands frame the centre and read well at any size.
    canvas.Fill(Hand(305, 27, 6, 6.0), ink);
    canvas.Fill(Hand(60, 38, 7, 4.6), ink);
    canvas.Fill(Hand(180, 40, 10, 1.6), accent);
    canvas.Fill(Disc{64, 64, 5.5}, accent);
    canvas.Fill(Disc{64, 64, 2}, face);
}

void Put16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(value & 0xFF);
    out.push_back((value >> 8) & 0xFF);
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

std::vector<std::uint8_t> IcoFile(const Canvas& canvas) {
    constexpr std::uint32_t kColourBytes = kSize * kSize * 4;
    constexpr std::uint32_t kMaskBytes = kSize / 8 * kSize;
    constexpr std::uint32_t kImageBytes = 40 + kColourBytes + kMaskBytes;
    std::vector<std::uint8_t> out;
    Put16(out, 0);  // reserved
    Put16(out, 1);  // icon
    Put16(out, 1);  // one image
    out.push_back(kSize);
    out.push_back(kSize);
    out.push_back(0);  // no palette
    out.push_back(0);
    Put16(out, 1);   // planes
    Put16(out, 32);  // bits per pixel
    Put32(out, kImageBytes);
    Put32(out, 6 + 16);
    // BITMAPINFOHEADER: the height counts the colour rows and the mask rows.
    Put32(out, 40);
    Put32(out, kSize);
    Put32(out, kSize * 2);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    Put32(out, kColourBytes + kMaskBytes);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    // Rows bottom-up, BGRA with straight alpha.
    for (int y = kSize - 1; y >= 0; --y)
        for (int x = 0; x < kSize; ++x) {
            const Pixel& p = canvas.At(x, y);
            auto channel = [&](double premultiplied) {
                return static_cast<std::uint8_t>(std::lround(p.a > 0 ? 255.0 * premultiplied / p.a : 0.0));
            };
            out.push_back(channel(p.b));
            out.push_back(channel(p.g));
            out.push_back(channel(p.r));
            out.push_back(static_cast<std::uint8_t>(std::lround(255.0 * p.a)));
        }
    // The AND mask: set where the icon is fully transparent.
    for (int y = kSize - 1; y >= 0; --y)
        for (int byte = 0; byte < kSize / 8; ++byte) {
            std::uint8_t bits = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (std::lround(255.0 * canvas.At(byte * 8 + bit, y).a) == 0) bits |= 0x80 >> bit;
            out.push_back(bits);
        }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon <output.ico>\n");
        return 2;
    }
    Canvas canvas;
    Draw(canvas);
    const std::vector<std::uint8_t> ico = IcoFile(canvas);
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file || std::fwrite(ico.data(), 1, ico.size(), file) != ico.size() || std::fclose(file) != 0) {
        std::fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
