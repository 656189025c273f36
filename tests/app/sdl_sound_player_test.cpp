// The SDL2_mixer sound player against SDL's "disk" audio driver, which writes everything the
// device plays to a file: what must come out of the device, and what must not; and one of our
// own sounds played from the sound dialog.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "qt/platform/sdl_sound_player.h"
#include "host_test_support.h"
#include "render/context.h"
#include "render/sound.h"
#include "wave_file.h"
#include "qt/ui/sound_form.h"

#ifdef QSRN_HAVE_SDL_MIXER
#include <SDL_mixer.h>
#endif

namespace qsrn {
namespace {

namespace fs = std::filesystem;

#ifdef QSRN_HAVE_SDL_MIXER

// Signals go out at the mixer's default rate, so the device plays them unconverted.
void WriteWave(const fs::path& path, const std::vector<int16_t>& mono) {
  ASSERT_TRUE(qsrn::WriteWave(path, mono, MIX_DEFAULT_FREQUENCY));
}

// A recognisable signal: a sawtooth with an odd step, never silent.
std::vector<int16_t> Signal(size_t frames, int step, int offset) {
  std::vector<int16_t> v(frames);
  for (size_t k = 0; k < frames; ++k) v[k] = static_cast<int16_t>(offset + static_cast<int>((k * step) % 20000));
  return v;
}

std::vector<int16_t> ReadSamples(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<int16_t> samples(bytes.size() / 2);
  for (size_t k = 0; k < samples.size(); ++k)
    samples[k] = static_cast<int16_t>(static_cast<uint8_t>(bytes[2 * k]) | (static_cast<uint8_t>(bytes[2 * k + 1]) << 8));
  return samples;
}

// Whether the device output holds `len` frames of `signal` from frame `from` on, both channels.
bool Contains(const std::vector<int16_t>& output, const std::vector<int16_t>& signal, size_t from, size_t len) {
  std::vector<int16_t> needle;
  for (size_t k = from; k < from + len; ++k) {
    needle.push_back(signal[k]);
    needle.push_back(signal[k]);
  }
  return std::search(output.begin(), output.end(), needle.begin(), needle.end()) != output.end();
}

class DiskAudio : public host_test::StoreTest {
 protected:
  const fs::path dir = home.path();
  const fs::path output = dir / "device.raw";
  Context ctx;

  void SetUp() override {
    StoreTest::SetUp();
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    ctx.settings.SoundFX_ON = true;
  }

