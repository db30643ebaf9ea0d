#pragma once
// Audio files through libsndfile: reading a whole mono or stereo file into memory as doubles,
// and writing a stereo result that appears under its name only when complete (PendingFile).
// WAV, AIFF and FLAC are chosen by the output name's extension; the sample format of the
// input is kept when the output container can hold it, so a 64-bit float WAV stays exact.

#include <sndfile.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "PendingFile.h"

struct AudioData {
  double sampleRate = 0.0;
  int format = 0;                             ///< libsndfile format of the source file
  std::vector<std::vector<double>> channels;  ///< one or two channels of equal length

  int64_t Frames() const { return channels.empty() ? 0 : int64_t(channels[0].size()); }
};

// Reads a mono or stereo file; false with *error set when it is missing or unreadable.
bool ReadAudioFile(const std::string& path, AudioData* audio, std::string* error);

class AudioFileWriter {
 public:
  explicit AudioFileWriter(const std::string& path) : pending(path) {}
  ~AudioFileWriter();
  AudioFileWriter(const AudioFileWriter&) = delete;
  AudioFileWriter& operator=(const AudioFileWriter&) = delete;

  // Opens the temporary file for interleaved frames of the given channel count.
  bool Open(double sampleRate, int channels, int sourceFormat, std::string* error);
  bool Write(const double* interleaved, int64_t frames, std::string* error);
  // Closes the file and moves it to its name.
  bool Commit(std::string* error);

 private:
  PendingFile pending;
  SNDFILE* file = nullptr;
};

// The libsndfile container for an output name (.wav, .aif, .aiff, .flac), or 0.
int ContainerForName(const std::string& path);
