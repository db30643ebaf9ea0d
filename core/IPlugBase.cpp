#include "IPlugBase.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "SampleConversion.h"
#include "gui/IGraphics.h"

namespace {

// More channel records than any real configuration needs; a count beyond it is a typo.
constexpr int kMaxChannels = 64;

void CopyName(char (&field)[128], const char* text) {
  size_t length = text ? strnlen(text, sizeof(field) - 1) : 0;
  if (length > 0) memcpy(field, text, length);
  field[length] = '\0';
}

// Reads a decimal int the way "%d" does (leading blanks, optional sign), saturating instead of
// overflowing. Answers false when no number starts at text.
bool ReadCount(const char* text, int* value, const char** end) {
  char* stop = nullptr;
  errno = 0;
  long number = strtol(text, &stop, 10);
  if (stop == text) return false;
  if (number > INT_MAX) number = INT_MAX;
  if (number < INT_MIN) number = INT_MIN;
  *value = int(number);
  *end = stop;
  return true;
}

// One "inputs-outputs" token; what cannot be read stays 0.
IOConfig ParseConfigToken(const char* token) {
  IOConfig config{0, 0};
  const char* rest = token;
  if (ReadCount(token, &config.inputs, &rest) && *rest == '-') {
    ReadCount(rest + 1, &config.outputs, &rest);
  }
  return config;
}

// End of the channel range first .. first + count - 1, clipped to the channel count.
int ClippedEnd(int first, int count, int channelCount) {
  int64_t end = int64_t(first) + (count > 0 ? count : 0);
  return end < channelCount ? int(end) : channelCount;
}

}  // namespace

IPlugBase::IPlugBase(const IPlugIdentity& identity, int pluginApi)
    : mUniqueId(identity.uniqueId),
      mMakerId(identity.makerId),
      mVersion(identity.version),
      mPluginApi(pluginApi),
      mParams(size_t(identity.paramCount > 0 ? identity.paramCount : 0)),
      mPresets(size_t(identity.presetCount > 0 ? identity.presetCount : 0)) {
  CopyName(mEffectName, identity.effectName);
  CopyName(mProductName, identity.productName);
  CopyName(mMakerName, identity.makerName);
  ParseChannelConfigs(identity.channelConfigs);
}

IPlugBase::~IPlugBase() { delete mEditor; }

void IPlugBase::ParseChannelConfigs(const char* configs) {
  int maxInputs = 0;
  int maxOutputs = 0;
  for (const char* token = configs; token;) {
    IOConfig config = ParseConfigToken(token);
    mIOConfigs.push_back(config);
    if (config.inputs > maxInputs) maxInputs = config.inputs;
    if (config.outputs > maxOutputs) maxOutputs = config.outputs;
    token = strchr(token, ' ');
    if (token) ++token;
  }
  if (maxInputs > kMaxChannels) maxInputs = kMaxChannels;
  if (maxOutputs > kMaxChannels) maxOutputs = kMaxChannels;
  mInputPointers.assign(size_t(maxInputs), nullptr);
  mOutputPointers.assign(size_t(maxOutputs), nullptr);
  mInputs.resize(size_t(maxInputs));
  mOutputs.resize(size_t(maxOutputs));
  for (int i = 0; i < maxInputs; ++i) mInputs[size_t(i)].dataSlot = &mInputPointers[size_t(i)];
  for (int i = 0; i < maxOutputs; ++i) mOutputs[size_t(i)].dataSlot = &mOutputPointers[size_t(i)];
}

// ---virtual operations---

void IPlugBase::OnReset() { std::lock_guard<std::recursive_mutex> lock(mMutex); }

void IPlugBase::OnParamChanged(int) { std::lock_guard<std::recursive_mutex> lock(mMutex); }

void IPlugBase::ProcessBlock(double** inputs, double** outputs, int nFrames) {
  if (!inputs || !outputs) return;
  int frames = FramesInScratch(nFrames);
  for (int i = 0; i < OutputCount(); ++i) {
    double* out = outputs[i];
    if (!out) continue;
    const double* in = i < InputCount() ? inputs[i] : nullptr;
    if (in) {
      memmove(out, in, sizeof(double) * size_t(frames));
    } else {
      memset(out, 0, sizeof(double) * size_t(frames));
    }
  }
}

