#pragma once
// SampleGuards: how samples that the 32-bit stages cannot hold enter Brask's processing.

#include <cfloat>
#include <cmath>

// A sample the 32-bit stages cannot hold (NaN, infinite, or beyond the float range) enters the
// detector and the audio path as silence; otherwise one such sample would turn every filter
// state into NaN for the rest of the session.
inline double Sanitized(double x) { return std::fabs(x) <= double(FLT_MAX) ? x : 0.0; }
