#pragma once
// Brask: a stereo-linked, feed-forward compressor with a saturating, band-limited colour stage.
//
// A detector, fed by the main or the side-chain input, is high-passed, driven by "Input" and
// saturated; a gain computer in a logarithmic domain turns its level into a target gain, and one
// gain shared by both channels follows that target at the attack and release rates. The audio
// is saturated, low-passed at 19 kHz and high-passed at 15 Hz; that shaped signal is the dry
// part of the mix and, times the gain and "Output", the wet part. "Bypass" at 0 passes the main
// input through untouched.
//
// The class is the same for every plug-in format: each build supplies its own PluginAdaptor.h,
// which names the format adaptor this class derives from. Only the destructor, OnReset,
// OnParamChanged and ProcessBlock of the core are overridden.

#include <limits>

#include "Biquad.h"
#include "CurveKernels.h"
#include "NyquistLowpass.h"
#include "PluginAdaptor.h"

// Parameter indices, in host order.
enum BraskParam {
  kParamInput = 0,
  kParamOutput = 1,
  kParamAttack = 2,
  kParamRelease = 3,
  kParamMix = 4,
  kParamHpf = 5,
  kParamBypass = 6,
  kParamSidechain = 7,
};

class IControl;

class Brask : public PluginAdaptor {
 public:
  explicit Brask(PluginAdaptor::HostCallback host);
  ~Brask() override;

  //---from IPlugBase---
  void OnReset() override;
  void OnParamChanged(int paramIdx) override;
  void ProcessBlock(double** inputs, double** outputs, int nFrames) override;

  // The gain currently applied to both channels, and the value the meter shows.
  double GainState() const { return gainState; }
  double MeterLevel() const { return meterLevel; }
  int MeterControlIndex() const { return meterControlIndex; }

 private:
  // A cache key no value equals, so the first block computes everything.
  static constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

  // The per-block values of the processing.
  struct BlockConstants {
    DetectorLaw law;        // drive, saturation amount, detector pole, threshold, I
    double F;               // attack: largest fall per sample
    double G;               // release: 1/G is the largest rise per sample
    double meterSmoothing;  // meter pole
    double m;               // "Mix" as a share
    int bypass;             // switch positions, -1 when out of range
    int sidechain;
    IControl* meter;              // the meter control, or null
    const CurveKernels* kernels;  // the vector path's kernels
  };

  // What the cached time constants were computed from; a block whose values match reuses
  // them, bit for bit the same as computing them again. NaN until the first block: it matches
  // nothing.
  struct ConstantsKey {
    double I = kNoValue, attackSec = kNoValue, releaseSec = kNoValue, sampleRate = kNoValue;
    bool operator==(const ConstantsKey& o) const {
      return I == o.I && attackSec == o.attackSec && releaseSec == o.releaseSec &&
             sampleRate == o.sampleRate;
    }
  };

  // The detector's input for a chunk: the main or the side-chain pair, from frame start.
  struct DetectorInput {
    const double* left;
    const double* right;
    int frames;
    DetectorInput Ahead(int start, int count) const { return {left + start, right + start, count}; }
  };

  // The processing runs in chunks, pass by pass: the curves and the gain law cost most and are
  // independent from sample to sample, so the vector kernels evaluate them over a whole chunk;
  // only the cheap recursive parts (filters, gain slew, meter) then run strictly in order.
  static constexpr int kChunkFrames = 64;

  void DefineParameters();
  // Designs every filter for the current sample rate and "HPF", unless already designed so.
  void DesignFilters(double sampleRate);
  // The gain law's and the meter's constants for the block, recomputed when they change.
  void UpdateTimeConstants(double I, double attackSec, double releaseSec, double sampleRate);
  static void PassMainInput(double** inputs, double** outputs, int nFrames);
  // Runs the detector filters over a chunk into detectorChunk.
  void FilterDetector(const DetectorInput& in, int sidechain);
  // Smooths the gain, filters and mixes the audio, writes the outputs and keeps the meter;
  // meanwhile filters the next chunk's detector input into detectorChunk.
  void RenderChunk(const double* const* inputs, double* const* outputs, int frames,
                   const BlockConstants& c, const DetectorInput& ahead);
  IControl* MeterControl();  // null without an editor or with the index outside its list
  // The meter's smoothed level after a sample with gain S.
  static double NextMeterLevel(double level, double S, double smoothing);
  // Brings back to rest any state that extreme input drove out of the finite range, so one bad
  // block never poisons the ones after it.
  void RecoverNonFiniteState();

  double outputGain = 1.0;      // 10^(Output/20), linear
  double inputParam = 0.0;      // "Input", 0..40
  double attackParam = 10.0;    // "Attack", 1..50
  double releaseParam = 400.0;  // "Release", 100..3000
  double mixParam = 100.0;      // "Mix", 0..100
  double hpfParam = 20.0;       // "HPF", Hz
  double gainState = 1.0;       // the applied gain S, shared by both channels
  int meterControlIndex = -1;   // the meter's index in the editor's control list
  double meterLevel = 1.0;      // smoothed gain reduction shown by the meter
  Biquad detectorHighpass[2];
  Biquad audioHighpass[2];
  NyquistLowpass audioLowpass[2];
  double detectorSample[2] = {0.0, 0.0};  // dL, dR of the most recent detector sample

  BlockConstants constants = {};  // valid once constantsKey is set
  ConstantsKey constantsKey;
  double detectorDesignKey[2] = {kNoValue, kNoValue};  // "HPF" and rate of that design
  double audioDesignRate = kNoValue;                   // rate of the audio filters' design

  // The current chunk, pass by pass.
  double detectorChunk[2][kChunkFrames] = {};  // dL, dR
  double targetGain[kChunkFrames] = {};        // R
  float saturatedAudio[2][kChunkFrames] = {};  // sL, sR rounded to float
};
