#pragma once
// HostAudio: audio as a host hands it to the process callbacks. Channels hold samples as
// doubles whatever the callback's precision; the test signals are float-representable, so the
// float and double callbacks see exactly the same input.

#include <vector>

#include "HostedEffect.h"

// Four input channels (main pair, side-chain pair) or two output channels of equal length.
using Channels = std::vector<std::vector<double>>;

constexpr double kHostSampleRate = 44100.0;

// A main pair at mainLevel and a side-chain pair at sideLevel, each channel its own tone,
// starting at frame start of the tones.
Channels Signal(int frames, double mainLevel, double sideLevel, int start = 0);
Channels Silent(int channels, int frames);
Channels WithSilentSideChain(Channels channels);
Channels ToFloatPrecision(Channels channels);

// One call of the double callback with four inputs and two outputs.
Channels ProcessDouble(const HostedEffect& plug, Channels inputs);
// One call of a float callback (accumulating or replacing); the host's output buffers hold
// initial before the call.
Channels ProcessFloat(const HostedEffect& plug, const Channels& inputs, bool accumulate,
                      float initial = 0.0f);
