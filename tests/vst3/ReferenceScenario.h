#pragma once
// ReferenceScenario: one fixed run of the compressor — sample rate, block size, input signal
// and the parameter changes of each block — shared by the program that drives the plug-in
// class directly (ReferenceRender) and the test host that drives the built module, so their
// outputs can be compared sample for sample.

#include <cmath>
#include <cstdint>
#include <vector>

namespace reference {

constexpr double kSampleRate = 44100.0;
constexpr int kBlockFrames = 256;
constexpr int kBlocks = 24;

// A normalized value for one plug-in parameter, applied before a block is processed.
struct Change {
  int block;
  uint32_t paramId;  // the plug-in's parameter index
  double normalized;
};

// Drive, timing, mix and filter settle on non-default values, the detector moves to the side
// chain and back, and the plug-in's own switch bypasses a stretch.
inline const std::vector<Change>& Changes() {
  static const std::vector<Change> changes = {
      {0, 0, 0.7},  {0, 2, 0.2},   {0, 3, 0.3},   {0, 4, 0.8},  {3, 1, 0.65},
      {5, 5, 0.4},  {8, 7, 1.0},   {12, 0, 0.95}, {14, 7, 0.0}, {16, 6, 0.0},
      {18, 6, 1.0}, {20, 4, 0.35}, {21, 2, 0.9},
  };
  return changes;
}

// Main inputs: a swelling two-tone pair; side chain: bursts of a louder tone. Every value is
// a float, so 32-bit and 64-bit runs see the same input.
inline double Input(int channel, long frame) {
  const double t = double(frame);
  const double swell = 0.5 + 0.5 * std::sin(0.0007 * t);
  double value;
  if (channel < 2) {
    value = swell * (0.4 * std::sin(0.021 * t * (channel + 1)) + 0.2 * std::sin(0.15 * t));
  } else {
    const double burst = std::sin(0.002 * t) > 0.3 ? 1.0 : 0.05;
    value = burst * 0.9 * std::sin(0.07 * t + channel);
  }
  return double(float(value));
}

}  // namespace reference
