#pragma once
// ScalarReference: Brask's processing computed sample by sample with the C library, exactly in
// the written order: the oracle that the vectorised product is compared with.
//
// It holds its own copies of the parameters and the processing state and runs the same filter
// classes; every curve, level and gain is evaluated with the scalar functions, one sample at a
// time. Only the audio is modelled; the meter is not.

#include <cmath>
#include <vector>

#include "plugin/Biquad.h"
#include "plugin/GainComputer.h"
#include "plugin/NyquistLowpass.h"
#include "plugin/SampleGuards.h"
#include "plugin/Saturate.h"

class ScalarReference {
 public:
  explicit ScalarReference(double sampleRate) : sampleRate(sampleRate) {}

  // Parameter values in their own units, as the plug-in's records hold them (in range).
  double input = 0.0, output = 0.0, attack = 10.0, release = 400.0, mix = 100.0, hpf = 20.0;
  int bypass = 1, sidechain = 0;

  double GainState() const { return gainState; }

  void ProcessBlock(double** inputs, double** outputs, int nFrames) {
    const double releaseSec = (release - 100.0) / 2900.0 * 0.6 + 0.4;
    const double I = (input - 0.0) / 40.0 * 400.0 + 0.0;
    const double attackSec = (attack - 1.0) / 49.0 * 0.0245 + 0.0005;
    Design();
    const double outputGain = std::pow(10.0, output / 20.0);
    DetectorLaw law;
    law.I = I;
    law.T = std::exp(-I / kLogScale);
    law.gin = std::pow(10.0, I / 10.0 / 20.0);
    law.k = std::pow(10.0, -2.25);
    law.D = std::exp(-62.83185307 / sampleRate);
    const double F = std::exp(-1.0 / (sampleRate * attackSec));
    const double G = std::exp(-1.0 / (sampleRate * releaseSec));
    const double m = mix / 100.0;
    for (int n = 0; n < nFrames; ++n) {
      const double xL = Sanitized(inputs[sidechain ? 2 : 0][n]);
      const double xR = Sanitized(inputs[sidechain ? 3 : 1][n]);
      const double dL = float(detectorHighpass[0].ProcessSample(float(xL)));
      const double dR = float(detectorHighpass[1].ProcessSample(float(xR)));
      const double N = Saturate(dR * law.gin, law.k) + Saturate(dL * law.gin, law.k);
      const double L = DetectorLevel(N, law.D);
      const double R = TargetGain(L, law.T, dL + dR, I);
      gainState = SmoothedGain(gainState, R, F, G);
      const double S = gainState;
      const double sL = Saturate(Sanitized(inputs[0][n]), law.k);
      const double sR = Saturate(Sanitized(inputs[1][n]), law.k);
      const float yL = audioLowpass[0].ProcessSample(float(sL));
      const float yR = audioLowpass[1].ProcessSample(float(sR));
      const double aL = float(audioHighpass[0].ProcessSample(double(yL)));
      const double aR = float(audioHighpass[1].ProcessSample(double(yR)));
      const double wetL = (S * aL) * outputGain;
      const double wetR = (S * aR) * outputGain;
      const double outL = m * wetL + (1.0 - m) * aL;
      const double outR = (1.0 - m) * aR + m * wetR;
      outputs[0][n] = bypass ? outL : inputs[0][n];
      outputs[1][n] = bypass ? outR : inputs[1][n];
      if (I == 0.0) gainState = 1.0;
    }
  }

 private:
  void Design() {
    for (Biquad& hp : detectorHighpass) {
      hp.type = kBiquadHighpass;
      hp.q = 0.7;
      hp.peakGain = 1.0;
      hp.fc = hpf / sampleRate;
      hp.ComputeCoefficients();
    }
    for (Biquad& hp : audioHighpass) {
      hp.type = kBiquadHighpass;
      hp.q = 0.82;
      hp.peakGain = 1.0;
      hp.fc = 15.0 / sampleRate;
      hp.ComputeCoefficients();
    }
    for (NyquistLowpass& lp : audioLowpass) lp.DesignLowpass(19000.0f, 0.7f, float(sampleRate));
  }

  double sampleRate;
  double gainState = 1.0;
  Biquad detectorHighpass[2];
  Biquad audioHighpass[2];
  NyquistLowpass audioLowpass[2];
};
