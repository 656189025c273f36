// SDL2_mixer playback: the music stream; every file opened once, off the window's thread, and kept.
#include "qt/platform/sdl_sound_player.h"

#include "qt/platform/sdl_library.h"
#include "settings/file_system.h"

namespace qsrn {

#ifdef QSRN_HAVE_SDL_MIXER

namespace {
// Each slot's file, with room for the settings changing between runs; further names are not loaded.
constexpr size_t kMaxKeptSounds = 2 * kSoundSlotCount;
// A sound that arrives later than this after it was asked for is no longer wanted.
constexpr auto kLateSoundLimit = std::chrono::milliseconds(250);

// The whole file when it is a regular file of at most kMaxSoundFileBytes; null for anything else
// (a FIFO or device is refused without ever blocking on it).
std::unique_ptr<std::string> ReadSoundFile(const std::string& name) {
  files::BoundedRead read = files::ReadBounded(name, SdlSoundPlayer::kMaxSoundFileBytes, files::Oversize::kReadNothing);
  if (!read.exists || read.unreadable || read.truncated) return nullptr;
  return std::make_unique<std::string>(std::move(read.text));
}

// The file opened as a stream (nothing decoded yet), or null when it is no sound or says it lasts
// too long. A length the decoder cannot tell costs nothing either: it is decoded as it plays.
Mix_Music* OpenSound(const SdlLibrary& sdl, const std::string& bytes) {
  Mix_Music* music = sdl.LoadMUS_RW(sdl.RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
  if (music != nullptr && sdl.MusicDuration(music) > SdlSoundPlayer::kMaxSoundSeconds) {
    sdl.FreeMusic(music);
    music = nullptr;
  }
  return music;
}
}  // namespace

SdlSoundPlayer::~SdlSoundPlayer() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (loader_.joinable()) loader_.join();
  if (!deviceOpen_) return;
  sdl_->HaltMusic();
  for (auto& [name, entry] : sounds_)
    if (entry.music != nullptr) sdl_->FreeMusic(entry.music);
  sdl_->CloseAudio();
  sdl_->QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlSoundPlayer::OpenDevice() {
  if (triedOpen_) return deviceOpen_;
  triedOpen_ = true;  // once: a machine without a device is not asked again on every burst
  sdl_ = LoadSdlLibrary();
  if (sdl_ == nullptr) return false;
  // SDL would otherwise turn SIGTERM and SIGINT into quit events nobody reads, and the saver
  // could no longer be stopped by its host, the session or the user.
  sdl_->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (sdl_->InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (sdl_->OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
    sdl_->QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  deviceOpen_ = true;
  loader_ = std::thread([this] { LoadLoop(); });
  return true;
}

void SdlSoundPlayer::Start(Mix_Music* music) {
  sdl_->PlayMusic(music, 0);  // whatever still plays is stopped first
}

void SdlSoundPlayer::Play(const std::string& fileName) {
  if (!OpenDevice()) return;
  std::unique_lock<std::mutex> lock(mutex_);
  const auto found = sounds_.find(fileName);
  if (found != sounds_.end()) {
    if (found->second.loaded) {
      wanted_.clear();
      // Missing or unplayable: ignored, the current sound plays on.
      if (found->second.music != nullptr) Start(found->second.music);
    } else {
      wanted_ = fileName;
      wantedAt_ = std::chrono::steady_clock::now();
    }
    return;
  }
  if (sounds_.size() >= kMaxKeptSounds) return;
  sounds_.emplace(fileName, Entry{});
  queue_.push_back(fileName);
  wanted_ = fileName;
  wantedAt_ = std::chrono::steady_clock::now();
  lock.unlock();
  wake_.notify_all();
}

void SdlSoundPlayer::LoadLoop() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    const std::string name = std::move(queue_.front());
    queue_.pop_front();
    busy_ = true;
    lock.unlock();
    Mix_Music* music = nullptr;
    std::unique_ptr<std::string> bytes = ReadSoundFile(name);
    if (bytes != nullptr) music = OpenSound(*sdl_, *bytes);
    lock.lock();
    busy_ = false;
    Entry& entry = sounds_[name];
    entry.loaded = true;
    entry.music = music;
    if (music != nullptr) entry.bytes = std::move(bytes);
    if (music != nullptr && wanted_ == name && std::chrono::steady_clock::now() - wantedAt_ < kLateSoundLimit)
      Start(music);
    if (wanted_ == name) wanted_.clear();
    wake_.notify_all();
  }
}

void SdlSoundPlayer::WaitForLoads() {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!loader_.joinable()) return;
  wake_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

bool SdlSoundPlayer::Playing() const { return deviceOpen_ && sdl_->PlayingMusic() != 0; }

#else  // built without SDL2_mixer: silent

SdlSoundPlayer::~SdlSoundPlayer() = default;
bool SdlSoundPlayer::OpenDevice() {
  triedOpen_ = true;
  return false;
}
void SdlSoundPlayer::Play(const std::string&) { OpenDevice(); }
void SdlSoundPlayer::WaitForLoads() {}
bool SdlSoundPlayer::Playing() const { return false; }

#endif

}  // namespace qsrn
