// The dialog's texts: what each key is stored as, and what a template gives for the keys it lacks.
#include <gtest/gtest.h>

#include <fstream>

#include "settings/template_fields.h"
#include "temp_dir.h"

namespace qsrn {
namespace {

struct StoredCase {
  const char* key;
  const char* shown;
  const char* stored;
};

class StoredTextTest : public ::testing::TestWithParam<StoredCase> {};

TEST_P(StoredTextTest, AsTheKeyIsShown) {
  const StoredCase& c = GetParam();
  EXPECT_EQ(StoredText(*FindDialogKey(c.key)->key, c.shown), c.stored);
}

INSTANTIATE_TEST_SUITE_P(Cases, StoredTextTest,
                         ::testing::Values(StoredCase{"FireSpeed", "020.50", "20.5"}, StoredCase{"FireSpeed", "", "0"},
                                           StoredCase{"FireBurstShell", "2", "1"}, StoredCase{"Warp_Type", "3.0", "3"},
                                           StoredCase{"LockMessage", "  hi there ", "hi there"},
                                           StoredCase{"FocalLength", " 1.0 ", "1.0"},
                                           StoredCase{"Galaxy_AmbRadius", "1e999", "2500"}));

TEST(TemplateFieldsTest, ATemplateLackingKeysGivesTheirTemplateDefaults) {
  test::TempDir dir;
  const auto file = dir / "part.qsn";
  std::ofstream(file) << "[Galaxy]\nGalaxy_Stars=77\n[Fireworks]\nFireMultiMoment=abc\n[General]\nLockMessage="
                      << std::string(300, 'x') << "\n[Advanced]\nAdv_TimeDelay=40\n";
  FieldTexts texts;
  KeyTexts advanced;
  ASSERT_EQ(ReadTemplateTexts(file, texts, advanced), TemplateRead::Ok);
  EXPECT_EQ(texts.at("Galaxy_Stars"), "77");
  EXPECT_EQ(texts.at("Galaxy_CometSWind"), "100");
  EXPECT_EQ(texts.at("FireMultiMoment"), "0");
  EXPECT_EQ(texts.at("FireWorks"), "20");
  EXPECT_EQ(texts.at("LockMessage").size(), 254u);
  ASSERT_EQ(advanced.size(), 9u);
  EXPECT_EQ(advanced[0], (std::pair<std::string, std::string>{"Adv_TimeDelay", "40"}));
  EXPECT_EQ(advanced[1].second, "1000");

  EXPECT_EQ(ReadTemplateTexts(dir.path(), texts, advanced), TemplateRead::NotAFile);
}

}  // namespace
}  // namespace qsrn
