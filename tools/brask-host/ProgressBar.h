#pragma once
// ProgressBar: a one-line bar on standard error while a long file renders, drawn only when
// standard error is a terminal, so scripts and logs never see it.

#include <cstdint>
#include <string>

class ProgressBar {
 public:
  // total: the work's size in frames; shown only when it is at least minimumFrames.
  ProgressBar(std::string label, int64_t total, int64_t minimumFrames);
  ~ProgressBar();
  void Update(int64_t done);

 private:
  std::string label;
  int64_t total;
  bool shown;
  int lastPercent = -1;
};
