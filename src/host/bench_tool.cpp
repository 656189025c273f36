// Placeholder until this mode is built.
#include <cstdio>

#include "host/tools.h"

namespace qsrn {

int BenchMain(int, char**) {
  std::fputs("quasarine: this mode is not available yet\n", stderr);
  return 2;
}

}  // namespace qsrn
