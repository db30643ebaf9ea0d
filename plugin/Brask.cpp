#include "Brask.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "BraskEditorLayout.h"
#include "BraskIdentity.h"
#include "DenormalGuard.h"
#include "GainComputer.h"
#include "SampleGuards.h"
#include "StereoFilters.h"
#include "gui/IControl.h"
#include "gui/IGraphics.h"

namespace {

constexpr double kDetectorPoleNumerator = 62.83185307;  // 2 pi 10: a 10 Hz one-pole
constexpr double kMeterPoleNumerator = 4.60517018599;   // ln(100): 99 % of a step in 0.3 s
constexpr double kMeterTime = 0.3;
constexpr double kMeterRise = 1.0125;
constexpr double kMeterFall = 0.9875;
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

// The detector's high-pass pair and its latest samples (dL, dR) in registers for a chunk. With
// "Sidechain" out of range the filters are skipped and the previous samples repeat.
class DetectorFilter {
 public:
  DetectorFilter(const Biquad* highpass, const double* sample, int sidechain)
      : filters(highpass), d(StereoDouble(sample[0], sample[1])), running(sidechain >= 0) {}

  // Filters frame n of left and right into outLeft[n] and outRight[n].
  void Step(const double* left, const double* right, int n, double* outLeft, double* outRight) {
    if (running) {
      const StereoDoubles x = StereoDouble(Sanitized(left[n]), Sanitized(right[n]));
      d = RoundedToFloat(filters.ProcessSample(RoundedToFloat(x)));
    }
    outLeft[n] = LeftOf(d);
    outRight[n] = RightOf(d);
  }

  void StoreTo(Biquad* highpass, double* sample) const {
    filters.StoreTo(highpass);
    sample[0] = LeftOf(d);
    sample[1] = RightOf(d);
  }

 private:
  StereoBiquad filters;
  StereoDoubles d;
  bool running;
};

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
}

void Brask::OnReset() {
  std::lock_guard<std::recursive_mutex> lock(Mutex());
  for (NyquistLowpass& lowpass : audioLowpass) lowpass.ClearState();
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
    for (Biquad& hp : detectorHighpass) DesignHighpass(hp, hpfParam / sampleRate, kDetectorQ);
    detectorDesignKey[0] = hpfParam;
    detectorDesignKey[1] = sampleRate;
  }
  if (audioDesignRate == sampleRate) return;
  for (Biquad& hp : audioHighpass)
    DesignHighpass(hp, kAudioHighpassHz / sampleRate, kAudioHighpassQ);
  for (NyquistLowpass& lp : audioLowpass) {
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
  BlockConstants& c = constants;
  c.m = mixParam / 100.0;
  // Neither switch can change while the block runs: the caller holds the instance lock.
  c.bypass = SwitchPosition(ParamAt(kParamBypass)->Value());
  c.sidechain = SwitchPosition(ParamAt(kParamSidechain)->Value());
  c.meter = MeterControl();
  c.kernels = &KernelsFor(ActiveVectorPath());

  // The meter control takes the level at the end of every chunk. The first value a control
  // ever receives is also the one a double click restores: until then, the first frame is a
  // chunk of its own.
  const bool keyed = c.sidechain == 1;
  const DetectorInput detector = {inputs[keyed ? 2 : 0], inputs[keyed ? 3 : 1], 0};
  int start = 0;
  int frames = c.meter && c.meter->DefaultValue() < 0.0 ? 1 : std::min(kChunkFrames, nFrames);
  FilterDetector(detector.Ahead(0, frames), c.sidechain);
  while (start < nFrames) {
    const int next = start + frames;
    const int nextFrames = std::min(kChunkFrames, nFrames - next);
    c.kernels->targetGains(detectorChunk[0], detectorChunk[1], targetGain, frames, c.law);
    c.kernels->saturateAudio(inputs[0] + start, saturatedAudio[0], frames, c.law.k);
    c.kernels->saturateAudio(inputs[1] + start, saturatedAudio[1], frames, c.law.k);
    const double* main[2] = {inputs[0] + start, inputs[1] + start};
    double* out[2] = {outputs[0] + start, outputs[1] + start};
    RenderChunk(main, out, frames, c, detector.Ahead(next, nextFrames));
    if (c.meter) c.meter->SetValueFromCore(meterLevel);
    start = next;
    frames = nextFrames;
  }
  RecoverNonFiniteState();
}

