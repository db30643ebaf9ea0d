#pragma once
// Runs a test on each vector path this processor supports, one after the other.

#include <gtest/gtest.h>

#include <vector>

#include "plugin/VectorPath.h"

inline std::vector<VectorPath> SupportedPaths() {
  std::vector<VectorPath> paths;
  for (VectorPath p :
       {VectorPath::kSse2, VectorPath::kSse4, VectorPath::kAvx2, VectorPath::kAvx512}) {
    if (CpuSupports(p)) paths.push_back(p);
  }
  return paths;
}

// Forces a path for its lifetime and names it in every failure message.
class ForcedPath {
 public:
  explicit ForcedPath(VectorPath path) : trace(__FILE__, __LINE__, VectorPathName(path)) {
    EXPECT_TRUE(ForceVectorPath(path));
  }
  ~ForcedPath() { ClearForcedVectorPath(); }
  ForcedPath(const ForcedPath&) = delete;
  ForcedPath& operator=(const ForcedPath&) = delete;

 private:
  testing::ScopedTrace trace;
};
