#pragma once
// Small audio files for the brask-host tests, written and read with libsndfile.

#include <string>
#include <vector>

struct TestAudio {
  int sampleRate = 48000;
  std::vector<std::vector<double>> channels;  ///< one vector per channel, equal lengths
};

// Writes the channels; format is a libsndfile format (for example WAV | DOUBLE).
bool WriteAudio(const std::string& path, const TestAudio& audio, int format);
// Reads a file; an empty channel list when it cannot be read.
TestAudio ReadAudio(const std::string& path);

// A stereo test signal: a decaying tone burst every 50 ms over a little noise, loud enough to
// make the compressor work, different in both channels.
TestAudio MakeProgramSignal(int sampleRate, int frames);
// A kick-like burst every 250 ms (both channels alike), for the side-chain.
TestAudio MakeKickSignal(int sampleRate, int frames);
