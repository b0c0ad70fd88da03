// Counts every heap allocation of the program while s_Counting is set, so a
// benchmark can show that a steady state allocates nothing. It replaces the
// process's malloc family and operator new: include it from exactly one file
// of a benchmark program.
#pragma once

#include <cstddef>
#include <new>

extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);
extern "C" void  __libc_free(void*);

namespace {

bool s_Counting = false;
long s_Allocations = 0;

void Count() {
    if (s_Counting) s_Allocations++;
}

}  // namespace

extern "C" void* malloc(size_t n) { Count(); return __libc_malloc(n); }
extern "C" void* calloc(size_t n, size_t m) { Count(); return __libc_calloc(n, m); }
extern "C" void* realloc(void* p, size_t n) { Count(); return __libc_realloc(p, n); }
extern "C" void  free(void* p) { __libc_free(p); }
void* operator new(size_t n) { Count(); void* p = __libc_malloc(n ? n : 1); if (!p) throw std::bad_alloc(); return p; }
void* operator new[](size_t n) { return operator new(n); }
void  operator delete(void* p) noexcept { __libc_free(p); }
void  operator delete[](void* p) noexcept { __libc_free(p); }
void  operator delete(void* p, size_t) noexcept { __libc_free(p); }
void  operator delete[](void* p, size_t) noexcept { __libc_free(p); }
