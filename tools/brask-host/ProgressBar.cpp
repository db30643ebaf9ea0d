#include "ProgressBar.h"

#include <unistd.h>

#include <cstdio>

namespace {
constexpr int kWidth = 40;
}  // namespace

ProgressBar::ProgressBar(std::string label, int64_t total, int64_t minimumFrames)
    : label(std::move(label)),
      total(total),
      shown(total >= minimumFrames && isatty(STDERR_FILENO)) {}

ProgressBar::~ProgressBar() {
  if (shown && lastPercent >= 0) std::fputc('\n', stderr);
}

void ProgressBar::Update(int64_t done) {
  if (!shown || total <= 0) return;
  const int percent = int(done * 100 / total);
  if (percent == lastPercent) return;
  lastPercent = percent;
  const int filled = percent * kWidth / 100;
  std::fprintf(stderr, "\r%s [%.*s%*s] %3d%%", label.c_str(), filled,
               "########################################", kWidth - filled, "", percent);
  std::fflush(stderr);
}
