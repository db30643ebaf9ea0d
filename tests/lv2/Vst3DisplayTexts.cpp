#include "Vst3DisplayTexts.h"

#include "Vst3Plugin.h"

using namespace Steinberg;

Vst3DisplayTexts::Vst3DisplayTexts() : mPlugin(std::make_unique<Vst3Plugin>()) {
  if (mPlugin->Valid()) mPlugin->Prepare(48000.0, 512, Vst::kSample32);
}

Vst3DisplayTexts::~Vst3DisplayTexts() = default;

bool Vst3DisplayTexts::Valid() const { return mPlugin->Valid(); }

std::string Vst3DisplayTexts::Text(int paramIdx, double plain) {
  const auto id = Vst::ParamID(paramIdx);
  Vst::String128 text = {};
  const Vst::ParamValue normalized = mPlugin->controller->plainParamToNormalized(id, plain);
  if (mPlugin->controller->getParamStringByValue(id, normalized, text) != kResultOk) return "?";
  std::string narrow;
  for (const Vst::TChar* c = text; *c; ++c) narrow += char(*c);
  return narrow;
}
