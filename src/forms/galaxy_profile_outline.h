// The galaxy profile picture beside the profile list, without a toolkit: the galaxy engine's
// envelope for a profile seen edge-on, from one rim through the axis to the other, as half-heights
// scaled so the highest is 1, at steps + 1 evenly spaced points. A view draws the shape mirrored
// about its middle line.
#pragma once

#include <vector>

namespace qsrn {

std::vector<double> GalaxyProfileOutline(int profile, int steps);

}  // namespace qsrn
