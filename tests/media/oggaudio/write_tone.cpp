// Writes a tone for the course tests' setup scripts, so that they need no
// sound tools of their own:
//   write_tone FILE.ogg|FILE.wav RATE SECONDS FREQUENCY

#include <charconv>
#include <iostream>
#include <string_view>

#include "media/oggaudio/sound_fixtures.h"

using namespace vork::testing;

namespace {

bool ParseNumber(std::string_view text, double& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value > 0;
}

}  // namespace

int main(int argc, char** argv) {
  double rate = 0, seconds = 0, frequency = 0;
  const std::string_view path = argc == 5 ? argv[1] : "";
  const bool ogg = path.ends_with(".ogg"), wave = path.ends_with(".wav");
  if (argc != 5 || !(ogg || wave) || !ParseNumber(argv[2], rate) || !ParseNumber(argv[3], seconds) ||
      !ParseNumber(argv[4], frequency)) {
    std::cerr << "usage: write_tone FILE.ogg|FILE.wav RATE SECONDS FREQUENCY\n";
    return 2;
  }
  const int whole_rate = static_cast<int>(rate);
  const auto samples = Tone(whole_rate, 1, seconds, frequency);
  WriteFile(argv[1], ogg ? EncodeVorbis(samples, whole_rate, 1) : EncodeWave(samples, whole_rate, 1, 16));
  return 0;
}
