// The trigonometric tables.
#include "render/geometry.h"

namespace qsrn {

void BuildTrigTables(TrigTables& trig) {
  // The float pi divided by 1000 in double; only the running sum is rounded back to float.
  constexpr double kStep = static_cast<double>(kPi) / 1000.0;
  float a = 0.0f;
  for (int i = 0; i <= 1000; ++i) {
    trig.CosTable[i] = static_cast<float>(std::cos(static_cast<double>(a)));
    trig.SinTable[i] = static_cast<float>(std::sin(static_cast<double>(a)));
    a = static_cast<float>(a + kStep);
  }
}

}  // namespace qsrn
