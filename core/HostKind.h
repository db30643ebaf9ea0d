#pragma once
// HostKind: which host application loaded the instance, derived from its product name.
//
// The values are part of the adaptors' interface (the VST 2 adaptor limits some hosts to two
// inputs), so they are fixed; 6, 10, 11 and 19 are never produced.

enum HostKind {
  HostKindUnidentified = -1,  // before the adaptor has asked the host
  Unknown = 0,                // asked, but no keyword matched
  Reaper = 1,
  Protools = 2,
  Cubase = 3,
  Nuendo = 4,
  Cakewalk = 5,
  Fruity = 7,
  Samplitude = 8,
  Live = 9,
  Melodyne = 12,
  Vstmanlib = 13,
  Aulab = 14,
  Forte = 15,
  Chainer = 16,
  Audition = 17,
  Orion = 18,
  Sawstudio = 20,
  Logic = 21,
  Garageband = 22,
  Digital = 23,
  Standalone = 24,
  Audiomulch = 25,
  Presonus = 26,
  Vst3plugintesthost = 27,
  Ardour = 28,
  Renoise = 29,
  Openmpt = 30,
};

// The host kind for a product name: the first keyword of a fixed list found anywhere in the
// name, compared without regard to ASCII case; Unknown when none is found or name is null.
int LookUpHostKind(const char* productName);
