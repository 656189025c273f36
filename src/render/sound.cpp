// The rules of when a sound is played; the playing itself belongs to the host's player.
#include "render/sound.h"

#include "render/context.h"

namespace qsrn {

void PlaySoundFile(Context& ctx, const std::string& fileName) {
  if (!ctx.settings.SoundFX_ON || ctx.sound == nullptr) return;
  if (fileName.find_first_not_of(" \t") == std::string::npos) return;  // empty or blank
  ctx.sound->Play(fileName);
}

void PlaySoundSlot(Context& ctx, int slot) {
  if (slot < 0 || slot >= kSoundSlotCount) return;
  PlaySoundFile(ctx, ctx.settings.SoundFiles[static_cast<size_t>(slot)]);
}

}  // namespace qsrn
