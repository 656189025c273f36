// What the properties form shows, without a toolkit: the captions of its frames and field rows
// (each row names its key; kind, range and step come from the settings catalogue), the items of
// its lists, and a field's name as its label reads (for messages). A view builds its pages from
// these tables; every toolkit shows the same words.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qsrn {

struct FieldRow {
  std::string_view key;
  std::string_view caption;  // with its mnemonic; a numeric row's label adds the range
};

enum class PropertiesFrame : uint8_t {
  PixelHue, PixelColour, DisplayEnhancement, FocalLength,
  Fireworks, Launch, Dispersion, MultiBurst, JetBurst, Scintillators, Sparklers, Rings, Twisters, DecayingStars,
  Starfield, Comets, Pattern,
  Warp, WarpType,
  Sparkler,
  Gravity, GravityHue,
  Galaxy, GalaxyShape, NewStars, Novas, StarBursts, GalaxyComets, AmbientStars,
};

struct FrameSpec {
  std::string_view title;
  std::span<const FieldRow> rows;
};

const FrameSpec& FrameOf(PropertiesFrame frame);

// The sub-frames an "Extras:" list chooses between, in list order.
std::span<const PropertiesFrame> FireworksExtras();
std::span<const PropertiesFrame> GalaxyExtras();

// The items of a list shown for a key (AnimationType, Warp_Type, Grav_ColorComp,
// Galaxy_ColorComp); empty for any other key.
std::span<const std::string_view> ListItems(std::string_view key);
// The Effect menu's entries, in effect order.
std::span<const std::string_view> EffectMenuEntries();

// The field's label as the user reads it, without mnemonic and colon: "Shells (1 - 99)",
// "Message"; the key itself when no row shows it.
std::string FieldName(std::string_view key);

}  // namespace qsrn
