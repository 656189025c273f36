// Writes the nine firework sounds the program ships: a launch whoosh and one sound per burst
// type, made from filtered noise and enveloped tones. Deterministic (a fixed seed), so every
// build produces the same files. 16-bit stereo PCM at 44100 Hz, the rate the sound player opens
// the device with, so nothing is resampled when they play.
//
// Usage: generate_sounds OUTPUT_DIRECTORY
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "wave_file.h"

namespace {

constexpr int kRate = 44100;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// A small fixed-seed generator (xorshift32): the same noise on every machine.
class Noise {
 public:
  double Next() {  // uniform in [-1, 1)
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 2147483648.0 - 1.0;
  }
 private:
  uint32_t state_ = 0x9E3779B9u;
};

// A state-variable filter; cutoff may change per sample (the whoosh sweeps it).
class Filter {
 public:
  enum Kind { LowPass, BandPass, HighPass };
  double Run(double in, double cutoffHz, double q, Kind kind) {
    const double f = 2.0 * std::sin(std::numbers::pi * std::min(cutoffHz, kRate / 6.0) / kRate);
    low_ += f * band_;
    const double high = in - low_ - band_ / q;
    band_ += f * high;
    return kind == LowPass ? low_ : kind == BandPass ? band_ : high;
  }
 private:
  double low_ = 0, band_ = 0;
};

// Attack then exponential decay, t in seconds.
double Envelope(double t, double attack, double decay) {
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) / decay);
}

using Sample = std::function<double(double t, Noise&)>;

std::vector<double> Render(double seconds, const Sample& sample) {
  Noise noise;
  std::vector<double> out(static_cast<size_t>(seconds * kRate));
  for (size_t k = 0; k < out.size(); ++k) out[k] = sample(static_cast<double>(k) / kRate, noise);
  // Normalise to 0.8 of full scale and fade the last 10 ms so the end never clicks.
  double peak = 1e-9;
  for (double v : out) peak = std::max(peak, std::abs(v));
  const size_t fade = kRate / 100;
  for (size_t k = 0; k < out.size(); ++k) {
    out[k] *= 0.8 / peak;
    const size_t left = out.size() - k;
    if (left < fade) out[k] *= static_cast<double>(left) / fade;
  }
  return out;
}

bool WriteWave(const std::filesystem::path& path, const std::vector<double>& mono) {
  std::vector<int16_t> pcm(mono.size());
  for (size_t k = 0; k < mono.size(); ++k)
    pcm[k] = static_cast<int16_t>(std::lround(std::clamp(mono[k], -1.0, 1.0) * 32767.0));
  return qsrn::WriteWave(path, pcm, kRate);
}

// A burst: low-passed noise with a thump under it.
Sample Bang(double delay, double cutoff, double decay) {
  auto filter = std::make_shared<Filter>();
  return [=](double t, Noise& n) {
    const double noise = filter->Run(n.Next(), cutoff, 0.7, Filter::LowPass);
    if (t < delay) return 0.0;
    const double u = t - delay;
    return (noise + 0.6 * std::sin(kTwoPi * 55.0 * u) * std::exp(-u / 0.08)) * Envelope(u, 0.004, decay);
  };
}

struct Sound {
  const char* file;
  double seconds;
  Sample sample;
};

std::vector<Sound> Sounds() {
  std::vector<Sound> s;
  // Launch: band-passed noise whose centre rises as the shell climbs.
  auto whoosh = std::make_shared<Filter>();
  s.push_back({"launch.wav", 0.9, [whoosh](double t, Noise& n) {
    const double centre = 300.0 + 2500.0 * t;
    const double env = std::sin(std::numbers::pi * std::min(t / 0.9, 1.0));
    return whoosh->Run(n.Next(), centre, 2.5, Filter::BandPass) * env * env;
  }});
  s.push_back({"standard.wav", 1.4, Bang(0.0, 1800.0, 0.35)});
  // Multi burst: three bangs, each a little further away.
  auto b1 = Bang(0.0, 2000.0, 0.25), b2 = Bang(0.22, 1400.0, 0.25), b3 = Bang(0.41, 1000.0, 0.3);
  s.push_back({"multiburst.wav", 1.5, [=](double t, Noise& n) { return b1(t, n) + 0.7 * b2(t, n) + 0.5 * b3(t, n); }});
  // Jet burst: a hissing high band of noise that swells and fades.
  auto jet = std::make_shared<Filter>();
  s.push_back({"jetburst.wav", 1.2, [jet](double t, Noise& n) {
    return jet->Run(n.Next(), 4000.0, 1.2, Filter::HighPass) * Envelope(t, 0.12, 0.35);
  }});
  // Scintillator: sparse crackles thinning out.
  auto crackle = std::make_shared<Filter>();
  s.push_back({"scintillator.wav", 1.6, [crackle](double t, Noise& n) {
    const double density = 0.004 * std::exp(-t / 0.7);
    const double click = (n.Next() + 1.0) * 0.5 < density ? n.Next() * 4.0 : 0.0;
    return crackle->Run(click, 3000.0, 3.0, Filter::BandPass);
  }});
  // Sparkler: bright fizz with a flutter.
  auto fizz = std::make_shared<Filter>();
  s.push_back({"sparkler.wav", 1.3, [fizz](double t, Noise& n) {
    const double flutter = 0.6 + 0.4 * std::sin(kTwoPi * 17.0 * t);
    return fizz->Run(n.Next(), 7000.0, 0.9, Filter::HighPass) * flutter * Envelope(t, 0.02, 0.5);
  }});
  // Rings and disks: a bell-like chime of inharmonic partials.
  s.push_back({"rings.wav", 1.5, [](double t, Noise&) {
    const double partials[] = {660.0, 1663.2, 2508.0};
    double v = 0;
    for (int i = 0; i < 3; ++i) v += std::sin(kTwoPi * partials[i] * t) * std::exp(-t / (0.5 / (i + 1))) / (i + 1);
    return v * Envelope(t, 0.003, 10.0);
  }});
  // Twisters: a whistle gliding up with a vibrato.
  s.push_back({"twister.wav", 1.2, [phase = std::make_shared<double>(0.0)](double t, Noise&) {
    const double freq = 900.0 + 900.0 * t + 60.0 * std::sin(kTwoPi * 9.0 * t);
    *phase += kTwoPi * freq / kRate;
    return std::sin(*phase) * Envelope(t, 0.05, 0.45);
  }});
  // Decay stars: falling tones, one per star, each fading.
  s.push_back({"decaystar.wav", 1.6, [](double t, Noise&) {
    double v = 0;
    for (int i = 0; i < 5; ++i) {
      const double start = i * 0.22;
      if (t < start) break;
      const double u = t - start;
      v += std::sin(kTwoPi * (1500.0 - 180.0 * i) * u * (1.0 - 0.15 * u)) * Envelope(u, 0.005, 0.12);
    }
    return v;
  }});
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: generate_sounds OUTPUT_DIRECTORY\n";
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  for (const Sound& sound : Sounds()) {
    if (!WriteWave(dir / sound.file, Render(sound.seconds, sound.sample))) {
      std::cerr << "generate_sounds: cannot write " << (dir / sound.file).string() << "\n";
      return 1;
    }
  }
  return 0;
}
