#include "AllocationHook.h"

#include <cstdlib>
#include <new>

#if defined(BRASK_ALLOCATION_HOOK)

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void __libc_free(void* pointer);
}

namespace {

// Plain thread-locals with constant initializers: reading them never allocates.
thread_local bool tArmed = false;
thread_local size_t tCount = 0;

inline void Note() {
  if (tArmed) ++tCount;
}

}  // namespace

extern "C" {

void* malloc(size_t size) {
  Note();
  return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) {
  Note();
  return __libc_calloc(count, size);
}

void* realloc(void* pointer, size_t size) {
  Note();
  return __libc_realloc(pointer, size);
}

void free(void* pointer) {
  if (pointer) Note();
  __libc_free(pointer);
}

}  // extern "C"

void* operator new(size_t size) {
  Note();
  void* pointer = __libc_malloc(size ? size : 1);
  if (!pointer) throw std::bad_alloc();
  return pointer;
}

void* operator new[](size_t size) { return operator new(size); }

void* operator new(size_t size, const std::nothrow_t&) noexcept {
  Note();
  return __libc_malloc(size ? size : 1);
}

void* operator new[](size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}

void operator delete(void* pointer) noexcept {
  if (pointer) Note();
  __libc_free(pointer);
}

void operator delete[](void* pointer) noexcept { operator delete(pointer); }
void operator delete(void* pointer, size_t) noexcept { operator delete(pointer); }
void operator delete[](void* pointer, size_t) noexcept { operator delete(pointer); }
void operator delete(void* pointer, const std::nothrow_t&) noexcept { operator delete(pointer); }
void operator delete[](void* pointer, const std::nothrow_t&) noexcept { operator delete(pointer); }

bool AllocationHook::Available() { return true; }
size_t AllocationHook::Count() { return tCount; }
void AllocationHook::Reset() { tCount = 0; }
AllocationHook::ArmedRegion::ArmedRegion() { tArmed = true; }
AllocationHook::ArmedRegion::~ArmedRegion() { tArmed = false; }

#else

bool AllocationHook::Available() { return false; }
size_t AllocationHook::Count() { return 0; }
void AllocationHook::Reset() {}
AllocationHook::ArmedRegion::ArmedRegion() {}
AllocationHook::ArmedRegion::~ArmedRegion() {}

#endif
