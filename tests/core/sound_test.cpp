// When a sound is played: only with sound on, only for a name that is not empty or blank, passed
// on untrimmed; a context without a player, or a slot outside the nine, plays nothing.
#include <gtest/gtest.h>

#include "fireworks_rig.h"
#include "render/sound.h"

namespace qsrn {
namespace {

TEST(PlaySound, OnlyWithSoundOnAndANameAndAKnownSlot) {
  Context ctx;
  test::RecordingSound player;
  ctx.settings.SoundFX_ON = true;
  PlaySoundFile(ctx, "boom.wav");  // no player: silent, not a crash
  PlaySoundSlot(ctx, kSoundLaunch);
  ctx.sound = &player;
  PlaySoundFile(ctx, "  boom.wav ");
  for (const char* name : {"", " ", "\t", "  \t  "}) PlaySoundFile(ctx, name);
  for (int k = 0; k < kSoundSlotCount; ++k) ctx.settings.SoundFiles[static_cast<size_t>(k)] = test::SlotFile(k);
  ctx.settings.SoundFiles[kSoundTwister] = "   ";
  for (int k = -1; k <= kSoundSlotCount; ++k) PlaySoundSlot(ctx, k);
  ctx.settings.SoundFX_ON = false;
  PlaySoundFile(ctx, "off.wav");
  PlaySoundSlot(ctx, 0);
  EXPECT_EQ(player.played, (std::vector<std::string>{"  boom.wav ", "slot0.wav", "slot1.wav", "slot2.wav", "slot3.wav",
                                                     "slot4.wav", "slot5.wav", "slot6.wav", "slot8.wav"}));
}

}  // namespace
}  // namespace qsrn
