#pragma once
// IPlugParameter: how a VST 3 host sees one parameter of the plug-in core.
//
// The object only describes the core's parameter record to the host (title, units, step
// count, default) and converts between the host's normalized values, plain values and texts
// through that record. The live value stays in the record: hosts read it through the edit
// controller, never from this object.

#include "core/IParamRecord.h"
#include "public.sdk/source/vst/vstparameters.h"

class IPlugParameter : public Steinberg::Vst::Parameter {
 public:
  // record is the core's and outlives this object.
  IPlugParameter(const IParamRecord* record, Steinberg::Vst::ParamID id,
                 Steinberg::Vst::UnitID unitId);

  //---from Parameter---
  void toString(Steinberg::Vst::ParamValue valueNormalized,
                Steinberg::Vst::String128 string) const override;
  bool fromString(const Steinberg::Vst::TChar* string,
                  Steinberg::Vst::ParamValue& valueNormalized) const override;
  Steinberg::Vst::ParamValue toPlain(Steinberg::Vst::ParamValue valueNormalized) const override;
  Steinberg::Vst::ParamValue toNormalized(Steinberg::Vst::ParamValue plainValue) const override;

  OBJ_METHODS(IPlugParameter, Parameter)

  // The text hosts show for a normalized value of record, as a String128.
  static void FormatNormalized(const IParamRecord* record, double valueNormalized,
                               Steinberg::Vst::String128 string);

 private:
  const IParamRecord* plugParam;
};
