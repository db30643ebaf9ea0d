#pragma once
// BraskUnits: the units Brask's parameters read in where a host shows units: dB for "Input"
// and "Output", the attack time in milliseconds and the release time in seconds that the two
// time knobs set, percent for "Mix", Hz for "HPF", and on/off for the two switches.

class IPlugBase;

// Gives each of the eight parameter records of plug its unit (core/ParamUnit.h).
void SetBraskUnits(IPlugBase* plug);
