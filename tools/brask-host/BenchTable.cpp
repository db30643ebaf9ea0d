#include "BenchTable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "JsonText.h"

namespace {

constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();
constexpr char kNotMeasured[] = "-";

std::string Format(const char* pattern, double value) {
  char text[64];
  std::snprintf(text, sizeof(text), pattern, value);
  return text;
}

std::string CostText(const BenchCell& cell) {
  if (!cell.measured || cell.nanosecondsPerFrame.empty()) return kNotMeasured;
  return Format("%.1f", cell.Cost()) + " (" + Format("%.1f", cell.Fastest()) + "-" +
         Format("%.1f", cell.Slowest()) + ")";
}

std::string RelativeText(double relative) {
  return std::isnan(relative) ? kNotMeasured : Format("%.2f", relative);
}

std::string Padded(const std::string& text, size_t width, bool right) {
  if (text.size() >= width) return text;
  const std::string pad(width - text.size(), ' ');
  return right ? pad + text : text + pad;
}

std::string NumberList(const std::vector<double>& values) {
  std::string list;
  for (double value : values) list += (list.empty() ? "" : ", ") + JsonNumber(value);
  return "[" + list + "]";
}

std::string CellJson(const BenchSetup& setup, const BenchCell& cell, double relative) {
  const double nanoseconds = cell.Cost();
  const double processSeconds = nanoseconds * 1e-9 * setup.sampleRate * setup.seconds;
  return "{\"precision\": " + std::to_string(cell.precision) +
         ", \"nanosecondsPerFrame\": " + JsonNumber(nanoseconds) +
         ", \"relative\": " + JsonNumber(relative) +
         ", \"audioSeconds\": " + JsonNumber(setup.seconds) +
         ", \"processSeconds\": " + JsonNumber(processSeconds) +
         ", \"realTimeFactor\": " + JsonNumber(setup.seconds / processSeconds) +
         ", \"runs\": " + NumberList(cell.nanosecondsPerFrame) + "}";
}

}  // namespace

namespace {

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : 0.5 * (values[middle - 1] + values[middle]);
}

}  // namespace

double BenchCell::Cost() const {
  if (blockSeconds.empty() || !(frames > 0.0)) return kUnknown;
  double seconds = 0.0;
  std::vector<double> block(blockSeconds.size());
  for (size_t b = 0; b < blockSeconds.front().size(); ++b) {
    for (size_t r = 0; r < blockSeconds.size(); ++r) block[r] = blockSeconds[r][b];
    seconds += Median(block);
  }
  return seconds * 1e9 / frames;
}

double BenchCell::Fastest() const {
  return nanosecondsPerFrame.empty()
             ? kUnknown
             : *std::min_element(nanosecondsPerFrame.begin(), nanosecondsPerFrame.end());
}

double BenchCell::Slowest() const {
  return nanosecondsPerFrame.empty()
             ? kUnknown
             : *std::max_element(nanosecondsPerFrame.begin(), nanosecondsPerFrame.end());
}

double RelativeCost(const std::vector<BenchRow>& rows, size_t row, size_t cell) {
  const BenchCell& first = rows.front().cells[cell];
  const BenchCell& own = rows[row].cells[cell];
  if (!first.measured || !own.measured) return kUnknown;
  // The first row against itself is exactly 1, whatever the rounding of a division.
  return row == 0 ? 1.0 : own.Cost() / first.Cost();
}

std::string BenchText(const BenchSetup& setup, const std::vector<BenchRow>& rows) {
  char heading[512];
  std::snprintf(heading, sizeof(heading),
                "%g Hz stereo, block %d, %d interleaved runs of %g s per module and precision\n"
                "ns per stereo frame: each block's median over the runs, summed (fastest-slowest "
                "run), the clock's own %.0f ns taken off each block; rel.: cost relative to the "
                "first module\n\n",
                setup.sampleRate, setup.block, setup.runs, setup.seconds, setup.clockNanoseconds);
  size_t nameWidth = 6, costWidth = 9;
  for (const BenchRow& row : rows) {
    nameWidth = std::max(nameWidth, row.name.size() + row.format.size() + 3);
    for (const BenchCell& cell : row.cells) costWidth = std::max(costWidth, CostText(cell).size());
  }
  std::string text = heading;
  text += Padded("Module", nameWidth, false) + "  " + Padded("32-bit ns", costWidth, true) +
          "   rel.  " + Padded("64-bit ns", costWidth, true) + "   rel.\n";
  for (size_t r = 0; r < rows.size(); ++r) {
    text += Padded(rows[r].name + " (" + rows[r].format + ")", nameWidth, false);
    for (size_t c = 0; c < 2; ++c) {
      text += "  " + Padded(CostText(rows[r].cells[c]), costWidth, true) + "  " +
              Padded(RelativeText(RelativeCost(rows, r, c)), 5, true);
    }
    text += "\n";
  }
  return text;
}

std::string BenchJson(const BenchSetup& setup, const std::vector<BenchRow>& rows) {
  std::string modules;
  for (size_t r = 0; r < rows.size(); ++r) {
    std::string results, settings;
    for (size_t c = 0; c < 2; ++c) {
      if (!rows[r].cells[c].measured) continue;
      results += (results.empty() ? "" : ", ") +
                 CellJson(setup, rows[r].cells[c], RelativeCost(rows, r, c));
    }
    for (const std::string& setting : rows[r].settings) {
      settings += (settings.empty() ? "" : ", ") + JsonQuote(setting);
    }
    modules += std::string(r ? ",\n    " : "\n    ") + "{\"module\": " + JsonQuote(rows[r].module) +
               ", \"name\": " + JsonQuote(rows[r].name) +
               ", \"format\": " + JsonQuote(rows[r].format) + ", \"settings\": [" + settings +
               "], \"results\": [" + results + "]}";
  }
  return "{\"sampleRate\": " + JsonNumber(setup.sampleRate) +
         ", \"block\": " + std::to_string(setup.block) +
         ", \"seconds\": " + JsonNumber(setup.seconds) +
         ", \"runs\": " + std::to_string(setup.runs) +
         ", \"clockNanoseconds\": " + JsonNumber(setup.clockNanoseconds) + ",\n  \"modules\": [" +
         modules + "\n  ]\n}\n";
}
