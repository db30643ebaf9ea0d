#pragma once
// VectorPath: the instruction set that Brask's per-chunk curve kernels run on.
//
// Every module carries three builds of the kernels: the x86-64 baseline (SSE2: the scalar C
// library computation, one sample at a time), AVX2 with FMA, and AVX-512. The best one that
// both the processor and the operating system support is chosen once, at the first block, so
// a module loads and runs on any x86-64 machine. Tests force a lesser path to exercise every
// build on one machine.

enum class VectorPath { kSse2 = 0, kAvx2 = 1, kAvx512 = 2 };

constexpr int kVectorPathCount = 3;

// "SSE2", "AVX2" or "AVX-512".
const char* VectorPathName(VectorPath path);

// True when this processor and its operating system can run the path.
bool CpuSupports(VectorPath path);

// The fastest supported path.
VectorPath BestVectorPath();

// The path that blocks run on now: the forced one, if any, else the best.
VectorPath ActiveVectorPath();

// For tests: every later block runs on the given path, process-wide. Answers false and
// changes nothing when the processor cannot run it.
bool ForceVectorPath(VectorPath path);

// Returns to the best path.
void ClearForcedVectorPath();
