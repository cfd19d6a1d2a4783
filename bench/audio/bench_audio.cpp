// Latency of a click sound: from PlayAudio of an archived Ogg click to its
// first samples reaching the audio output, against the output's buffer
// period measured in the same run. The output is SDL's disk driver, which
// writes each buffer to a file at the pace of a sound card; a watcher reads
// the file as it grows and notes when the first non-silent sample lands and
// when each buffer is written.
//   bench_audio BUILD_DIR WORK_DIR
// It writes the click (10 ms of Ogg Vorbis) and packs it into WORK_DIR/course.vka
// with BUILD_DIR/vka.

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "../figure.h"
#include "bridge/object_manager.h"
#include "bridge/script_object.h"
#include "media/oggaudio/sound_fixtures.h"
#include "media/play_audio.h"
#include "media/sound_library.h"
#include "platform/player_host.h"
#include "platform/program_location.h"
#include "vm/processor.h"
#include "vm/value_stack.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRate = 44100;
constexpr int kBufferFrames = 1024;  // what the sound library asks for
constexpr int kFrameBytes = 4;       // 16-bit stereo
constexpr int kWarmPlays = 40;
constexpr off_t kBufferBytes = kBufferFrames * kFrameBytes;

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Follows the output file: when it grew, and where the sound starts.
class OutputWatcher {
 public:
  explicit OutputWatcher(std::string path) : path_(std::move(path)) {}
  ~OutputWatcher() {
    if (fd_ >= 0) ::close(fd_);
  }

  off_t Size() const {
    struct stat info {};
    return ::stat(path_.c_str(), &info) == 0 ? info.st_size : 0;
  }

  // Where a sound first reached the output, as the file showed it.
  struct Arrival {
    Clock::time_point seen;     // when the file showed it
    double buffers_behind = 0;  // how many buffers the file had gone on since
  };

