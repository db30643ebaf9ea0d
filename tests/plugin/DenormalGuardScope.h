#pragma once
// Holds Brask's subnormal flushing on for a scope, or leaves the mode as it is.

#include <memory>

#include "plugin/DenormalGuard.h"

class DenormalGuardScope {
 public:
  explicit DenormalGuardScope(bool flush) {
    if (flush) guard = std::make_unique<DenormalGuard>();
  }

 private:
  std::unique_ptr<DenormalGuard> guard;
};
