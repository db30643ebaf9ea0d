#pragma once
// AllocationHook: counts heap allocations and releases made by one thread while it is armed.
// The program replaces malloc, calloc, realloc, free and the global operator new and delete;
// each forwards to the C library and, when the calling thread is inside an ArmedRegion, counts.
// Audio callbacks are run inside such a region: any count above zero means the callback used
// the heap. Sanitizer builds keep their own allocator, so the hook is absent there.

#include <cstddef>

class AllocationHook {
 public:
  // True when this program carries the hook (no sanitizer owns the allocator).
  static bool Available();
  // Heap calls counted on this thread since the last Reset.
  static size_t Count();
  static void Reset();

  // Arms the calling thread for its lifetime.
  class ArmedRegion {
   public:
    ArmedRegion();
    ~ArmedRegion();
    ArmedRegion(const ArmedRegion&) = delete;
    ArmedRegion& operator=(const ArmedRegion&) = delete;
  };
};
