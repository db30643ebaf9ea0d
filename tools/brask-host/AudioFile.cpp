#include "AudioFile.h"

#include <strings.h>

#include <algorithm>

namespace {

constexpr int64_t kReadChunkFrames = 65536;

bool EndsWith(const std::string& text, const char* suffix) {
  const size_t n = std::char_traits<char>::length(suffix);
  return text.size() >= n && strcasecmp(text.c_str() + text.size() - n, suffix) == 0;
}

// The source's sample format when the container holds it, else a lossless-enough default.
int OutputFormat(int container, int channels, double sampleRate, int sourceFormat) {
  SF_INFO probe{};
  probe.channels = channels;
  probe.samplerate = int(sampleRate);
  probe.format = container | (sourceFormat & SF_FORMAT_SUBMASK);
  if (sourceFormat != 0 && sf_format_check(&probe)) return probe.format;
  return container | (container == SF_FORMAT_FLAC ? SF_FORMAT_PCM_24 : SF_FORMAT_FLOAT);
}

}  // namespace

int ContainerForName(const std::string& path) {
  if (EndsWith(path, ".wav")) return SF_FORMAT_WAV;
  if (EndsWith(path, ".aif") || EndsWith(path, ".aiff")) return SF_FORMAT_AIFF;
  if (EndsWith(path, ".flac")) return SF_FORMAT_FLAC;
  return 0;
}

bool ReadAudioFile(const std::string& path, AudioData* audio, std::string* error) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) {
    *error = "cannot read " + path + ": " + sf_strerror(nullptr);
    return false;
  }
  if (info.channels < 1 || info.channels > 2) {
    sf_close(file);
    *error = path + " has " + std::to_string(info.channels) +
             " channels; brask-host takes mono or stereo files";
    return false;
  }
  audio->sampleRate = info.samplerate;
  audio->format = info.format;
  audio->channels.assign(size_t(info.channels), std::vector<double>());
  std::vector<double> chunk(size_t(kReadChunkFrames * info.channels));
  sf_count_t got = 0;
  while ((got = sf_readf_double(file, chunk.data(), kReadChunkFrames)) > 0) {
    for (int c = 0; c < info.channels; ++c) {
      std::vector<double>& channel = audio->channels[size_t(c)];
      for (sf_count_t i = 0; i < got; ++i) channel.push_back(chunk[size_t(i * info.channels + c)]);
    }
  }
  sf_close(file);
  return true;
}

AudioFileWriter::~AudioFileWriter() {
  if (file) sf_close(file);
}

bool AudioFileWriter::Open(double sampleRate, int channels, int sourceFormat, std::string* error) {
  const int container = ContainerForName(pending.FinalPath());
  if (container == 0) {
    *error = "cannot tell the format of " + pending.FinalPath() +
             " from its name (use .wav, .aiff or .flac)";
    return false;
  }
  const int fd = pending.Create(error);
  if (fd < 0) return false;
  SF_INFO info{};
  info.samplerate = int(sampleRate);
  info.channels = channels;
  info.format = OutputFormat(container, channels, sampleRate, sourceFormat);
  file = sf_open_fd(fd, SFM_WRITE, &info, SF_TRUE);
  if (!file) {
    *error = "cannot write " + pending.FinalPath() + ": " + sf_strerror(nullptr);
    return false;
  }
  // Integer formats clip out-of-range samples instead of wrapping them around.
  sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  return true;
}

bool AudioFileWriter::Write(const double* interleaved, int64_t frames, std::string* error) {
  if (sf_writef_double(file, interleaved, frames) != frames) {
    *error = "cannot write " + pending.FinalPath() + ": " + sf_strerror(file);
    return false;
  }
  return true;
}

bool AudioFileWriter::Commit(std::string* error) {
  if (sf_close(file) != 0) {
    file = nullptr;
    *error = "cannot finish " + pending.FinalPath();
    return false;
  }
  file = nullptr;
  return pending.Commit(error);
}
