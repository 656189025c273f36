// The about box's demonstrations without a display: their order, their quota, a fresh start
// after an interruption, and the hues they vary.
#include <gtest/gtest.h>

#include "forms/about_demo.h"
#include "settings/store.h"
#include "temp_dir.h"

namespace qsrn {
namespace {

TEST(AboutDemos, RunInOrderForTheirQuotaAndStartAgainWhenInterrupted) {
  test::TempDir home;
  const SettingsStore store{home.path() / "settings"};
  AboutDemonstrations demo(store);
  demo.SetFixedSeed(7);
  demo.Resize(160, 120);
  const AboutDemo order[] = {AboutDemo::Fireworks, AboutDemo::Galaxies, AboutDemo::GravityWells,
                             AboutDemo::Sparklers, AboutDemo::Fireworks};
  for (AboutDemo expected : order) {
    for (int frame = 0; frame < kAboutDemoFrames; ++frame)
      ASSERT_EQ(demo.StepFrame(), expected) << "frame " << frame;
    EXPECT_EQ(demo.Current(), order[(static_cast<int>(expected) + 1) % kAboutDemoCount]);
  }
  // An interrupted demonstration starts again, with every group varying its hue.
  AboutDemonstrations fresh(store);
  fresh.Resize(80, 60);
  fresh.Interrupt();  // nothing running yet
  EXPECT_EQ(fresh.Current(), AboutDemo::Fireworks);
  for (int frame = 0; frame < 5; ++frame) fresh.StepFrame();
  fresh.Interrupt();  // the credits were opened and closed
  EXPECT_EQ(fresh.StepFrame(), AboutDemo::Fireworks);
  EXPECT_EQ(fresh.FramesRun(), 1);
  // Hue wheel 100 %, hue variation 60 degrees: no group of sparks is one solid colour.
  EXPECT_EQ(fresh.settings().ColorPctHue, 100);
  EXPECT_EQ(fresh.settings().ColorHueWheel, 60);
}

}  // namespace
}  // namespace qsrn
