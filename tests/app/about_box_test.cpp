// The about box and the credits: the demonstrations' order and quota, that the animation runs
// only while the box can be seen, and the credits' line cuts and scrolling.
#include <gtest/gtest.h>

#include "host_test_support.h"
#include "settings/store.h"
#include "ui/about_demo.h"
#include "ui/credits_form.h"
#include "ui/welcome_form.h"

namespace qsrn {
namespace {

using host_test::EnsureQtApplication;
using host_test::TempHome;

TEST(AboutDemonstrations, RunInOrderForTheirQuotaThenStartAgain) {
  TempHome home;
  SettingsStore store(home.path());
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
}

TEST(AboutDemonstrations, AnInterruptedOneGivesWayToTheNext) {
  TempHome home;
  SettingsStore store(home.path());
  AboutDemonstrations demo(store);
  demo.Resize(80, 60);
  demo.Interrupt();  // nothing running yet: nothing skipped
  EXPECT_EQ(demo.Current(), AboutDemo::Fireworks);
  demo.StepFrame();
  demo.Interrupt();
  EXPECT_EQ(demo.Current(), AboutDemo::Galaxies);
  EXPECT_EQ(demo.StepFrame(), AboutDemo::Galaxies);
  EXPECT_EQ(demo.FramesRun(), 1);
}

TEST(AboutBox, AnimatesOnlyWhileItCanBeSeen) {
  EnsureQtApplication();
  TempHome home;
  SettingsStore store(home.path());
  frmWelcome box(store);
  EXPECT_FALSE(box.Animating());
  box.show();
  EXPECT_TRUE(box.Animating());
  box.showMinimized();
  EXPECT_FALSE(box.Animating());
  box.showNormal();
  EXPECT_TRUE(box.Animating());
  box.hide();
  EXPECT_FALSE(box.Animating());
}

TEST(CreditsText, HeadingsAndItemsAreCut) {
  const QString heading = QStringLiteral("  ") + QString(45, QChar('H'));  // blanks: an item
  const std::vector<CreditLine> lines =
      BuildCreditText({QString(45, QChar('T')), QStringLiteral("   ") + QString(60, QChar('i')) + "   ", heading});
  ASSERT_EQ(lines.size(), 5u + 4u);
  EXPECT_EQ(lines[5].text, QString());  // a blank line before a heading
  EXPECT_EQ(lines[6].text, QString(30, QChar('T')));
  EXPECT_EQ(lines[6].pointSize, 10);
  EXPECT_EQ(lines[7].text, QStringLiteral("     ") + QString(40, QChar('i')));
  EXPECT_EQ(lines[7].pointSize, 8);
  EXPECT_EQ(lines[8].text, QStringLiteral("     ") + QString(40, QChar('H')));
}

TEST(Credits, ScrollWrapsBelowTheFrameAndStarsSurviveAResize) {
  EnsureQtApplication();
  frmCredits credits;
  credits.FormLet(5000, 0.3f, 100.0f, {QStringLiteral("Heading"), QStringLiteral("    item")});
  EXPECT_EQ(credits.motion().stars, 200);  // clamped on the way in
  credits.show();
  EXPECT_TRUE(credits.Animating());
  double lowest = credits.CreditsTop();
  bool wrapped = false;
  for (int i = 0; i < 200; ++i) {
    const double before = credits.CreditsTop();
    credits.StepFrame();
    wrapped |= credits.CreditsTop() > before;
    lowest = std::min(lowest, credits.CreditsTop());
  }
  EXPECT_TRUE(wrapped);
  credits.resize(credits.width() + 50, credits.height() + 40);
  QCoreApplication::processEvents();
  credits.StepFrame();  // restarts the field at the new size without a fault
  credits.hide();
  EXPECT_FALSE(credits.Animating());
}

}  // namespace
}  // namespace qsrn
