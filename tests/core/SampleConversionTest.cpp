// The vector conversions against the scalar ones, at every length around the vector width and
// for the values whose conversion is special: rounding ties, overflow, subnormals, NaN.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "core/SampleConversion.h"

namespace {

template <typename T>
bool SameBits(T a, T b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(SampleConversion, EveryLaneConvertsAsTheScalarConversion) {
  const double inf = std::numeric_limits<double>::infinity();
  const double tie = 1.0 + std::ldexp(1.0, -24);  // halfway between two floats: rounds to even
  const std::vector<double> values = {
      0.0,    -0.0, 0.5,    -1.0, tie,  -tie,         1e-40,   -1e-45,       1e-320,
      3.4e38, 1e39, -1e300, inf,  -inf, std::nan(""), FLT_MAX, 0.1234567891, -0.987654321};
  for (size_t length = 0; length <= values.size(); ++length) {
    std::vector<float> narrow(length + 1, -7.0f);
    NarrowSamples(values.data(), narrow.data(), int(length));
    std::vector<double> wide(length + 1, -7.0);
    WidenSamples(narrow.data(), wide.data(), int(length));
    for (size_t s = 0; s < length; ++s) {
      EXPECT_TRUE(SameBits(narrow[s], float(values[s]))) << length << ", " << values[s];
      EXPECT_TRUE(SameBits(wide[s], double(narrow[s]))) << length << ", " << values[s];
    }
    EXPECT_EQ(narrow[length], -7.0f) << "nothing beyond the frames is written";
    EXPECT_EQ(wide[length], -7.0);
  }
}

}  // namespace
