// Writes small seed sounds for fuzz/oggaudio/corpus: write_oggaudio_corpus FOLDER

#include <iostream>

#include "media/oggaudio/sound_fixtures.h"

using namespace vork::testing;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: write_oggaudio_corpus FOLDER\n";
    return 2;
  }
  std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  WriteFile(folder / "mono-8k.ogg", EncodeVorbis(Tone(8000, 1, 0.05), 8000, 1, -0.1f));
  WriteFile(folder / "stereo-22k.ogg", EncodeVorbis(Tone(22050, 2, 0.05), 22050, 2, -0.1f));
  WriteFile(folder / "mono-8bit.wav", EncodeWave(Tone(8000, 1, 0.01), 8000, 1, 8));
  WriteFile(folder / "stereo-16bit.wav", EncodeWave(Tone(11025, 2, 0.01), 11025, 2, 16));
  return 0;
}