void IPlugBase::OnActiveChanged(bool) { std::lock_guard<std::recursive_mutex> lock(mMutex); }

void IPlugBase::OnMidiMessage(const MidiMessage* message) { SendMidiToHost(message); }

bool IPlugBase::MidiNoteLabel(int, char* name) {
  if (name) name[0] = '\0';
  return false;
}

bool IPlugBase::SaveState(StateChunk* chunk) { return SerializeParams(chunk); }

int IPlugBase::LoadState(const StateChunk* chunk, int startPos) {
  return UnserializeParams(chunk, startPos);
}

bool IPlugBase::StateMatches(const uint8_t* data, int startIndex) {
  if (!data || startIndex < 0) return false;
  for (int i = 0; i < ParamCount(); ++i) {
    double stored = 0.0;
    memcpy(&stored, data + (size_t(startIndex) + size_t(i)) * sizeof(double), sizeof(double));
    float difference = float(mParams[size_t(i)].Value()) - float(stored);
    if (!(std::fabs(difference) < 0.00001)) return false;
  }
  return true;
}

void IPlugBase::SetParamFromEditor(int paramIdx, double normalized) {
  std::lock_guard<std::recursive_mutex> lock(mMutex);
  IParamRecord* param = ParamAt(paramIdx);
  if (!param) return;
  param->SetValueFromNormalized(normalized);
  InformHostParamValue(paramIdx, normalized);
  OnParamChanged(paramIdx);
}

void IPlugBase::AttachEditor(IGraphics* editor) {
  if (!editor) return;
  std::lock_guard<std::recursive_mutex> lock(mMutex);
  for (int i = 0; i < ParamCount(); ++i) {
    editor->ReflectParameter(i, mParams[size_t(i)].NormalizedValue(), true);
  }
  editor->CreateDrawSurfaces();
  if (mEditor != editor) delete mEditor;
  mEditor = editor;
}

void IPlugBase::RefreshEditorFromParams() {
  if (!mEditor) return;
  for (int i = 0; i < ParamCount(); ++i) {
    mEditor->ReflectParameter(i, mParams[size_t(i)].Value(), false);
  }
}

void IPlugBase::SetMaxBlockFrames(int frames) {
  frames = std::min(std::max(frames, 0), kMostBlockFrames);
  if (frames == mBlockSize) return;
  try {
    for (InputChannel& channel : mInputs) channel.scratch.assign(size_t(frames), 0.0);
    for (OutputChannel& channel : mOutputs) channel.scratch.assign(size_t(frames), 0.0);
    mBlockSize = frames;
  } catch (const std::bad_alloc&) {
    // Without room for a block there is no block: scratch buffers and block size go to 0.
    for (InputChannel& channel : mInputs) std::vector<double>().swap(channel.scratch);
    for (OutputChannel& channel : mOutputs) std::vector<double>().swap(channel.scratch);
    mBlockSize = 0;
  }
  RepointUnconnectedChannels();
}

// The scratch buffers may have moved: unconnected channels must follow them.
void IPlugBase::RepointUnconnectedChannels() {
  for (InputChannel& channel : mInputs) {
    if (!channel.connected) *channel.dataSlot = channel.scratch.data();
  }
  for (OutputChannel& channel : mOutputs) {
    if (!channel.connected) *channel.dataSlot = channel.scratch.data();
  }
}

// ---parameters---

// The controls take a normalized value as the host sent it (a switch shows where the host put
// it, before the record snaps it), and a plain one as the record keeps it.
bool IPlugBase::SetParamFromHost(int paramIdx, double value, bool isNormalized) {
  std::lock_guard<std::recursive_mutex> lock(mMutex);
  IParamRecord* param = ParamAt(paramIdx);
  if (!param || std::isnan(value)) return false;
  if (isNormalized) {
    param->SetValueFromNormalized(value);
  } else {
    param->SetValueClamped(value);
  }
  if (mEditor)
    mEditor->ReflectParameter(paramIdx, isNormalized ? value : param->Value(), isNormalized);
  OnParamChanged(paramIdx);
  return true;
}

