// When a sound is played: only with sound on, only for a name that is not empty or blank, passed
// on untrimmed; a context without a player, or a slot outside the nine, plays nothing.
#include <gtest/gtest.h>

#include "fireworks_rig.h"
#include "render/sound.h"

namespace qsrn {
namespace {

struct SoundRig {
  Context ctx;
  test::RecordingSound player;
  SoundRig() {
    ctx.sound = &player;
    ctx.settings.SoundFX_ON = true;
  }
};

TEST(PlaySoundFile, PassesTheNameUntrimmed) {
  SoundRig r;
  PlaySoundFile(r.ctx, "  boom.wav ");
  ASSERT_EQ(r.player.played.size(), 1u);
  EXPECT_EQ(r.player.played[0], "  boom.wav ");
}

TEST(PlaySoundFile, EmptyOrBlankNamesPlayNothing) {
  SoundRig r;
  for (const char* name : {"", " ", "\t", "  \t  "}) PlaySoundFile(r.ctx, name);
  EXPECT_TRUE(r.player.played.empty());
}

TEST(PlaySoundFile, SoundOffPlaysNothing) {
  SoundRig r;
  r.ctx.settings.SoundFX_ON = false;
  PlaySoundFile(r.ctx, "boom.wav");
  EXPECT_TRUE(r.player.played.empty());
}

TEST(PlaySoundFile, NoPlayerIsSilentNotACrash) {
  Context ctx;
  ctx.settings.SoundFX_ON = true;
  PlaySoundFile(ctx, "boom.wav");
  PlaySoundSlot(ctx, kSoundLaunch);
}

TEST(PlaySoundSlot, PlaysTheSlotsEntryAndIgnoresOtherIndices) {
  SoundRig r;
  for (int k = 0; k < kSoundSlotCount; ++k) r.ctx.settings.SoundFiles[static_cast<size_t>(k)] = test::SlotFile(k);
  r.ctx.settings.SoundFiles[kSoundTwister] = "   ";
  for (int k = -1; k <= kSoundSlotCount; ++k) PlaySoundSlot(r.ctx, k);
  const std::vector<std::string> expected{"slot0.wav", "slot1.wav", "slot2.wav", "slot3.wav",
                                          "slot4.wav", "slot5.wav", "slot6.wav", "slot8.wav"};
  EXPECT_EQ(r.player.played, expected);
}

}  // namespace
}  // namespace qsrn
