// A library that leaves the upper halves of the AVX registers dirty (some code in the toolkit's
// event loop does) makes every later SSE instruction of the engines and every call into the
// maths library's AVX routines pay a state transition: in the paced saver that tripled the cost
// of a Galaxies frame. Clearing that state before each frame's work costs one instruction.
#pragma once

namespace qsrn {

inline void ClearUpperVectorState() {
#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
  // vzeroupper is an invalid instruction on processors without AVX.
  if (__builtin_cpu_supports("avx")) __asm__ volatile("vzeroupper" ::: "memory");
#endif
}

}  // namespace qsrn
