#include "gui/LICE_AreaResample.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The source pixels one destination pixel covers along an axis, with their weights.
struct Span {
  int first = 0;
  std::vector<double> weights;  // for first, first + 1, ...; they add up to 1
};

std::vector<Span> SpansFor(int destLength, int srcLength) {
  const double step = double(srcLength) / double(destLength);
  std::vector<Span> spans(static_cast<size_t>(destLength));
  for (int d = 0; d < destLength; ++d) {
    const double start = d * step;
    const double end = d == destLength - 1 ? double(srcLength) : (d + 1) * step;
    Span& span = spans[size_t(d)];
    span.first = std::min(int(std::floor(start)), srcLength - 1);
    for (int s = span.first; s < srcLength && double(s) < end; ++s) {
      const double covered = std::min(end, double(s + 1)) - std::max(start, double(s));
      if (covered > 0.0) span.weights.push_back(covered / (end - start));
    }
    if (span.weights.empty()) span.weights.push_back(1.0);
  }
  return spans;
}

struct Premultiplied {
  double b = 0.0, g = 0.0, r = 0.0, a = 0.0;
};

unsigned ToByte(double value) {
  const double rounded = std::floor(value + 0.5);
  return unsigned(std::clamp(rounded, 0.0, 255.0));
}

}  // namespace

bool LICE_AreaResample(LICE_IBitmap* dest, LICE_IBitmap* src) {
  if (!src) return false;
  return LICE_AreaResample(dest, src, IRectangle{0, 0, src->GetWidth(), src->GetHeight()});
}

bool LICE_AreaResample(LICE_IBitmap* dest, LICE_IBitmap* src, const IRectangle& srcArea) {
  if (!dest || !src || dest == src || !dest->GetPixels() || !src->GetPixels()) return false;
  const int destW = dest->GetWidth(), destH = dest->GetHeight();
  const int srcW = srcArea.W(), srcH = srcArea.H();
  if (destW < 1 || destH < 1 || srcW < 1 || srcH < 1) return false;
  if (srcArea.L < 0 || srcArea.T < 0 || srcArea.R > src->GetWidth() ||
      srcArea.B > src->GetHeight()) {
    return false;
  }
  const std::vector<Span> columns = SpansFor(destW, srcW);
  const std::vector<Span> rows = SpansFor(destH, srcH);
  auto rowOf = [](LICE_IBitmap* bitmap, int y) {
    const int stored = bitmap->IsBottomUp() ? bitmap->GetHeight() - 1 - y : y;
    return bitmap->GetPixels() + size_t(stored) * size_t(bitmap->GetStride());
  };
  std::vector<Premultiplied> line(static_cast<size_t>(destW));
  for (int y = 0; y < destH; ++y) {
    std::fill(line.begin(), line.end(), Premultiplied());
    const Span& rowSpan = rows[size_t(y)];
    for (size_t j = 0; j < rowSpan.weights.size(); ++j) {
      const LICE_pixel* in = rowOf(src, srcArea.T + rowSpan.first + int(j)) + srcArea.L;
      for (int x = 0; x < destW; ++x) {
        const Span& colSpan = columns[size_t(x)];
        Premultiplied sum;
        for (size_t i = 0; i < colSpan.weights.size(); ++i) {
          const LICE_pixel p = in[colSpan.first + int(i)];
          const double a = double(LICE_GetA(p)) * colSpan.weights[i];
          sum.b += double(LICE_GetB(p)) * a;
          sum.g += double(LICE_GetG(p)) * a;
          sum.r += double(LICE_GetR(p)) * a;
          sum.a += a;
        }
        const double w = rowSpan.weights[j];
        Premultiplied& out = line[size_t(x)];
        out.b += sum.b * w;
        out.g += sum.g * w;
        out.r += sum.r * w;
        out.a += sum.a * w;
      }
    }
    LICE_pixel* out = rowOf(dest, y);
    for (int x = 0; x < destW; ++x) {
      const Premultiplied& p = line[size_t(x)];
      if (p.a <= 0.0) {
        out[x] = 0;
        continue;
      }
      out[x] = LICE_Argb(ToByte(p.a), ToByte(p.r / p.a), ToByte(p.g / p.a), ToByte(p.b / p.a));
    }
  }
  return true;
}