  // Waits (at most a few seconds) for the sound to end, and a little longer for the device to
  // write out its last buffers.
  static void WaitForSilence(SdlSoundPlayer& player) {
    player.WaitForLoads();
    for (int k = 0; k < 500 && player.Playing(); ++k) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  }
};

// One real sound plays to its end, once: empty or blank slots neither open the device nor
// play, and after it an empty slot, a missing or unplayable file, or sound switched off add
// nothing.
TEST_F(DiskAudio, OnlyARealSoundWithSoundOnIsPlayed) {
  const auto signal = Signal(4410, 37, 1000);
  WriteWave(dir / "burst.wav", signal);
  std::ofstream(dir / "noise.wav") << "this is not a wave file";
  ctx.settings.SoundFiles[kSoundStandard] = (dir / "burst.wav").string();
  ctx.settings.SoundFiles[kSoundLaunch] = "";
  ctx.settings.SoundFiles[kSoundSparkle] = "  \t ";
  {
    SdlSoundPlayer player;
    ctx.sound = &player;
    PlaySoundSlot(ctx, kSoundLaunch);
    PlaySoundSlot(ctx, kSoundSparkle);
    EXPECT_FALSE(player.DeviceOpen());  // opened lazily, on the first sound
    PlaySoundSlot(ctx, kSoundStandard);
    ASSERT_TRUE(player.DeviceOpen());
    WaitForSilence(player);
    PlaySoundSlot(ctx, kSoundLaunch);
    PlaySoundFile(ctx, (dir / "absent.wav").string());
    PlaySoundFile(ctx, (dir / "noise.wav").string());
    ctx.settings.SoundFX_ON = false;
    PlaySoundFile(ctx, (dir / "burst.wav").string());
    player.WaitForLoads();
    EXPECT_FALSE(player.Playing());
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  const auto out = ReadSamples(output);
  EXPECT_TRUE(Contains(out, signal, 0, 256));
  EXPECT_TRUE(Contains(out, signal, 4410 - 256, 256));  // played to its end
  const size_t loud = std::count_if(out.begin(), out.end(), [](int16_t s) { return s != 0; });
  EXPECT_EQ(loud, signal.size() * 2);  // exactly one copy, silence everywhere else
}

TEST_F(DiskAudio, ANewSoundInterruptsTheOnePlaying) {
  // Two seconds of a slow ramp: no stretch of it repeats, so its end is recognisable.
  std::vector<int16_t> longSignal(MIX_DEFAULT_FREQUENCY * 2);
  for (size_t k = 0; k < longSignal.size(); ++k) longSignal[k] = static_cast<int16_t>(1000 + k / 8);
  const auto shortSignal = Signal(2205, 53, -15000);
  WriteWave(dir / "long.wav", longSignal);
  WriteWave(dir / "short.wav", shortSignal);
  {
    SdlSoundPlayer player;
    ctx.sound = &player;
    PlaySoundFile(ctx, (dir / "long.wav").string());
    player.WaitForLoads();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    PlaySoundFile(ctx, (dir / "short.wav").string());
    WaitForSilence(player);
  }
  const auto out = ReadSamples(output);
  EXPECT_TRUE(Contains(out, longSignal, 0, 256));
  EXPECT_TRUE(Contains(out, shortSignal, 2205 - 256, 256));
  EXPECT_FALSE(Contains(out, longSignal, longSignal.size() - 256, 256));  // cut off
}

// Paths that are not small regular files are skipped without the window ever waiting on them:
// a FIFO nobody writes, a directory, an endless device and a file far beyond a sound's size.
TEST_F(DiskAudio, HostileSoundPathsAreSkippedWithoutBlocking) {
  const fs::path fifo = dir / "pipe.wav", big = dir / "huge.wav";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  WriteWave(big, Signal(4410, 37, 1000));
  fs::resize_file(big, SdlSoundPlayer::kMaxSoundFileBytes + 1);
  SdlSoundPlayer player;
  ctx.sound = &player;
  const auto start = std::chrono::steady_clock::now();
  for (const fs::path& p : {fifo, dir, fs::path("/dev/zero"), big}) PlaySoundFile(ctx, p.string());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  player.WaitForLoads();
  EXPECT_FALSE(player.Playing());
}

// A FLAC file of stereo silence lasting `seconds`: a few bytes a block, each channel one
// constant, so an hour of audio fits in a few hundred kilobytes.
void WriteSilentFlac(const fs::path& path, int seconds) {
  constexpr uint32_t kBlock = 16384, kRate = 44100;
  const uint32_t blocks = static_cast<uint32_t>(uint64_t{kRate} * seconds / kBlock);
  std::string out = "fLaC";
  const auto put = [&out](uint64_t v, int bytes) {
    for (int k = bytes - 1; k >= 0; --k) out += static_cast<char>((v >> (8 * k)) & 0xFF);
  };
  put(0x80000022, 4);                                       // the last metadata block: STREAMINFO, 34 bytes
  put(kBlock, 2), put(kBlock, 2), put(0, 3), put(0, 3);     // block sizes; frame sizes unknown
  put((uint64_t{kRate} << 44) | (uint64_t{1} << 41) | (uint64_t{15} << 36) | uint64_t{blocks} * kBlock, 8);
  put(0, 8), put(0, 8);                                     // no MD5
  for (uint32_t n = 0; n < blocks; ++n) {
    const size_t frame = out.size();
    put(0xFFF87918, 4);  // sync; block size at the end of the header; 44.1 kHz; left/right; 16 bits
    if (n < 0x80) put(n, 1);  // the frame number, UTF-8 coded
    else if (n < 0x800) put(0xC080 | (n >> 6) << 8 | (n & 0x3F), 2);
    else put(0xE08080 | (n >> 12) << 16 | ((n >> 6) & 0x3F) << 8 | (n & 0x3F), 3);
    put(kBlock - 1, 2);
    uint8_t crc8 = 0;
    for (size_t k = frame; k < out.size(); ++k) {
      crc8 ^= static_cast<uint8_t>(out[k]);
      for (int b = 0; b < 8; ++b) crc8 = static_cast<uint8_t>(crc8 & 0x80 ? (crc8 << 1) ^ 0x07 : crc8 << 1);
    }
    put(crc8, 1);
    put(0, 3), put(0, 3);  // two constant subframes of value 0
    uint16_t crc16 = 0;
    for (size_t k = frame; k < out.size(); ++k) {
      crc16 ^= static_cast<uint16_t>(static_cast<uint8_t>(out[k]) << 8);
      for (int b = 0; b < 8; ++b) crc16 = static_cast<uint16_t>(crc16 & 0x8000 ? (crc16 << 1) ^ 0x8005 : crc16 << 1);
    }
    put(crc16, 2);
  }
  std::ofstream(path, std::ios::binary) << out;
}

long PeakMemoryKiB() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// A small compressed file standing for far more audio than a firework sound is refused, without
// ever holding its decoded audio; one of a few seconds plays.
TEST_F(DiskAudio, ASmallFileOfHoursOfAudioIsRefusedWithoutDecodingIt) {
  WriteSilentFlac(dir / "hours.flac", 6000);  // about 1 GB once decoded
  WriteSilentFlac(dir / "short.flac", 2);
  ASSERT_LT(fs::file_size(dir / "hours.flac"), 400u << 10);
  const long before = PeakMemoryKiB();
  SdlSoundPlayer player;
  ctx.sound = &player;
  PlaySoundFile(ctx, (dir / "hours.flac").string());
  player.WaitForLoads();
  EXPECT_FALSE(player.Playing());
  EXPECT_LT(PeakMemoryKiB() - before, 64 << 10) << "the sound was decoded whole";
  for (int k = 0; k < 2; ++k) {  // the second time from the kept sound, however long loading took
    PlaySoundFile(ctx, (dir / "short.flac").string());
    player.WaitForLoads();
  }
  EXPECT_TRUE(player.Playing());
}

// SDL must not take SIGTERM over: a saver with sound on still ends on it.
TEST_F(DiskAudio, SigtermStillEndsTheProcessWithSoundOn) {
  const auto signal = Signal(2205, 41, 2000);
  WriteWave(dir / "burst.wav", signal);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    SdlSoundPlayer player;
    ctx.sound = &player;
    PlaySoundFile(ctx, (dir / "burst.wav").string());
    player.WaitForLoads();
    ::kill(::getpid(), SIGTERM);
    std::this_thread::sleep_for(std::chrono::seconds(5));
    ::_exit(3);  // survived the signal
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
}

// Our own sounds, found beside the program as an installed copy's are, fill every slot of the
// sound dialog, and one of them plays from there.
TEST_F(DiskAudio, TheSoundDialogsOwnSoundsFillEverySlotAndOneOfThemPlays) {
  const fs::path data = dir / "data";
  fs::create_directories(data / "quasarine");
  fs::create_directory_symlink(fs::path(QSRN_PROGRAM).parent_path() / "sounds", data / "quasarine" / "sounds");
  ::setenv("XDG_DATA_HOME", data.c_str(), 1);
  {
    SdlSoundPlayer player;
    frmSoundEffects form(store, &player);
    form.chkSoundOn()->setChecked(true);
    form.lstEffectType()->setCurrentRow(6);
    form.cmdOurSounds()->click();
    for (const std::string& file : form.Files()) EXPECT_TRUE(fs::is_regular_file(file)) << file;
    ASSERT_TRUE(form.txtFile()->text().endsWith(QStringLiteral("rings.wav")));
    form.cmdPlay()->click();  // loads it, playing it too unless loading was slow
    player.WaitForLoads();
    form.cmdPlay()->click();
    WaitForSilence(player);
    // One channel of the file, past its 44-byte header.
    const auto wave = ReadSamples(form.Files()[6]);
    std::vector<int16_t> mono;
    for (size_t k = 22; k < wave.size(); k += 2) mono.push_back(wave[k]);
    EXPECT_TRUE(Contains(ReadSamples(output), mono, 20000, 512)) << "the sound did not reach the device";
    form.cmdOK()->click();
  }
  ::unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(Stored("SoundFX", "SoundFX_ON"), "1");
  EXPECT_TRUE(QString::fromStdString(Stored("SoundFX", "Fire_DecayStar")).endsWith(QStringLiteral("decaystar.wav")));
}

TEST(SoundDevice, AMachineWithoutAudioPlaysNothing) {
  ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  SdlSoundPlayer player;
  Context ctx;
  ctx.settings.SoundFX_ON = true;
  ctx.sound = &player;
  PlaySoundFile(ctx, "/usr/share/sounds/whatever.wav");
  PlaySoundFile(ctx, "/usr/share/sounds/whatever.wav");
  EXPECT_FALSE(player.DeviceOpen());
  EXPECT_FALSE(player.Playing());
}

#endif

}  // namespace
}  // namespace qsrn
