#pragma once
// CurveKernels: the part of Brask's per-sample work that does not depend on earlier samples
// (the saturation curve of the audio path, and the detector curve with the gain law),
// evaluated over a chunk of samples at once with SIMD.
//
// Each kernel exists once per VectorPath and every build meets the contract stated here; the
// x86-64 baseline build is the scalar C library computation itself.
// The recursive parts (filters, the gain slew, the meter) stay with the caller, in order.
// Chunks of any length are accepted; a partial last vector is computed in a padded copy, so a
// sample's result never depends on where a block starts. Nothing allocates or locks.

#include "GainComputer.h"
#include "VectorPath.h"

struct CurveKernels {
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
};

// The kernels built for a path; the path must be one this processor supports.
const CurveKernels& KernelsFor(VectorPath path);
