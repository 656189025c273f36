// Library code that leaves the upper halves of the AVX registers dirty (something the toolkit
// runs while starting up does, and nothing clears them after it) makes every later SSE
// instruction of the engines and every call into the maths library's AVX routines pay a state
// transition: in the paced saver that made a Galaxies frame's step three times as costly.
// Clearing that state before each frame's step costs one instruction and guards against any
// such code, on any thread that draws (the same thread then converts the frame for the screen).
#pragma once

namespace qsrn {

inline void ClearUpperVectorState() {
#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
  // vzeroupper is an invalid instruction on processors without AVX.
  if (__builtin_cpu_supports("avx")) __asm__ volatile("vzeroupper" ::: "memory");
#endif
}

}  // namespace qsrn
