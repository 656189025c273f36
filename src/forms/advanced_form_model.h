// The advanced settings dialog's behaviour, for any toolkit: which effects take part in cycling
// (the theme boxes follow their effect), whether cycling is on and for how many frames, the frame
// delay, the performance multiplier, the initial hue, the on-screen message's text, font, size and
// hue, and whether the windowed display may be resized. Ok writes the Advanced section of the
// store in one commit (the message text goes back to the caller, which stores it on Accept);
// Defaults changes the fields only; closing without Ok writes nothing.
// Usage:
//   AdvancedFormModel model(store, message);
//   model.SetEffectChecked(AdvancedFormModel::kFireworksThemes, true);   // Fireworks follows
//   if (model.Ok() == AdvancedFormModel::OkResult::Saved) message = model.Message();
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "forms/numeric_field_model.h"

namespace qsrn {

class SettingsStore;

class AdvancedFormModel {
 public:
  // The numeric fields, in the dialog's order.
  enum Field { kTimeDelay, kEffectFPC, kPerfMult, kHueStart, kFontSize, kFontHueV, kFieldCount };
  // The effect boxes are the EffectIndex values 0..5; then the two boxes that step the themes.
  static constexpr int kFireworksThemes = 6;
  static constexpr int kGalaxyThemes = 7;
  static constexpr int kBoxCount = 8;
  enum class OkResult { Saved, NoEffect, NotSaved };

  AdvancedFormModel(SettingsStore& store, std::string message);

  NumericFieldModel& field(int f) { return fields_[static_cast<size_t>(f)]; }
  const NumericFieldModel& field(int f) const { return fields_[static_cast<size_t>(f)]; }
  // The field's label: the caption with the catalogue's range where the dialog shows one.
  static std::string Caption(int f);
  // The caption of an effect box (the theme boxes have none).
  static std::string_view EffectCaption(int box);

  bool EffectChecked(int box) const { return (pickMask_ >> box) & 1; }
  // Checks or clears a box; a theme box checks its effect, clearing an effect clears its themes.
  void SetEffectChecked(int box, bool on);
  // The eight boxes as the Adv_PickQSRN bit set.
  int32_t PickMask() const { return pickMask_; }
  void SetPickMask(int32_t mask);

  bool Cycling() const { return cycling_; }
  void SetCycling(bool on) { cycling_ = on; }
  // The frames per effect may be edited only while cycling is on.
  bool FramesEnabled() const { return cycling_; }
  bool Resizable() const { return resizable_; }
  void SetResizable(bool on) { resizable_ = on; }
  const std::string& FontName() const { return fontName_; }
  void SetFontName(std::string name) { fontName_ = std::move(name); }
  const std::string& Message() const { return message_; }
  void SetMessage(std::string text) { message_ = std::move(text); }

  // The hue swatch colour of a hue field (&H00BBGGRR).
  int32_t HueColor(int f) const;
  // The message as the saver draws it, for the preview: the text ("Quasarine" when empty) and
  // the point size.
  std::string PreviewText() const;
  double PreviewPointSize() const;

  // The factory values in every field, cycling and resizing off, the message cleared.
  void Defaults();
  // Writes the section; NoEffect (nothing written) when cycling has no effect to cycle through.
  OkResult Ok();
  // The sentence that tells the user why Ok did not close the dialog.
  static std::string_view OkMessage(OkResult result);

 private:
  SettingsStore& store_;
  std::array<NumericFieldModel, kFieldCount> fields_;
  int32_t pickMask_ = 0;
  bool cycling_ = false;
  bool resizable_ = false;
  std::string fontName_;
  std::string message_;
};

}  // namespace qsrn
