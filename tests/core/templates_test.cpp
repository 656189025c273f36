// Template files: the profile-string rules, the layout, and importing a template into the store.
#include <gtest/gtest.h>

#include <tuple>

#include "settings/numeric.h"
#include "settings/templates.h"
#include "temp_dir.h"

namespace qsrn {

namespace {
using test::ReadFile;
using test::TempDir;
using test::WriteFile;
}  // namespace

TEST(Template, ProfileReadsGiveDefaultsAndCutLongValues) {
  TempDir dir;
  const auto file = dir / "look.qsn";
  EXPECT_EQ(IniGetString(file, "General", "LockMessage", "none"), "none");  // no file
  EXPECT_EQ(IniGetNumber(file, "General", "PixelSize", 3), 3);
  WriteFile(file, "[general]\nlockmessage = " + std::string(300, 'm') + "\nPixelSize= 4 px\nColorRed=abc\n");
  EXPECT_EQ(IniGetString(file, "General", "LockMessage", ""), std::string(254, 'm'));
  EXPECT_EQ(IniGetNumber(file, "General", "PixelSize", 3), 4);
  EXPECT_EQ(IniGetNumber(file, "General", "ColorRed", 100), 0);  // not a number
  EXPECT_EQ(IniGetString(file, "General", "Missing", "d"), "d");
  // Characters, not bytes: a multi-byte character is never split.
  WriteFile(file, "[g]\nm=" + std::string(253, 'a') + "\xC3\xA9\xC3\xA9\n");
  EXPECT_EQ(IniGetString(file, "g", "m", ""), std::string(253, 'a') + "\xC3\xA9");
}

TEST(Template, PutStringReplacesInPlaceAndKeepsTheRest) {
  TempDir dir;
  const auto file = dir / "look.qsn";
  EXPECT_NE(IniPutString(file, "General", "ColorRed", "50"), 0);  // creates the file
  EXPECT_EQ(ReadFile(file), "[General]\nColorRed=50\n");
  WriteFile(file, "[Mine]\nnote=keep\n[General]\n; comment\nColorRed=50\nExtra=1\n");
  EXPECT_NE(IniPutString(file, "GENERAL", "colorred", "60"), 0);
  EXPECT_NE(IniPutString(file, "Fireworks", "FireWorks", "9"), 0);
  EXPECT_EQ(ReadFile(file), "[Mine]\nnote=keep\n[General]\n; comment\nColorRed=60\nExtra=1\n\n[Fireworks]\nFireWorks=9\n");
  EXPECT_EQ(IniPutString(file, "General", "LockMessage", "a\nb"), 0);
  EXPECT_EQ(IniPutString("", "General", "ColorRed", "1"), 0);
}

TEST(Template, LayoutHasEverySectionOnceInOrder) {
  const auto layout = TemplateLayout();
  std::vector<std::string_view> names;
  std::vector<size_t> counts;
  for (const auto& sec : layout) names.push_back(sec.name), counts.push_back(sec.keys.size());
  EXPECT_EQ(names, (std::vector<std::string_view>{"Admin", "General", "Advanced", "PixelColor", "Fireworks",
                                                  "Starfield", "B-SplineWarp", "B-SplineSpark", "GravityWell",
                                                  "Galaxy"}));
  EXPECT_EQ(counts, (std::vector<size_t>{1, 8, 9, 3, 43, 11, 11, 10, 10, 37}));
  // Template order differs from catalogue order where the layout says so.
  EXPECT_EQ(layout[4].keys[19]->key, "FireBurstRadius");
  EXPECT_EQ(layout[4].keys[20]->key, "FireLaunchPct");
  EXPECT_EQ(layout[4].keys[41]->key, "FireMultiMoment");
  EXPECT_EQ(layout[4].keys[42]->key, "FireBurstShell");
  EXPECT_EQ(layout[6].keys[8]->key, "Warp_CyclePct");
  EXPECT_EQ(layout[8].keys[8]->key, "Grav_Refresh");
  EXPECT_EQ(layout[9].keys[36]->key, "Galaxy_Profile");
}

class Import : public ::testing::Test {
 protected:
  std::string Stored(std::string_view section, std::string_view key) {
    return store.RegGetString(0, kAppName, section, key, "<missing>");
  }
  TempDir dir;
  SettingsStore store{dir / "cfg"};
};

TEST_F(Import, CopiesTheLayoutsKeysOnlyWithGarbageAsZero) {
  const auto file = dir / "shared.qsn";
  WriteFile(file,
            "[Admin]\nCopyright=someone\n"
            "[Fireworks]\nFireSparks=abc\nFireWorks = 12 shells\nFirePersist=.90\nEvil=1\n"
            "[General]\nLockMessage=  Hello there  \nColorRed=1e999\n"
            "[Advanced]\nAdv_FontSize=huge\n"
            "[SoundFX]\nFire_Launch=/etc/passwd\nSoundFX_ON=1\n"
            "[Sneaky]\nx=1\n");
  std::string error;
  ASSERT_TRUE(ImportTemplate(store, file, &error)) << error;
  EXPECT_EQ(Stored("Fireworks", "FireSparks"), "0");
  EXPECT_EQ(Stored("Fireworks", "FireWorks"), "12");
  EXPECT_EQ(Stored("Fireworks", "FirePersist"), "0.9");
  EXPECT_EQ(Stored("General", "LockMessage"), "Hello there");
  EXPECT_EQ(Stored("Advanced", "Adv_FontSize"), "huge");  // a text key, copied as text
  // Keys the template adds never reach the store; nor does a number beyond any type.
  for (auto [section, key] : {std::pair{"Fireworks", "Evil"}, {"SoundFX", "Fire_Launch"}, {"SoundFX", "SoundFX_ON"},
                              {"Sneaky", "x"}, {"Admin", "Copyright"}, {"General", "ColorRed"}})
    EXPECT_EQ(Stored(section, key), "<missing>") << key;
  // Keys the template lacks get their factory values.
  for (auto [section, key, factory] :
       {std::tuple{"Advanced", "Adv_EffectFPC", "1000"}, {"Advanced", "Adv_PerfMult", "1"},
        {"Advanced", "Adv_FontName", "MS Sans Serif"}, {"Galaxy", "Galaxy_CometSWind", "300"},
        {"Galaxy", "Galaxy_CometCPersist", "0.998"}, {"B-SplineWarp", "Warp_Type", "4"},
        {"General", "AnimationType", "0"}})
    EXPECT_EQ(Stored(section, key), factory) << key;
  EXPECT_EQ(Stored("General", "WindowState"), "<missing>");  // not part of a template
}

TEST_F(Import, UnreadableTemplatesChangeNothing) {
  ASSERT_TRUE(store.RegSetString(kAppName, "Fireworks", "FireSparks", "77"));
  const std::string before = ReadFile(store.FileFor(0));
  WriteFile(dir / "empty.qsn", "");
  WriteFile(dir / "garbage.qsn", std::string("\0\xff\x01[[[==\n\n=", 11));
  for (const char* name : {"empty.qsn", "garbage.qsn", "does-not-exist.qsn"}) {
    std::string error;
    EXPECT_FALSE(ImportTemplate(store, dir / name, &error)) << name;
    EXPECT_EQ(ReadFile(store.FileFor(0)), before) << name;
  }
  // A huge file is read in part, quickly, and still imports.
  const auto huge = dir / "huge.qsn";
  WriteFile(huge, "[Fireworks]\nFireSparks=321\n");
  std::filesystem::resize_file(huge, 100u << 20);
  std::string error;
  ASSERT_TRUE(ImportTemplate(store, huge, &error)) << error;
  EXPECT_EQ(Stored("Fireworks", "FireSparks"), "321");
}

TEST_F(Import, OneKeyCopiesBetweenStoreAndTemplate) {
  const auto current = dir / "current.qsn";
  const auto other = dir / "other.qsn";
  ASSERT_TRUE(store.RegSetString(kAppName, "Advanced", "Adv_TimeDelay", "40"));
  EXPECT_TRUE(CopyStoreValueToTemplate(store, current, "Advanced", "Adv_TimeDelay", "25"));
  EXPECT_TRUE(CopyStoreValueToTemplate(store, current, "Advanced", "Adv_FontSize", "20"));
  EXPECT_EQ(IniGetString(current, "Advanced", "Adv_TimeDelay", ""), "40");
  EXPECT_EQ(IniGetString(current, "Advanced", "Adv_FontSize", ""), "20");
  WriteFile(other, "[Advanced]\nAdv_TimeDelay=7\n");
  EXPECT_TRUE(CopyTemplateValueToStore(store, current, "Advanced", "Adv_TimeDelay", "25", other));
  EXPECT_EQ(Stored("Advanced", "Adv_TimeDelay"), "7");
  EXPECT_TRUE(CopyTemplateValueToStore(store, current, "Advanced", "Adv_TimeDelay", "25"));
  EXPECT_EQ(Stored("Advanced", "Adv_TimeDelay"), "40");
  EXPECT_TRUE(CopyTemplateValueToStore(store, current, "Advanced", "Adv_HueStart", "0"));
  EXPECT_EQ(Stored("Advanced", "Adv_HueStart"), "0");
}

}  // namespace qsrn
