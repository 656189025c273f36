// The surface geometry rule: the last step of loading the general settings.
#include "settings/surface_geometry.h"

#include "settings/numeric.h"

namespace qsrn {

SurfaceGeometry DeriveGeometry(double innerWidth, double innerHeight, double unitsPerPixelX,
                               double unitsPerPixelY, float focalLength) {
  SurfaceGeometry g;
  g.ScreenWidth = CLng(innerWidth / (unitsPerPixelX > 0 ? unitsPerPixelX : 1.0));
  g.ScreenHeight = CLng(innerHeight / (unitsPerPixelY > 0 ? unitsPerPixelY : 1.0));
  g.CenterX = CLng(g.ScreenWidth * 0.5);
  g.CenterY = CLng(g.ScreenHeight * 0.5);
  g.ScaleX = static_cast<float>(g.CenterX) * focalLength;
  g.ScaleY = static_cast<float>(g.CenterY) * focalLength;
  // A zero-width surface would divide by zero; it has no shape, so call it square.
  g.AspectRatio = g.ScreenWidth != 0 ? static_cast<float>(g.ScreenHeight) / static_cast<float>(g.ScreenWidth) : 1.0f;
  return g;
}

}  // namespace qsrn
