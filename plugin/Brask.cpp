#include "Brask.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "BraskEditorLayout.h"
#include "BraskIdentity.h"
#include "BraskUnits.h"
#include "DenormalGuard.h"
#include "GainComputer.h"
#include "gui/IControl.h"
#include "gui/IGraphics.h"

namespace {

constexpr double kDetectorPoleNumerator = 62.83185307;  // 2 pi 10: a 10 Hz one-pole
constexpr double kMeterPoleNumerator = 4.60517018599;   // ln(100): 99 % of a step in 0.3 s
constexpr double kMeterTime = 0.3;
constexpr double kDetectorQ = 0.7;
constexpr double kAudioHighpassHz = 15.0;
constexpr double kAudioHighpassQ = 0.82;
constexpr float kAudioLowpassHz = 19000.0f;
constexpr float kAudioLowpassQ = 0.7f;

// Integer parameters are read by truncating toward zero; anything but 0 or 1 reads as -1.
inline int SwitchPosition(double value) {
  const double t = std::trunc(value);
  if (t == 0.0) return 0;
  if (t == 1.0) return 1;
  return -1;
}

void DesignHighpass(Biquad& hp, double fc, double q) {
  hp.type = kBiquadHighpass;
  hp.q = q;
  hp.peakGain = 1.0;
  hp.fc = fc;
  hp.ComputeCoefficients();
}

}  // namespace

Brask::Brask(PluginAdaptor::HostCallback host)
    : PluginAdaptor(host, BraskIdentity(PluginAdaptor::kPluginApi)) {
  DefineParameters();
  meterControlIndex = BuildBraskEditor(this);
  FillDefaultPresets("-", 1);
}

Brask::~Brask() = default;

void Brask::DefineParameters() {
  ParamAt(kParamBypass)->DefineInt("Bypass", 1, 0, 1, "", "");
  ParamAt(kParamSidechain)->DefineInt("Sidechain", 0, 0, 1, "", "");
  struct DoubleParam {
    int index;
    const char* name;
    double defaultValue, min, max, shape;
  };
  static constexpr DoubleParam kDoubleParams[] = {
      {kParamOutput, "Output", 0.0, -20.0, 20.0, 1.0},
      {kParamInput, "Input", 0.0, 0.0, 40.0, 2.0},
      {kParamAttack, "Attack", 10.0, 1.0, 50.0, 2.0},
      {kParamRelease, "Release", 400.0, 100.0, 3000.0, 2.0},
      {kParamMix, "Mix", 100.0, 0.0, 100.0, 1.0},
      {kParamHpf, "HPF", 20.0, 20.0, 500.0, 1.0},
  };
  for (const DoubleParam& p : kDoubleParams) {
    IParamRecord* record = ParamAt(p.index);
    record->DefineDouble(p.name, p.defaultValue, p.min, p.max, 0.01, "%", "", 1.0);
    record->SetShapeExponent(p.shape);
  }
  SetBraskUnits(this);
}

void Brask::OnReset() {
  std::lock_guard<std::recursive_mutex> lock(Mutex());
  for (NyquistLowpass& lowpass : state.audioLowpass) lowpass.ClearState();
}

void Brask::OnParamChanged(int paramIdx) {
  std::lock_guard<std::recursive_mutex> lock(Mutex());
  const IParamRecord* record = ParamAt(paramIdx);
  if (!record) return;
  // A host's normalized value outside 0..1 (even an infinite one) leaves the record outside its
  // range; the processing only ever sees values inside it.
  const double v = std::min(std::max(record->Value(), record->Min()), record->Max());
  switch (paramIdx) {
    case kParamInput:
      inputParam = v;
      break;
    case kParamOutput:
      outputGain = std::pow(10.0, v / 20.0);
      break;
    case kParamAttack:
      attackParam = v;
      break;
    case kParamRelease:
      releaseParam = v;
      break;
    case kParamMix:
      mixParam = v;
      break;
    case kParamHpf:
      hpfParam = v;
      break;
    default:
      break;
  }
}

void Brask::DesignFilters(double sampleRate) {
  // A design is a pure function of its inputs, so an unchanged one is kept. A NaN rate never
  // compares equal and is designed (transparent) every block.
  if (detectorDesignKey[0] != hpfParam || detectorDesignKey[1] != sampleRate) {
    for (Biquad& hp : state.detectorHighpass) DesignHighpass(hp, hpfParam / sampleRate, kDetectorQ);
    detectorDesignKey[0] = hpfParam;
    detectorDesignKey[1] = sampleRate;
  }
  if (audioDesignRate == sampleRate) return;
  for (Biquad& hp : state.audioHighpass)
    DesignHighpass(hp, kAudioHighpassHz / sampleRate, kAudioHighpassQ);
  for (NyquistLowpass& lp : state.audioLowpass) {
    lp.DesignLowpass(kAudioLowpassHz, kAudioLowpassQ, float(sampleRate));
  }
  audioDesignRate = sampleRate;
}

void Brask::UpdateTimeConstants(double I, double attackSec, double releaseSec, double sampleRate) {
  const ConstantsKey key = {I, attackSec, releaseSec, sampleRate};
  if (key == constantsKey) return;
  DetectorLaw& law = constants.law;
  law.I = I;
  law.T = std::exp(-I / kLogScale);
  law.gin = std::pow(10.0, I / 10.0 / 20.0);
  law.k = std::pow(10.0, -2.25);
  law.D = std::exp(-kDetectorPoleNumerator / sampleRate);
  constants.F = attackSec == 0.0 ? 0.0 : std::exp(-1.0 / (sampleRate * attackSec));
  constants.G = releaseSec == 0.0 ? 0.0 : std::exp(-1.0 / (sampleRate * releaseSec));
  constants.meterSmoothing = std::exp(-kMeterPoleNumerator / (sampleRate * kMeterTime));
  constantsKey = key;
}

