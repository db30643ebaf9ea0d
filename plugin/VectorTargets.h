#pragma once
// VectorTargets: the instruction sets Highway compiles Brask's per-target code for. Include it
// before any Highway header in every file that Highway's foreach_target compiles per target.
//
// x86-64: SSE4, AVX2 with FMA, and AVX-512, plus Highway's static target as the baseline.
// SSSE3 alone and the AVX-512 extensions beyond F/VL/DQ/BW add nothing here. AES and
// carry-less multiply are not needed, so no path requires them; Highway's debug assertions
// would need its library.

#define HWY_DISABLED_TARGETS (HWY_SSSE3 | HWY_AVX3_DL)
#define HWY_DISABLE_PCLMUL_AES
#define HWY_IS_DEBUG_BUILD 0
