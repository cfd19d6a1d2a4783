// The library's C entry points (oggaudio.h). Nothing thrown inside gets past
// them: every failure becomes an answer of 0 and the code OggGetError gives.

#include <atomic>
#include <exception>
#include <string>

#include "media/oggaudio/byte_range_file.h"
#include "media/oggaudio/oggaudio.h"
#include "media/oggaudio/sound_decoder.h"
#include "media/oggaudio/sound_error.h"
#include "media/oggaudio/sound_location.h"
#include "media/oggaudio/sound_output.h"
#include "platform/diagnostic_log.h"

namespace vork {

namespace {

std::atomic<int> lastError{OGGAUDIO_ERROR_NONE};

void LogFailure(const char* location, const char* reason) noexcept {
  try {
    DiagnosticLog(std::string("oggaudio: cannot play \"") + (location ? location : "(null)") + "\": " + reason);
  } catch (...) {
  }
}

// Which decoders a play may use: the engine's own, or either (recordings).
enum class Decoders { kEngines, kAny };

ByteRangeFile OpenLocation(const char* text) {
  if (!text) throw SoundError(OGGAUDIO_ERROR_BAD_LOCATION, "no location given");
  std::optional<SoundLocation> location = ParseSoundLocation(text);
  if (!location) throw SoundError(OGGAUDIO_ERROR_BAD_LOCATION, "not a file path or archive range");
  return ByteRangeFile::Open(*location);
}

std::unique_ptr<SoundDecoder> OpenSound(Engine engine, Decoders decoders, const char* text) {
  ByteRangeFile file = OpenLocation(text);
  if (decoders == Decoders::kAny) return OpenAnySound(std::move(file));
  return engine == Engine::kOgg ? OpenVorbisSound(std::move(file)) : OpenWaveSound(std::move(file));
}

// Moves the sound to `start_ms`; false when that is at or past its end.
bool SkipTo(SoundDecoder& sound, int start_ms) {
  if (start_ms <= 0) return true;
  const auto frame = static_cast<std::uint64_t>(start_ms) * static_cast<std::uint64_t>(sound.Format().rate) / 1000;
  if (frame >= sound.Frames()) return false;
  if (!sound.Seek(frame)) throw SoundError(OGGAUDIO_ERROR_NOT_A_SOUND, "cannot go to " + std::to_string(start_ms) + " ms");
  return true;
}

int Play(Engine engine, const char* location, int wait, Decoders decoders = Decoders::kEngines,
         int start_ms = 0) noexcept {
  int code = OGGAUDIO_ERROR_NONE;
  try {
    std::unique_ptr<SoundDecoder> sound = OpenSound(engine, decoders, location);
    if (SkipTo(*sound, start_ms)) {
      SoundOutput::Instance().Play(engine, std::move(sound), wait != 0);
    } else {
      SoundOutput::Instance().Stop(engine);
    }
  } catch (const SoundError& error) {
    code = error.Code();
    // A missing output was logged once when it was found.
    if (code != OGGAUDIO_ERROR_NO_AUDIO_OUTPUT) LogFailure(location, error.what());
  } catch (const std::exception& error) {
    code = OGGAUDIO_ERROR_INTERNAL;
    LogFailure(location, error.what());
  } catch (...) {
    code = OGGAUDIO_ERROR_INTERNAL;
  }
  lastError = code;
  return code == OGGAUDIO_ERROR_NONE ? 1 : 0;
}

template <class Action>
auto Guarded(Action action, decltype(action()) failed) noexcept {
  try {
    return action();
  } catch (...) {
    return failed;
  }
}

}  // namespace

}  // namespace vork

using vork::Engine;
using vork::SoundOutput;

extern "C" {

OGGAUDIO_API int OggGetRev(void) { return OGGAUDIO_REVISION; }

OGGAUDIO_API int OggPlaySound(const char* location, int wait, int, int, int, int) {
  return vork::Play(Engine::kOgg, location, wait);
}

OGGAUDIO_API int OggStopSound(int) {
  return vork::Guarded([] { SoundOutput::Instance().StopAll(); return 1; }, 0);
}

OGGAUDIO_API int OggGetError(void) { return vork::lastError; }

OGGAUDIO_API int OggIsPlaying(void) {
  return vork::Guarded([] { return SoundOutput::Instance().IsPlaying(Engine::kOgg) ? 1 : 0; }, 0);
}

OGGAUDIO_API int WavPlaySound(const char* location, int wait) { return vork::Play(Engine::kWave, location, wait); }

OGGAUDIO_API int WavPlaySoundFrom(const char* location, int start_ms, int wait) {
  return vork::Play(Engine::kWave, location, wait, vork::Decoders::kAny, start_ms);
}

OGGAUDIO_API int WavStopSound(void) {
  return vork::Guarded([] { SoundOutput::Instance().StopAll(); return 1; }, 0);
}

OGGAUDIO_API int WavIsPlaying(void) {
  return vork::Guarded([] { return SoundOutput::Instance().IsPlaying(Engine::kWave) ? 1 : 0; }, 0);
}

OGGAUDIO_API void OggSetVolume(int volume) {
  vork::Guarded([volume] { SoundOutput::Instance().SetVolume(volume); return 0; }, 0);
}

OGGAUDIO_API void OggShutdown(void) {
  vork::Guarded([] { SoundOutput::Instance().Close(); return 0; }, 0);
}

}  // extern "C"
