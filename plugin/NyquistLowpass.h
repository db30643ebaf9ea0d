#pragma once
// NyquistLowpass: a second-order low-pass in single precision whose digital response matches
// the analog prototype's gain at the Nyquist frequency instead of cramping towards zero there.
//
// Brask runs one per channel at 19 kHz right after the saturation, to tame the aliasing the
// curve adds. The owner designs it once per block and clears the state on reset. Results too
// small to be normal floats are flushed to zero, which keeps subnormals out of the feedback path.

class NyquistLowpass {
 public:
  // Writes b0..a2 for the given cutoff, quality and sample rate. Where the matched design does
  // not exist (cutoff at or above Nyquist; for 19 kHz below about 43340 Hz, where the pre-warped
  // frequency passes the tangent's pole and the result is unstable or NaN), or comes out
  // non-finite or unstable, the stage is left out: the coefficients become the identity, so
  // the signal passes unchanged and the state stays finite. Elsewhere (for 19 kHz: 43340 Hz
  // and above) the design is used unchanged.
  void DesignLowpass(float cutoffHz, float q, float sampleRate);

  // One sample through the filter.
  float ProcessSample(float x) {
    float y = x1 * b1 + x * b0;
    y = y + b2 * x2;
    y = y - y1 * a1;
    y = y - a2 * y2;
    if ((y > 0.0f && double(y) < kDenormalThreshold) ||
        (y < 0.0f && double(y) > -kDenormalThreshold)) {
      y = 0.0f;
    }
    y2 = y1;
    y1 = y;
    x2 = x1;
    x1 = x;
    return y;
  }

  void ClearState();
  bool StateIsFinite() const;
  // True when the last design was left out and the stage passes its input unchanged.
  bool IsBypassed() const { return mBypassed; }

  float x1 = 0.0f;  // previous two inputs, x1 the most recent
  float x2 = 0.0f;
  float y1 = 0.0f;  // previous two outputs, y1 the most recent
  float y2 = 0.0f;
  float b0 = 1.0f;  // feed-forward coefficients
  float b1 = 0.0f;
  float b2 = 0.0f;
  float a1 = 0.0f;  // feedback coefficients; the leading one is 1
  float a2 = 0.0f;

  // Just above the smallest normal float, so that value is flushed as well.
  static constexpr double kDenormalThreshold = 1.175494351e-38;

 private:
  bool mBypassed = true;
};
