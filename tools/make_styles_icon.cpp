// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the program's list icon, styles256.ico (256, 48, 32 and 16 pixels), and writes it to the
// path given: a blue tile with a style list, a pair of beamed notes and a keyboard.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <vector>

namespace {

struct Rgba {
  double r = 0, g = 0, b = 0, a = 0;
};

// Source-over blend of a colour with the given coverage.
void Blend(Rgba& dst, double r, double g, double b, double coverage) {
  const double a = coverage;
  const double outA = a + dst.a * (1 - a);
  if (outA <= 0) return;
  dst.r = (r * a + dst.r * dst.a * (1 - a)) / outA;
  dst.g = (g * a + dst.g * dst.a * (1 - a)) / outA;
  dst.b = (b * a + dst.b * dst.a * (1 - a)) / outA;
  dst.a = outA;
}

bool InRoundedRect(double x, double y, double x0, double y0, double x1, double y1, double r) {
  if (x < x0 || x > x1 || y < y0 || y > y1) return false;
  const double cx = std::clamp(x, x0 + r, x1 - r);
  const double cy = std::clamp(y, y0 + r, y1 - r);
  return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

bool InEllipse(double x, double y, double cx, double cy, double rx, double ry, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  const double dx = x - cx, dy = y - cy;
  const double u = dx * c + dy * s, v = -dx * s + dy * c;
  return (u * u) / (rx * rx) + (v * v) / (ry * ry) <= 1;
}

bool InQuad(double x, double y, const std::array<double, 8>& p) {
  // Convex quadrilateral, points in order.
  bool pos = false, neg = false;
  for (int i = 0; i < 4; ++i) {
    const double ax = p[2 * i], ay = p[2 * i + 1];
    const double bx = p[(2 * i + 2) % 8], by = p[(2 * i + 3) % 8];
    const double cross = (bx - ax) * (y - ay) - (by - ay) * (x - ax);
    pos |= cross > 0;
    neg |= cross < 0;
  }
  return !(pos && neg);
}

// The picture in a 256-unit square; each layer is a shape and a colour.
void Paint(Rgba& px, double x, double y, double coverage) {
  if (InRoundedRect(x, y, 12, 12, 244, 244, 44)) {
    const double t = (y - 12) / 232;
    Blend(px, 0.17 + 0.05 * (1 - t), 0.36 + 0.12 * (1 - t), 0.70 + 0.12 * (1 - t), coverage);
  }
  // The style list: three lines with bullets.
  for (int i = 0; i < 3; ++i) {
    const double top = 44 + i * 34;
    if (InRoundedRect(x, y, 40, top, 56, top + 16, 4)) Blend(px, 1, 0.82, 0.30, coverage);
    if (InRoundedRect(x, y, 66, top + 2, 132 - i * 14, top + 14, 6)) Blend(px, 1, 1, 1, coverage);
  }
  // Two beamed eighth notes.
  const double tilt = -0.35;
  if (InEllipse(x, y, 166, 146, 19, 13, tilt) || InEllipse(x, y, 218, 128, 19, 13, tilt)) {
    Blend(px, 1, 1, 1, coverage);
  }
  if (InRoundedRect(x, y, 179, 58, 187, 142, 2) || InRoundedRect(x, y, 231, 40, 239, 124, 2)) {
    Blend(px, 1, 1, 1, coverage);
  }
  if (InQuad(x, y, {179, 58, 239, 40, 239, 60, 179, 78})) Blend(px, 1, 1, 1, coverage);
  // The keyboard: eight white keys with black keys between.
  const double k0 = 36, k1 = 220, kt = 176, kb = 226;
  const double w = (k1 - k0) / 8;
  if (InRoundedRect(x, y, k0, kt, k1, kb, 6)) {
    const double key = (x - k0) / w;
    const double edge = key - std::floor(key);
    const bool gap = edge < 0.06 && key > 0.5;
    if (gap) {
      Blend(px, 0.12, 0.2, 0.35, coverage);
    } else {
      Blend(px, 0.97, 0.97, 0.97, coverage);
    }
    const int k = static_cast<int>(std::floor(key + 0.5));
    const bool hasBlack = k == 1 || k == 2 || k == 4 || k == 5 || k == 6;
    if (hasBlack && std::fabs(key - k) < 0.3 && y < kt + 30) Blend(px, 0.08, 0.1, 0.16, coverage);
  }
}

std::vector<std::uint8_t> Render(int size) {
  constexpr int kSamples = 4;
  std::vector<std::uint8_t> bgra(static_cast<std::size_t>(size) * size * 4);
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          Rgba pixel;
          const double x = (px + (sx + 0.5) / kSamples) * 256.0 / size;
          const double y = (py + (sy + 0.5) / kSamples) * 256.0 / size;
          Paint(pixel, x, y, 1.0);
          r += pixel.r * pixel.a;
          g += pixel.g * pixel.a;
          b += pixel.b * pixel.a;
          a += pixel.a;
        }
      }
      const double n = kSamples * kSamples;
      const double alpha = a / n;
      auto channel = [&](double premultiplied) {
        return static_cast<std::uint8_t>(
            std::lround(std::clamp(alpha > 0 ? premultiplied / a : 0.0, 0.0, 1.0) * 255));
      };
      // Bottom-up rows, as the icon format stores them.
      const std::size_t at = (static_cast<std::size_t>(size - 1 - py) * size + px) * 4;
      bgra[at + 0] = channel(b);
      bgra[at + 1] = channel(g);
      bgra[at + 2] = channel(r);
      bgra[at + 3] = static_cast<std::uint8_t>(std::lround(alpha * 255));
    }
  }
  return bgra;
}

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void Put32(std::vector<std::uint8_t>& out, unsigned v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_styles_icon OUT.ico\n";
    return 2;
  }
  const std::array<int, 4> sizes = {256, 48, 32, 16};
  std::vector<std::vector<std::uint8_t>> images;
  for (const int s : sizes) {
    std::vector<std::uint8_t> image;
    const unsigned maskRow = static_cast<unsigned>((s + 31) / 32 * 4);
    const auto pixels = Render(s);
    Put32(image, 40);
    Put32(image, static_cast<unsigned>(s));
    Put32(image, static_cast<unsigned>(2 * s));
    Put16(image, 1);
    Put16(image, 32);
    Put32(image, 0);
    Put32(image, static_cast<unsigned>(pixels.size() + maskRow * s));
    for (int i = 0; i < 4; ++i) Put32(image, 0);
    image.insert(image.end(), pixels.begin(), pixels.end());
    image.insert(image.end(), static_cast<std::size_t>(maskRow) * s, 0);  // alpha decides
    images.push_back(std::move(image));
  }
  std::vector<std::uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, static_cast<unsigned>(sizes.size()));
  unsigned offset = static_cast<unsigned>(6 + 16 * sizes.size());
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const int s = sizes[i];
    out.push_back(static_cast<std::uint8_t>(s >= 256 ? 0 : s));
    out.push_back(static_cast<std::uint8_t>(s >= 256 ? 0 : s));
    out.push_back(0);
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, static_cast<unsigned>(images[i].size()));
    Put32(out, offset);
    offset += static_cast<unsigned>(images[i].size());
  }
  for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
  std::ofstream file(argv[1], std::ios::binary);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return file ? 0 : 1;
}
