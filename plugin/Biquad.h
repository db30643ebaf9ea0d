#pragma once
// Biquad: a second-order filter in double precision, transposed direct form II.
//
// Brask uses four of them as high-pass filters (the detector's adjustable one and the audio
// path's 15 Hz one, per channel). The owner sets type, fc and q, recomputes the coefficients
// once per block and feeds samples one at a time; the state runs on across blocks and is never
// cleared. Nothing here allocates or locks.

// Response selector. Only the high-pass response is ever designed.
enum BiquadType { kBiquadNone = 0, kBiquadHighpass = 1 };

class Biquad {
 public:
  // Derives the coefficients from type, fc and q. A design that comes out non-finite or
  // unstable (cutoff at or beyond the Nyquist frequency, a sample rate that is not positive)
  // leaves the filter transparent instead, so that odd host sample rates can never drive the
  // state to infinity.
  void ComputeCoefficients();

  // One sample through the filter.
  double ProcessSample(double in) {
    const double out = in * a0 + z1;
    z1 = in * a1 + z2 - b1 * out;
    z2 = in * a2 - b2 * out;
    return out;
  }

  // True when the state holds only finite values.
  bool StateIsFinite() const;
  void ClearState();

  int type = kBiquadNone;  // BiquadType
  double a0 = 1.0;         // feed-forward coefficients
  double a1 = 0.0;
  double a2 = 0.0;
  double b1 = 0.0;  // feedback coefficients; the leading one is 1
  double b2 = 0.0;
  double fc = 0.5;        // cutoff divided by the sample rate
  double q = 0.707;       // quality factor
  double peakGain = 0.0;  // dB, for gain-dependent responses; no effect on the high-pass
  double z1 = 0.0;        // state
  double z2 = 0.0;

 private:
  void MakeTransparent();
};