  // Polls until a non-zero sample appears at or after `from`; false after
  // two seconds.
  bool WaitForSound(off_t from, Arrival& arrival) {
    const Clock::time_point give_up = Clock::now() + std::chrono::seconds(2);
    std::vector<unsigned char> bytes(1 << 16);
    off_t at = from;
    while (Clock::now() < give_up) {
      if (fd_ < 0) fd_ = ::open(path_.c_str(), O_RDONLY);
      if (fd_ >= 0) {
        const ssize_t got = ::pread(fd_, bytes.data(), bytes.size(), at);
        if (got > 0) {
          const Clock::time_point now = Clock::now();
          NoteGrowth(at + got, now);
          for (ssize_t i = 0; i < got; ++i) {
            if (bytes[static_cast<std::size_t>(i)] != 0) {
              const off_t buffer_end = ((at + i) / kBufferBytes + 1) * kBufferBytes;
              arrival = {now, static_cast<double>(at + got - buffer_end) / kBufferBytes};
              return true;
            }
          }
          at += got;
          continue;
        }
      }
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return false;
  }

  // Average time between buffers over everything watched.
  double BufferPeriodMs() const {
    if (last_size_ <= first_size_) return 0;
    const double buffers = static_cast<double>(last_size_ - first_size_) / kBufferBytes;
    return Milliseconds(last_time_ - first_time_) / buffers;
  }

  // Keeps watching (for the period) for `duration`.
  void Watch(Clock::duration duration) {
    const Clock::time_point end = Clock::now() + duration;
    while (Clock::now() < end) {
      const off_t size = Size();
      if (size > last_size_) NoteGrowth(size, Clock::now());
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
  }

 private:
  void NoteGrowth(off_t size, Clock::time_point when) {
    if (size <= last_size_) return;
    if (first_size_ < 0) {
      first_size_ = size;
      first_time_ = when;
    }
    last_size_ = size;
    last_time_ = when;
  }

  std::string path_;
  int fd_ = -1;
  off_t first_size_ = -1;
  off_t last_size_ = -1;
  Clock::time_point first_time_{};
  Clock::time_point last_time_{};
};

// The player's host as far as sounds go: the loaded sound library.
class SoundHost : public vork::PlayerHost {
 public:
  vork::SoundEngines* Sound() override { return vork::LoadedSoundLibrary(); }
};

void MakeCourseArchive(const std::string& build, const std::string& work) {
  const std::string resources = work + "/resources";
  std::filesystem::create_directories(resources);
  const std::vector<std::int16_t> click = vork::testing::Tone(kRate, 2, 0.01, 1000.0);
  vork::testing::WriteFile(resources + "/click.ogg", vork::testing::EncodeVorbis(click, kRate, 2));
  const std::string pack = "'" + build + "/vka' pack '" + resources + "' '" + work + "/course.vka' >/dev/null";
  if (std::system(pack.c_str()) != 0) throw std::runtime_error("vka pack failed");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_audio BUILD_DIR WORK_DIR\n");
    return 2;
  }
  const std::string build = argv[1];
  const std::string work = argv[2];
  const std::string output = work + "/output.raw";
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  ::setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
  ::unlink(output.c_str());
  MakeCourseArchive(build, work);
  vork::SetProgramPath(work + "/course.vkbc");  // the archive course.vka beside it
  if (std::string problem = vork::LoadSoundLibrary(build); !problem.empty()) {
    std::fprintf(stderr, "%s\n", problem.c_str());
    return 1;
  }

  SoundHost host;
  vork::ScopedHost installed(host);
  vork::TVkStack stack;
  vork::TVkProcessor processor(stack);
  vork::TVkObjectManager manager(vork::TVkManagerSetup{&processor, &stack, nullptr});
  manager.RegisterClass(3, [](vork::TVkObjectManager&) { return std::make_unique<vork::TVkScriptObject>(); });
  auto& caller = static_cast<vork::TVkScriptObject&>(*manager.Find(manager.CreateObject(3)));

  OutputWatcher watcher(output);
  std::vector<std::pair<Clock::time_point, OutputWatcher::Arrival>> plays;
  for (int play = 0; play <= kWarmPlays; ++play) {
    const off_t from = watcher.Size();
    const Clock::time_point asked = Clock::now();
    vork::PlayAudio(caller, "click.aud");
    OutputWatcher::Arrival arrival;
    if (!watcher.WaitForSound(from, arrival)) {
      std::fprintf(stderr, "the click never reached the output (play %d)\n", play);
      return 1;
    }
    plays.emplace_back(asked, arrival);
    watcher.Watch(std::chrono::milliseconds(60));  // the click (10 ms) dies away
  }

  // The disk driver writes through a stdio buffer, so the file shows the
  // device's buffers a pair at a time. The moment the click's buffer went
  // to the device is worked back from the file's steady pace.
  const double period = watcher.BufferPeriodMs();
  std::vector<double> latencies;
  double cold = 0;
  for (std::size_t i = 0; i < plays.size(); ++i) {
    const auto& [asked, arrival] = plays[i];
    const double latency = Milliseconds(arrival.seen - asked) - arrival.buffers_behind * period;
    // The first play opens the output, as the first sound of a course does.
    if (i == 0) cold = latency;
    else latencies.push_back(latency);
  }

  std::sort(latencies.begin(), latencies.end());
  const double median = latencies[latencies.size() / 2];
  const double worst = latencies.back();
  const double nominal = 1000.0 * kBufferFrames / kRate;
  std::printf("output buffer: %d frames at %d Hz = %.1f ms nominal, %.1f ms measured\n", kBufferFrames, kRate,
              nominal, period);
  std::printf("PlayAudio to first samples at the output: median %.1f ms, worst %.1f ms of %d plays; "
              "first play (opens the output) %.1f ms\n",
              median, worst, kWarmPlays, cold);
  std::printf("ratio to the buffer period: median %.2f, worst %.2f (target: <= 2)\n", median / period,
              worst / period);
  vork::bench::PrintFigure("audio PlayAudio latency in buffer periods (median)", median / period, "<=", 2);
  return 0;
}
