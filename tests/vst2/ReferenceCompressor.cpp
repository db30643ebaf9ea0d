#include "ReferenceCompressor.h"

#include "Brask.h"

ReferenceCompressor::ReferenceCompressor(double sampleRate, const Settings& settings)
    : mPlug(std::make_unique<Brask>(nullptr)) {
  mPlug->SetSampleRate(sampleRate);
  mPlug->OnReset();
  for (const auto& setting : settings) {
    mPlug->ParamAt(setting.first)->SetValueFromNormalized(double(setting.second));
  }
  for (int i = 0; i < mPlug->ParamCount(); ++i) mPlug->OnParamChanged(i);
}

ReferenceCompressor::~ReferenceCompressor() = default;

Channels ReferenceCompressor::Process(const Channels& inputs) {
  size_t frames = inputs.empty() ? 0 : inputs[0].size();
  Channels in = inputs;
  Channels out(2, std::vector<double>(frames, 0.0));
  double* inPointers[4];
  for (size_t c = 0; c < 4; ++c) inPointers[c] = in[c].data();
  double* outPointers[2] = {out[0].data(), out[1].data()};
  mPlug->ProcessBlock(inPointers, outPointers, int(frames));
  return out;
}
