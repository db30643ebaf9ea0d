#pragma once
// ChunkKernels: Brask's per-sample work over a chunk of up to kChunkFrames frames, compiled once
// per VectorPath.
//
// The curves (the saturation of the audio path, and the detector curve with the gain law) do
// not depend on earlier samples, so they are evaluated over the whole chunk at once with SIMD.
// The recursive parts (filters, the gain slew, the meter) then run strictly in order, in their
// written arithmetic, in one loop whose dependency chains the processor overlaps: the gain
// slew, the meter, the audio filters, and the detector filters of the chunk ahead. The mix
// follows element-wise. A block's first chunk has no loop before it to filter its detector
// input; there that filter runs between the audio curve's vectors, whose independent work hides
// its chain. A partial last vector is computed in a padded copy, so a sample's result never
// depends on where a block starts. Nothing allocates or locks.

#include "Biquad.h"
#include "GainComputer.h"
#include "NyquistLowpass.h"
#include "VectorPath.h"

constexpr int kChunkFrames = 64;

// What the recursive parts carry from frame to frame and from block to block.
struct RecursiveState {
  Biquad detectorHighpass[2];
  Biquad audioHighpass[2];
  NyquistLowpass audioLowpass[2];
  double detectorSample[2] = {0.0, 0.0};  // dL, dR of the most recent detector sample
  double gainState = 1.0;                 // the applied gain S, shared by both channels
  double meterLevel = 1.0;                // smoothed gain reduction shown by the meter
};

// Where a chunk reads and writes, from its first frame on. Outputs may be the main inputs
// themselves (in-place processing): a frame's output is written after its input was read.
struct ChunkFrames {
  const double* main[2];      // main input, left and right
  const double* detector[2];  // what the detector listens to: the main or the side-chain pair
  double* out[2];
  int count;  // 1..kChunkFrames
};

// What one chunk leaves for the next: its filtered detector input.
struct ChunkBuffers {
  double detector[2][kChunkFrames];  // dL, dR
};

// The per-block constants of the processing.
struct BlockSettings {
  DetectorLaw law;        // drive, saturation amount, detector pole, threshold, I
  double F;               // attack: largest fall per sample
  double G;               // release: 1/G is the largest rise per sample
  double m;               // "Mix" as a share
  double outputGain;      // 10^(Output/20)
  double meterSmoothing;  // meter pole
  int bypass;             // switch positions, -1 when out of range
  int sidechain;
  bool metering;  // whether the meter level is kept
};

struct ChunkKernels {
  // out[n] = float(Saturate(Sanitized(in[n]), k)), bit for bit what the scalar C library
  // computation gives. The vector routines' error is bounded; where that bound leaves the
  // float rounding in doubt, or the input lies outside the range the bound covers (|x| > 128,
  // NaN, infinities), the sample is recomputed with the C library.
  void (*saturateAudio)(const double* in, float* out, int frames, double k);

  // targetGain[n] = DetectorTargetGain(dL[n], dR[n], law), for finite samples. The vector
  // routines are within a few ulp of the C library's (sin 3, tanh 4, exp 1, log 4, checked
  // against it in the tests); samples outside their ranges, and those whose level lies so
  // close to the level law's jump (N = 1 - D) that an ulp could choose the other branch, are
  // computed with the C library.
  void (*targetGains)(const double* dL, const double* dR, double* targetGain, int frames,
                      const DetectorLaw& law);

  // The chunk from its filtered detector input in buffers.detector (on a block's first chunk,
  // `first`, it filters that input itself): the target gains, the audio curve, the gain slew,
  // the audio filters, the mix and the outputs ("Bypass" at 0 copies the main input bit for
  // bit), and the meter level when metering. Meanwhile filters the detector input of the chunk
  // ahead (count 0 after the block's last) into buffers.detector.
  void (*renderChunk)(const ChunkFrames& frames, const ChunkFrames& ahead, bool first,
                      const BlockSettings& settings, RecursiveState& state, ChunkBuffers& buffers);
};

// The kernels built for a path; the path must be one this processor supports.
const ChunkKernels& KernelsFor(VectorPath path);