void Brask::ProcessBlock(double** inputs, double** outputs, int nFrames) {
  const DenormalGuard denormalGuard;
  const double sampleRate = SampleRate();
  const double releaseSec = (releaseParam - 100.0) / 2900.0 * 0.6 + 0.4;
  const double I = (inputParam - 0.0) / 40.0 * 400.0 + 0.0;
  const double attackSec = (attackParam - 1.0) / 49.0 * 0.0245 + 0.0005;
  DesignFilters(sampleRate);
  if (nFrames <= 0 || !inputs || !outputs) return;
  if (!inputs[0] || !inputs[1] || !inputs[2] || !inputs[3] || !outputs[0] || !outputs[1]) return;
  // A rate that is not a positive number gives no time constants at all; rather than let the
  // gain run away, the main input passes through and every state stands still.
  if (!(sampleRate > 0.0) || !std::isfinite(sampleRate)) {
    PassMainInput(inputs, outputs, nFrames);
    return;
  }

  // Constant within the block, so computed once, and kept while nothing they depend on moves.
  UpdateTimeConstants(I, attackSec, releaseSec, sampleRate);
  BlockSettings& c = constants;
  c.m = mixParam / 100.0;
  c.outputGain = outputGain;
  // Neither switch can change while the block runs: the caller holds the instance lock.
  c.bypass = SwitchPosition(ParamAt(kParamBypass)->Value());
  c.sidechain = SidechainPosition();
  c.metering = Editor() != nullptr;
  IControl* meter = MeterControl();
  const ChunkKernels& kernels = KernelsFor(ActiveVectorPath());

  // The meter control takes the level at the end of every chunk. The first value a control
  // ever receives is also the one a double click restores: until then, the first frame is a
  // chunk of its own.
  const bool keyed = c.sidechain == 1;
  const double* detector[2] = {inputs[keyed ? 2 : 0], inputs[keyed ? 3 : 1]};
  const auto chunkAt = [&](int start, int frames) {
    return ChunkFrames{{inputs[0] + start, inputs[1] + start},
                       {detector[0] + start, detector[1] + start},
                       {outputs[0] + start, outputs[1] + start},
                       std::max(0, std::min(frames, nFrames - start))};
  };
  ChunkFrames chunk = chunkAt(0, meter && meter->DefaultValue() < 0.0 ? 1 : kChunkFrames);
  for (bool first = true; chunk.count > 0; first = false) {
    const int next = int(chunk.main[0] - inputs[0]) + chunk.count;
    const ChunkFrames ahead = chunkAt(next, kChunkFrames);
    kernels.renderChunk(chunk, ahead, first, c, state, buffers);
    if (meter) meter->SetValueFromCore(state.meterLevel);
    chunk = ahead;
  }
  RecoverNonFiniteState();
}

// The side-chain pair is heard only while "Sidechain" keys the detector; unheard, a 32-bit
// block need not widen it.
bool Brask::ReadsInput(int idx) const { return idx < 2 || SidechainPosition() == 1; }

int Brask::SidechainPosition() const { return SwitchPosition(ParamAt(kParamSidechain)->Value()); }

// Non-finite input leaves as silence here too.
void Brask::PassMainInput(double** inputs, double** outputs, int nFrames) {
  for (int n = 0; n < nFrames; ++n) {
    outputs[0][n] = std::isfinite(inputs[0][n]) ? inputs[0][n] : 0.0;
    outputs[1][n] = std::isfinite(inputs[1][n]) ? inputs[1][n] : 0.0;
  }
}

IControl* Brask::MeterControl() {
  IGraphics* editor = Editor();
  if (!editor || meterControlIndex < 0 || meterControlIndex >= editor->NControls()) return nullptr;
  return editor->GetControl(meterControlIndex);
}

namespace {

// x * 0 is 0 for every finite x and NaN for infinities and NaN, so one sum tells whether every
// state is finite: a check every block costs a handful of operations, summed pairwise so that
// they do not wait on each other.
double Zeros(double a, double b) { return a * 0.0 + b * 0.0; }
double Zeros(const Biquad& f) { return Zeros(f.z1, f.z2); }
double Zeros(const NyquistLowpass& f) {
  return double((f.x1 * 0.0f + f.x2 * 0.0f) + (f.y1 * 0.0f + f.y2 * 0.0f));
}

bool AllFinite(const RecursiveState& s) {
  const double filters = (Zeros(s.detectorHighpass[0]) + Zeros(s.detectorHighpass[1])) +
                         (Zeros(s.audioHighpass[0]) + Zeros(s.audioHighpass[1])) +
                         (Zeros(s.audioLowpass[0]) + Zeros(s.audioLowpass[1]));
  const double others =
      Zeros(s.gainState, s.meterLevel) + Zeros(s.detectorSample[0], s.detectorSample[1]);
  return filters + others == 0.0;
}

}  // namespace

void Brask::RecoverNonFiniteState() {
  RecursiveState& s = state;
  if (AllFinite(s)) return;
  for (int c = 0; c < 2; ++c) {
    if (!s.detectorHighpass[c].StateIsFinite()) s.detectorHighpass[c].ClearState();
    if (!s.audioHighpass[c].StateIsFinite()) s.audioHighpass[c].ClearState();
    if (!s.audioLowpass[c].StateIsFinite()) s.audioLowpass[c].ClearState();
    if (!std::isfinite(s.detectorSample[c])) s.detectorSample[c] = 0.0;
  }
  if (!std::isfinite(s.gainState)) s.gainState = 1.0;
  if (!std::isfinite(s.meterLevel)) s.meterLevel = 1.0;
}
