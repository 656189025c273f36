// Surface geometry and the trigonometric tables.
#include "render/geometry.h"

namespace qsrn {

void DeriveGeometry(Context& ctx, double innerWidth, double innerHeight, bool isPreview) {
  SurfaceGeometry& g = ctx.geometry;
  const double divX = isPreview && ctx.TwipsPerPixelX > 0 ? ctx.TwipsPerPixelX : 1.0;
  const double divY = isPreview && ctx.TwipsPerPixelY > 0 ? ctx.TwipsPerPixelY : 1.0;
  g.ScreenWidth = CLng(innerWidth / divX);
  g.ScreenHeight = CLng(innerHeight / divY);
  g.CenterX = CLng(g.ScreenWidth * 0.5);
  g.CenterY = CLng(g.ScreenHeight * 0.5);
  g.ScaleX = static_cast<float>(g.CenterX) * ctx.settings.FocalLength;
  g.ScaleY = static_cast<float>(g.CenterY) * ctx.settings.FocalLength;
  // A zero-width surface would divide by zero; it has no shape, so call it square.
  g.AspectRatio = g.ScreenWidth != 0 ? static_cast<float>(g.ScreenHeight) / static_cast<float>(g.ScreenWidth) : 1.0f;
}

void BuildTrigTables(TrigTables& trig) {
  float a = 0.0f;
  const float step = 3.1415927f / 1000.0f;
  for (int i = 0; i <= 1000; ++i) {
    trig.CosTable[i] = static_cast<float>(std::cos(static_cast<double>(a)));
    trig.SinTable[i] = static_cast<float>(std::sin(static_cast<double>(a)));
    a = a + step;
  }
}

}  // namespace qsrn
