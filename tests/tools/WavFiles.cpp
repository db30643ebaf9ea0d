#include "WavFiles.h"

#include <sndfile.h>

#include <cmath>
#include <cstdint>

bool WriteAudio(const std::string& path, const TestAudio& audio, int format) {
  SF_INFO info{};
  info.samplerate = audio.sampleRate;
  info.channels = int(audio.channels.size());
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) return false;
  const size_t frames = audio.channels.empty() ? 0 : audio.channels[0].size();
  std::vector<double> interleaved(frames * audio.channels.size());
  for (size_t n = 0; n < frames; ++n) {
    for (size_t c = 0; c < audio.channels.size(); ++c) {
      interleaved[n * audio.channels.size() + c] = audio.channels[c][n];
    }
  }
  const bool written =
      sf_writef_double(file, interleaved.data(), sf_count_t(frames)) == sf_count_t(frames);
  return sf_close(file) == 0 && written;
}

TestAudio ReadAudio(const std::string& path) {
  TestAudio audio;
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) return audio;
  std::vector<double> interleaved(size_t(info.frames * info.channels));
  sf_readf_double(file, interleaved.data(), info.frames);
  sf_close(file);
  audio.sampleRate = info.samplerate;
  audio.channels.assign(size_t(info.channels), std::vector<double>(size_t(info.frames)));
  for (size_t n = 0; n < size_t(info.frames); ++n) {
    for (size_t c = 0; c < size_t(info.channels); ++c) {
      audio.channels[c][n] = interleaved[n * size_t(info.channels) + c];
    }
  }
  return audio;
}

TestAudio MakeProgramSignal(int sampleRate, int frames) {
  TestAudio audio;
  audio.sampleRate = sampleRate;
  audio.channels.assign(2, std::vector<double>(size_t(frames)));
  uint32_t seed = 12345;
  for (int n = 0; n < frames; ++n) {
    seed = seed * 1664525u + 1013904223u;
    const double noise = (double(seed >> 8) / double(1 << 24) - 0.5) * 0.02;
    const double t = double(n % (sampleRate / 20)) / sampleRate;
    const double burst = 0.8 * std::exp(-t / 0.01);
    audio.channels[0][size_t(n)] = burst * std::sin(2 * M_PI * 220.0 * t) + noise;
    audio.channels[1][size_t(n)] = burst * std::sin(2 * M_PI * 330.0 * t) - noise;
  }
  return audio;
}

TestAudio MakeKickSignal(int sampleRate, int frames) {
  TestAudio audio;
  audio.sampleRate = sampleRate;
  audio.channels.assign(2, std::vector<double>(size_t(frames)));
  for (int n = 0; n < frames; ++n) {
    const double t = double(n % (sampleRate / 4)) / sampleRate;
    const double kick = 0.9 * std::sin(2 * M_PI * 60.0 * t) * std::exp(-t / 0.05);
    audio.channels[0][size_t(n)] = kick;
    audio.channels[1][size_t(n)] = kick;
  }
  return audio;
}
