// The program's version, from the build (project(VERSION) in CMakeLists.txt): the one place it is
// written, so that titles, templates, the about box and --version always agree.
#pragma once

#ifndef QSRN_VERSION
#error "QSRN_VERSION comes from the build"
#endif

namespace qsrn {

inline constexpr char kVersion[] = QSRN_VERSION;

}  // namespace qsrn
