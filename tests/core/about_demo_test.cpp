// The about box's demonstrations without a display: their order, their quota, a fresh start
// after an interruption, and the hues they vary; the credits' text as it is cut and their stars.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "forms/about_demo.h"
#include "forms/credits_roll.h"
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

TEST(CreditsText, HeadingsAndItemsAreCutAndCountsClamped) {
  const std::string heading = "  " + std::string(45, 'H');  // blanks: an item
  const std::vector<CreditLine> lines =
      BuildCreditText({std::string(45, 'T'), "   " + std::string(60, 'i') + "   ", heading,
                       "  \xC3\xA9" + std::string(45, 'e')});
  ASSERT_EQ(lines.size(), 5u + 5u);
  EXPECT_EQ(lines[5].text, "");  // a blank line before a heading
  EXPECT_EQ(lines[6].text, std::string(30, 'T'));
  EXPECT_EQ(lines[6].pointSize, 10);
  EXPECT_EQ(lines[7].text, "     " + std::string(40, 'i'));
  EXPECT_EQ(lines[7].pointSize, 8);
  EXPECT_EQ(lines[8].text, "     " + std::string(40, 'H'));
  EXPECT_EQ(lines[9].text, "     \xC3\xA9" + std::string(39, 'e'));  // characters, not bytes
  EXPECT_EQ(ClampCreditsMotion(5000, 0.3f, 100.0f).stars, 200);
  EXPECT_EQ(ClampCreditsMotion(3, 0.001f, 0.1f).speed, 0.0025f);
}

TEST(CreditsStars, MoveWithoutLeavingTrails) {
  // A picture of one colour: after many frames only the stars now shown differ from it.
  std::vector<uint32_t> pixels(160 * 120, 0x123456);
  const PixelRows picture{pixels.data(), 160, 120, 160};
  Random rng(3);
  StarField field;
  field.Restart(picture, 20, rng);
  for (int frame = 0; frame < 300; ++frame) field.Step(picture, 0.05f, rng);
  const auto marked = std::count_if(pixels.begin(), pixels.end(), [](uint32_t p) { return p != 0x123456; });
  EXPECT_GT(marked, 0);
  for (uint32_t p : pixels) ASSERT_TRUE(p == 0x123456 || p == (0x123456 ^ 0xFFFFFFu));
  EXPECT_LT(marked, 2000);  // stars left behind would mark thousands more
}

}  // namespace
}  // namespace qsrn
