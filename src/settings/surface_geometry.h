// The values derived from the drawing surface's size: the last step of loading the general
// settings, kept below the renderer so that the settings layer needs nothing from it.
#pragma once

#include <cstdint>

namespace qsrn {

// Values derived from the drawing surface's size (see DeriveGeometry).
struct SurfaceGeometry {
  int32_t ScreenWidth = 0;
  int32_t ScreenHeight = 0;
  int32_t CenterX = 0;
  int32_t CenterY = 0;
  float ScaleX = 0;
  float ScaleY = 0;
  float AspectRatio = 0;
};

// ScreenWidth/Height, the centre, the projection scales and the aspect ratio of a surface whose
// inner size is measured in units of unitsPerPixelX/Y (twips for the preview, 1 for pixels; a
// measure that is not positive counts as pixels), seen with the given FocalLength.
SurfaceGeometry DeriveGeometry(double innerWidth, double innerHeight, double unitsPerPixelX,
                               double unitsPerPixelY, float focalLength);

}  // namespace qsrn