// The filters and the gain run in locals: as far as the compiler knows, an output pointer could
// point into this object, and every store would force the state back to memory.
void Brask::FilterDetector(const DetectorInput& in, int sidechain) {
  DetectorFilter filter(detectorHighpass, detectorSample, sidechain);
  for (int n = 0; n < in.frames; ++n) {
    filter.Step(in.left, in.right, n, detectorChunk[0], detectorChunk[1]);
  }
  filter.StoreTo(detectorHighpass, detectorSample);
}

// The detector of the next chunk runs in the same loop: its filter chain is independent of the
// chains here, so the processor overlaps them instead of waiting for each in turn.
void Brask::RenderChunk(const double* const* inputs, double* const* outputs, int frames,
                        const BlockConstants& c, const DetectorInput& ahead) {
  DetectorFilter detector(detectorHighpass, detectorSample, c.sidechain);
  StereoNyquistLowpass lowpass(audioLowpass);
  StereoBiquad highpass(audioHighpass);
  const double F = c.F, G = c.G, m = c.m, gain = outputGain, smoothing = c.meterSmoothing;
  const bool unityInput = c.law.I == 0.0;
  const bool metering = Editor() != nullptr;
  const int bypass = c.bypass;
  double S = gainState;
  double level = meterLevel;
  for (int n = 0; n < frames; ++n) {
    S = SmoothedGain(S, targetGain[n], F, G);

    const StereoFloats y =
        lowpass.ProcessSample(StereoFloat(saturatedAudio[0][n], saturatedAudio[1][n]));
    const StereoDoubles a = RoundedToFloat(highpass.ProcessSample(Widened(y)));
    const double aL = LeftOf(a);
    const double aR = RightOf(a);

    const double wetL = (S * aL) * gain;
    const double wetR = (S * aR) * gain;
    const double outL = m * wetL + (1.0 - m) * aL;
    const double outR = (1.0 - m) * aR + m * wetR;

    if (bypass == 1) {
      outputs[0][n] = outL;
      outputs[1][n] = outR;
    } else if (bypass == 0) {
      // Switched off means untouched: the input leaves bit for bit, whatever it holds.
      outputs[0][n] = inputs[0][n];
      outputs[1][n] = inputs[1][n];
    } else {
      // A switch value a host pushed out of range: an unwritten output would hand the host
      // whatever its buffer held, so the input passes, with non-finite samples as silence.
      outputs[0][n] = std::isfinite(inputs[0][n]) ? inputs[0][n] : 0.0;
      outputs[1][n] = std::isfinite(inputs[1][n]) ? inputs[1][n] : 0.0;
    }

    if (unityInput) S = 1.0;
    if (metering) level = NextMeterLevel(level, S, smoothing);
    if (n < ahead.frames) {
      detector.Step(ahead.left, ahead.right, n, detectorChunk[0], detectorChunk[1]);
    }
  }
  for (int n = frames; n < ahead.frames; ++n) {
    detector.Step(ahead.left, ahead.right, n, detectorChunk[0], detectorChunk[1]);
  }
  detector.StoreTo(detectorHighpass, detectorSample);
  lowpass.StoreTo(audioLowpass);
  highpass.StoreTo(audioHighpass);
  gainState = S;
  meterLevel = level;
}

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

double Brask::NextMeterLevel(double level, double S, double smoothing) {
  const double v = std::fabs(1.0 - S);
  const double target = v > level ? v * kMeterRise : v * kMeterFall;
  return (level - target) * smoothing + target;
}

void Brask::RecoverNonFiniteState() {
  for (int c = 0; c < 2; ++c) {
    if (!detectorHighpass[c].StateIsFinite()) detectorHighpass[c].ClearState();
    if (!audioHighpass[c].StateIsFinite()) audioHighpass[c].ClearState();
    if (!audioLowpass[c].StateIsFinite()) audioLowpass[c].ClearState();
    if (!std::isfinite(detectorSample[c])) detectorSample[c] = 0.0;
  }
  if (!std::isfinite(gainState)) gainState = 1.0;
  if (!std::isfinite(meterLevel)) meterLevel = 1.0;
}
