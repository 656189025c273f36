// The catalogue's tables hold together: one row per key, complete template and theme orders,
// factory values inside their ranges.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "settings/catalogue.h"
#include "settings/numeric.h"
#include "settings/templates.h"

namespace qsrn {

// One row per key, whatever its case, with its factory value inside its range.
TEST(Catalogue, EveryKeyIsSpelledOnceWithItsFactoryValueInRange) {
  std::set<std::string> seen;
  for (const SectionSpec& sec : Catalogue()) {
    EXPECT_EQ(&Section(sec.id), &sec);
    for (const KeySpec& k : sec.keys) {
      std::string lower(k.key);
      std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
      EXPECT_TRUE(seen.insert(lower).second) << k.key;
      EXPECT_EQ(FindKey(sec.id, lower), &k);
      if (!k.HasRange() || k.type == KeyType::String) continue;
      EXPECT_GE(Val(k.FactoryText()), k.lo) << k.key;
      EXPECT_LE(Val(k.FactoryText()), k.hi) << k.key;
    }
  }
  EXPECT_EQ(seen.size(), 10u + 9 + 3 + 43 + 11 + 11 + 10 + 10 + 37 + 10);
  EXPECT_EQ(FindKey(SectionId::Galaxy, "FireSparks"), nullptr);
  EXPECT_TRUE(FindKey(SectionId::Sparkler, "B_Spline_AntiGrav")->AcceptsFraction());
  EXPECT_FALSE(FindKey(SectionId::Gravity, "Grav_Pixels")->AcceptsFraction());
}

TEST(Catalogue, TemplateSlotsAndThemeFieldsAreComplete) {
  for (const SectionSpec& sec : Catalogue()) {
    std::vector<int> slots;
    for (const KeySpec& k : sec.keys)
      if (k.templateSlot >= 0) slots.push_back(k.templateSlot);
    std::sort(slots.begin(), slots.end());
    for (size_t i = 0; i < slots.size(); ++i) EXPECT_EQ(slots[i], static_cast<int>(i)) << sec.name;
  }
  auto themeFields = [](SectionId id) {
    std::vector<int> fields;
    for (const KeySpec& k : Section(id).keys)
      if (k.themeField >= 0) fields.push_back(k.themeField);
    std::sort(fields.begin(), fields.end());
    return fields;
  };
  std::vector<int> fire(43), galaxy;
  for (int i = 0; i < 43; ++i) fire[static_cast<size_t>(i)] = i;
  for (int i = 0; i < 38; ++i)
    if (i != 6) galaxy.push_back(i);  // field 6 is the axial plane
  EXPECT_EQ(themeFields(SectionId::Fireworks), fire);
  EXPECT_EQ(themeFields(SectionId::Galaxy), galaxy);
  // The template's sections in their order, each with its keys, some in an order of their own.
  const auto layout = TemplateLayout();
  std::string shape;
  for (const auto& sec : layout) shape += std::string(sec.name) + ":" + std::to_string(sec.keys.size()) + " ";
  EXPECT_EQ(shape, "Admin:1 General:8 Advanced:9 PixelColor:3 Fireworks:43 Starfield:11 B-SplineWarp:11 "
                   "B-SplineSpark:10 GravityWell:10 Galaxy:37 ");
  EXPECT_EQ(layout[4].keys[20]->key, "FireLaunchPct");
  EXPECT_EQ(layout[9].keys[36]->key, "Galaxy_Profile");
}

}  // namespace qsrn
