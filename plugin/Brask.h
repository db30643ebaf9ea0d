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
// OnParamChanged, ProcessBlock and ReadsInput of the core are overridden.

#include <limits>

#include "Biquad.h"
#include "ChunkKernels.h"
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
  bool ReadsInput(int idx) const override;

  // The gain currently applied to both channels, and the value the meter shows.
  double GainState() const { return state.gainState; }
  double MeterLevel() const { return state.meterLevel; }
  int MeterControlIndex() const { return meterControlIndex; }

 private:
  // A cache key no value equals, so the first block computes everything.
  static constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

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

  void DefineParameters();
  // The "Sidechain" switch: 1 keys the detector to the side chain, -1 is out of range.
  int SidechainPosition() const;
  // Designs every filter for the current sample rate and "HPF", unless already designed so.
  void DesignFilters(double sampleRate);
  // The gain law's and the meter's constants for the block, recomputed when they change.
  void UpdateTimeConstants(double I, double attackSec, double releaseSec, double sampleRate);
  static void PassMainInput(double** inputs, double** outputs, int nFrames);
  IControl* MeterControl();  // null without an editor or with the index outside its list
  // Brings back to rest any state that extreme input drove out of the finite range, so one bad
  // block never poisons the ones after it.
  void RecoverNonFiniteState();

  double outputGain = 1.0;      // 10^(Output/20), linear
  double inputParam = 0.0;      // "Input", 0..40
  double attackParam = 10.0;    // "Attack", 1..50
  double releaseParam = 400.0;  // "Release", 100..3000
  double mixParam = 100.0;      // "Mix", 0..100
  double hpfParam = 20.0;       // "HPF", Hz
  int meterControlIndex = -1;   // the meter's index in the editor's control list
  RecursiveState state;         // filters, gain and meter level

  BlockSettings constants = {};  // valid once constantsKey is set
  ConstantsKey constantsKey;
  double detectorDesignKey[2] = {kNoValue, kNoValue};  // "HPF" and rate of that design
  double audioDesignRate = kNoValue;                   // rate of the audio filters' design
  ChunkBuffers buffers = {};                           // the next chunk's filtered detector input
};
