// The galaxy profile picture's outline; see galaxy_profile_outline.h.
#include "forms/galaxy_profile_outline.h"

#include <algorithm>
#include <cmath>

#include "effects/galaxy_shape.h"

namespace qsrn {

std::vector<double> GalaxyProfileOutline(int profile, int steps) {
  steps = std::max(steps, 1);
  std::vector<double> outline(static_cast<size_t>(steps) + 1);
  double highest = 1e-9;
  for (int i = 0; i <= steps; ++i) {
    // r is the distance from the axis.
    const double r = std::abs(2.0 * i / steps - 1.0);
    const double e = ProfileEnvelope(profile, r, 1.0);
    outline[static_cast<size_t>(i)] = std::isfinite(e) ? std::max(e, 0.0) : 0.0;
    highest = std::max(highest, outline[static_cast<size_t>(i)]);
  }
  for (double& h : outline) h /= highest;
  return outline;
}

}  // namespace qsrn
