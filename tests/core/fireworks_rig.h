// The engine rig with the fireworks factory settings, a sound player that records what it was
// asked to play, and helpers to step the engine and look at the shells and sparks.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "effects/fireworks.h"
#include "engine_rig.h"
#include "render/sound.h"

namespace qsrn::test {

class RecordingSound : public SoundPlayer {
 public:
  std::vector<std::string> played;
  void Play(const std::string& fileName) override { played.push_back(fileName); }
  int Count(const std::string& name) const {
    int n = 0;
    for (const auto& p : played) n += p == name;
    return n;
  }
};

// Every burst-type percentage at 0, so that one type can be switched on alone.
inline void NoBurstTypes(EffectSettings& s) {
  s.FireScintPct = s.FireMultiPct = s.FireBurstPct = s.FireSparkPct = 0;
  s.FireRingPct = s.FireTwistPct = s.FireDecayPct = 0;
}

// The sound file a slot names in the rig: "slot0.wav" .. "slot8.wav".
inline std::string SlotFile(int slot) { return "slot" + std::to_string(slot) + ".wav"; }

struct FireworksRig : testing::EngineRig {
  RecordingSound sound;
  std::unique_ptr<FireworksEngine> engine;

  explicit FireworksRig(int width = 320, int height = 240, uint64_t seed = 7)
      : EngineRig(EffectIndex::Fireworks, width, height, seed) {
    // Sound on, every slot naming its own file, so that tests see which slot played.
    ctx.sound = &sound;
    ctx.settings.SoundFX_ON = true;
    for (int k = 0; k < kSoundSlotCount; ++k) ctx.settings.SoundFiles[static_cast<size_t>(k)] = SlotFile(k);
  }

  EffectSettings& settings() { return ctx.settings; }
  const FireworksState& state() const { return engine->State(); }

  // RunFireworks (clamps, then the loop) or FireworksLoop (settings as they are).
  void Start(bool clamp = true) {
    engine = std::make_unique<FireworksEngine>(clamp);
    engine->Setup(ctx);
  }
  void Step(int frames = 1) {
    for (int f = 0; f < frames; ++f) engine->Step(ctx);
  }

  // Lets every shell finish without starting again; true when all went idle within maxFrames.
  bool Drain(int maxFrames) {
    engine->StopRelaunching();
    for (int f = 0; f < maxFrames; ++f) {
      if (engine->AllShellsIdle()) return true;
      engine->Step(ctx);
    }
    return engine->AllShellsIdle();
  }
};

}  // namespace qsrn::test
