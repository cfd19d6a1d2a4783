// Writes small seed sounds for fuzz/oggaudio/corpus and fuzz/wave/corpus:
// write_oggaudio_corpus FOLDER

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
  // Every encoding the wave engine decodes, mono, a few blocks long.
  for (const WaveEncoding& encoding : WaveEncodings()) {
    std::string name = encoding.name;
    for (char& c : name) c = c == ' ' ? '-' : c;
    WriteFile(folder / ("wave-" + name + ".wav"), EncodeWaveAs(encoding, Tone(8000, 1, 0.08), 8000, 1));
  }
  return 0;
}
