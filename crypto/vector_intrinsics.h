#pragma once
// The x86 vector intrinsics, for the vector kernels to include before any
// other header does. GCC 12 takes the deliberately undefined inputs inside
// its AVX-512 intrinsics for uninitialised variables once they are inlined,
// and reports them at these header lines.

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop
#else
#include <immintrin.h>
#endif
