#pragma once
// BenchTable: the results of one `brask-host bench` run, one row per module and one cell per
// sample precision, and their report as a side-by-side text table or as JSON.
//
// Each cell keeps every timed run, block by block. The reported cost is each block's median
// over the runs, summed: a block that the operating system interrupted in one run (on a busy
// machine most runs contain such blocks) does not count, yet every block of the groove does.
// The relative cost is that cost over the first module's at the same precision.

#include <string>
#include <vector>

struct BenchSetup {
  double sampleRate = 48000.0;
  int block = 512;
  double seconds = 5.0;           ///< audio per timed run
  int runs = 5;                   ///< timed runs per cell
  double clockNanoseconds = 0.0;  ///< the clock's own cost, taken off every timed call
};

struct BenchCell {
  int precision = 32;
  bool measured = false;                    ///< false: the module cannot process this precision
  std::vector<double> nanosecondsPerFrame;  ///< one entry per timed run, in run order
  std::vector<std::vector<double>> blockSeconds;  ///< per timed run, each block's time
  double frames = 0.0;                            ///< frames per timed run

  // ns per frame: each block's median over the runs, summed, over the frames of a run.
  double Cost() const;
  double Fastest() const;
  double Slowest() const;
};

struct BenchRow {
  std::string module;                 ///< path as given
  std::string name;                   ///< as the plug-in reports it
  std::string format;                 ///< "VST 3" or "VST 2"
  std::vector<std::string> settings;  ///< NAME=VALUE as given
  BenchCell cells[2] = {BenchCell{32, false, {}, {}, 0.0}, BenchCell{64, false, {}, {}, 0.0}};
};

// Cost of this cell over the first row's cost at the same precision; NaN when either is not
// measured.
double RelativeCost(const std::vector<BenchRow>& rows, size_t row, size_t cell);

std::string BenchText(const BenchSetup& setup, const std::vector<BenchRow>& rows);
std::string BenchJson(const BenchSetup& setup, const std::vector<BenchRow>& rows);
