#pragma once
// VectorPath: the instruction set that Brask's per-chunk curve kernels run on.
//
// Every module carries four builds of the kernels: the x86-64 baseline (SSE2: the scalar C
// library computation, one sample at a time), SSE4 (two double lanes, for processors without
// AVX2), AVX2 with FMA, and AVX-512. The best one that both the processor and the operating
// system support is chosen when the module loads, so a module runs on any x86-64 machine.
// Tests force a lesser path to exercise every build on one machine.

enum class VectorPath { kSse2 = 0, kSse4 = 1, kAvx2 = 2, kAvx512 = 3 };

constexpr int kVectorPathCount = 4;

// "SSE2", "SSE4", "AVX2" or "AVX-512".
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