// ---channels and buffers---

bool IPlugBase::LegalIO(int inputs, int outputs) const {
  for (const IOConfig& config : mIOConfigs) {
    if ((inputs < 0 || config.inputs == inputs) && (outputs < 0 || config.outputs == outputs)) {
      return true;
    }
  }
  return false;
}

void IPlugBase::ConnectInputs(int first, int count, bool connected) {
  int end = ClippedEnd(first, count, InputCount());
  for (int i = first < 0 ? 0 : first; i < end; ++i) {
    InputChannel& channel = mInputs[size_t(i)];
    channel.connected = connected;
    if (!connected) *channel.dataSlot = channel.scratch.data();
    mConnectedInputs = (mConnectedInputs & ~(uint64_t(1) << i)) | (uint64_t(connected) << i);
  }
}

void IPlugBase::ConnectOutputs(int first, int count, bool connected) {
  int end = ClippedEnd(first, count, OutputCount());
  for (int i = first < 0 ? 0 : first; i < end; ++i) {
    OutputChannel& channel = mOutputs[size_t(i)];
    channel.connected = connected;
    if (!connected) *channel.dataSlot = channel.scratch.data();
    mConnectedOutputs = (mConnectedOutputs & ~(uint64_t(1) << i)) | (uint64_t(connected) << i);
  }
}

void IPlugBase::ConnectChannelsThatChanged(uint64_t inputs, uint64_t outputs) {
  for (int i = 0; i < InputCount(); ++i) {
    const bool connected = (inputs >> i) & 1u;
    if (connected != mInputs[size_t(i)].connected) ConnectInputs(i, 1, connected);
  }
  for (int i = 0; i < OutputCount(); ++i) {
    const bool connected = (outputs >> i) & 1u;
    if (connected != mOutputs[size_t(i)].connected) ConnectOutputs(i, 1, connected);
  }
}

int IPlugBase::FramesInScratch(int nFrames) const {
  if (nFrames < 0) return 0;
  return nFrames < mBlockSize ? nFrames : mBlockSize;
}

void IPlugBase::BindInputsFromFloat(int first, int count, float** source, int nFrames) {
  if (!source) return;
  int next = 0;
  int end = ClippedEnd(first, count, InputCount());
  for (int i = first < 0 ? 0 : first; i < end; ++i) {
    if (mInputs[size_t(i)].connected) BindInputFromFloat(i, source[next++], nFrames);
  }
}

void IPlugBase::BindInputFromFloat(int idx, const float* source, int nFrames) {
  InputChannel* channel = InputAt(idx);
  if (!channel || !channel->connected) return;
  double* to = channel->scratch.data();
  *channel->dataSlot = to;
  if (!ReadsInput(idx)) return;
  const int frames = FramesInScratch(nFrames);
  if (source) {
    WidenSamples(source, to, frames);
  } else {
    std::fill_n(to, frames, 0.0);
  }
}

void IPlugBase::PassThrough(int nFrames) {
  int frames = FramesInScratch(nFrames);
  for (int i = 0; i < OutputCount(); ++i) {
    double* out = mOutputPointers[size_t(i)];
    if (!out) continue;
    const double* in = i < InputCount() ? mInputPointers[size_t(i)] : nullptr;
    if (in) {
      memmove(out, in, sizeof(double) * size_t(frames));
      // A bypassed instance still never hands a NaN or an infinity to the next insert.
      for (int s = 0; s < frames; ++s) {
        if (!std::isfinite(out[s])) out[s] = 0.0;
      }
    } else {
      memset(out, 0, sizeof(double) * size_t(frames));
    }
  }
}

void IPlugBase::ClearScratch() {
  for (InputChannel& channel : mInputs)
    std::fill(channel.scratch.begin(), channel.scratch.end(), 0.0);
  for (OutputChannel& channel : mOutputs) {
    std::fill(channel.scratch.begin(), channel.scratch.end(), 0.0);
  }
}

// ---host---

void IPlugBase::SetHostIdentity(int hostKind, int hostVersion) {
  mHostKind = hostKind;
  mHostVersion = hostVersion;
}
