#include "media/audio_player.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <string>
#include <thread>

#include "media/oggaudio/oggaudio.h"
#include "platform/player_host.h"
#include "platform/sound_engines.h"
#include "platform/cp1252.h"
#include "platform/program_location.h"

namespace vork {

namespace {

// How often a waiting play looks whether its sound has ended: well below
// the output's 23 ms buffer, so a synchronous sound hardly outlasts itself.
constexpr int kPollMilliseconds = 5;

enum class Engine { kNone, kOgg, kWave };

}  // namespace

void ProcessEventsWhile(const std::function<bool()>& still_going) {
  if (!still_going()) return;
  if (!QCoreApplication::instance()) {
    while (still_going()) std::this_thread::sleep_for(std::chrono::milliseconds(kPollMilliseconds));
    return;
  }
  // A nested loop rather than a processEvents() spin: it sleeps between
  // events, and QCoreApplication::exit() ends it (and any later one at once),
  // so a course that ends during the wait is not held up by the sound.
  QEventLoop loop;
  QTimer poll;
  poll.setTimerType(Qt::PreciseTimer);
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (!still_going()) loop.quit();
  });
  poll.start(kPollMilliseconds);
  loop.exec();
}

TKsAudioPlayer::TKsAudioPlayer(AudioPlayerRole role)
    : TKsAudioPlayer(role, [] { return Host().Sound(); }) {}

TKsAudioPlayer::TKsAudioPlayer(AudioPlayerRole role, EngineSource engines)
    : role_(role), engines_(std::move(engines)) {}

bool TKsAudioPlayer::Play(std::string_view location, bool wait) {
  const std::string text(location);
  const std::string extension = LowerCase(ExtensionOf(text));
  Engine engine = Engine::kNone;
  if (extension == ".wav") {
    engine = Engine::kWave;
  } else if (extension == ".ogg" ||
             (role_ == AudioPlayerRole::kArchiveAware && text.find('@') != std::string::npos)) {
    engine = Engine::kOgg;
  }
  if (engine == Engine::kNone) return false;
  SoundEngines* engines = engines_();
  if (!engines) return false;

  const bool started = engine == Engine::kWave ? engines->PlayWave(text) : engines->PlayOgg(text);
  if (!started) return Answer(*engines, false);
  if (wait) {
    ProcessEventsWhile([engines, engine] {
      return engine == Engine::kWave ? engines->WavePlaying() : engines->OggPlaying();
    });
  }
  return true;
}

bool TKsAudioPlayer::PlayFrom(std::string_view location, std::int64_t start_ms) {
  SoundEngines* engines = engines_();
  if (!engines) return false;
  return Answer(*engines, engines->PlayWaveFrom(std::string(location), start_ms));
}

bool TKsAudioPlayer::Answer(SoundEngines& engines, bool started) {
  if (started) return true;
  // The error code is read once, right after the failed play.
  const int error = engines.LastError();
  return error == OGGAUDIO_ERROR_NONE || error == OGGAUDIO_ERROR_NO_AUDIO_OUTPUT;
}

void TKsAudioPlayer::Stop() {
  SoundEngines* engines = engines_();
  if (!engines) return;
  engines->StopWave();
  engines->StopOgg();
}

TKsAudioPlayer& TKsAudioPlayer::ArchivePlayer() {
  static TKsAudioPlayer player(AudioPlayerRole::kArchiveAware);
  return player;
}

TKsAudioPlayer& TKsAudioPlayer::FilePlayer() {
  static TKsAudioPlayer player(AudioPlayerRole::kFilesOnly);
  return player;
}

}  // namespace vork
