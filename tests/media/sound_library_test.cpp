// Loading the sound library as the start-up check does: the messages for a
// missing or wrong library, then the real one, kept for the run.

#include <gtest/gtest.h>

#include "media/oggaudio/sound_fixtures.h"
#include "media/sound_library.h"

namespace vork {
namespace {

TEST(SoundLibrary, RefusesAMissingOrForeignLibraryThenLoadsTheRealOneForGood) {
  // CTest runs each test in a process of its own; run together, other tests
  // may have loaded the library already.
  if (LoadedSoundLibrary()) GTEST_SKIP() << "the library was loaded earlier in this process";
  testing::TempDir dir;
  const std::string folder = (dir / "Course Folder").string();
  std::filesystem::create_directory(folder);
  std::string upper = folder;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_EQ(LoadSoundLibrary(folder), "Required file " + upper + "/LIBOGGAUDIO.SO not found.");

  // Not a shared object at all, and a shared object without our entry points.
  testing::WriteFile(std::filesystem::path(folder) / "liboggaudio.so", "not a library");
  EXPECT_EQ(LoadSoundLibrary(folder), "Wrong version of liboggaudio.so.");
  std::filesystem::remove(std::filesystem::path(folder) / "liboggaudio.so");
  std::filesystem::create_symlink(FOREIGN_LIBRARY, std::filesystem::path(folder) / "liboggaudio.so");
  EXPECT_EQ(LoadSoundLibrary(folder), "Wrong version of liboggaudio.so.");
  EXPECT_EQ(LoadedSoundLibrary(), nullptr);

  EXPECT_EQ(LoadSoundLibrary(OGGAUDIO_DIRECTORY), "");
  ASSERT_NE(LoadedSoundLibrary(), nullptr);
  EXPECT_FALSE(LoadedSoundLibrary()->OggPlaying());
  // Loaded once: a later check does not look again.
  EXPECT_EQ(LoadSoundLibrary(folder), "");
}

}  // namespace
}  // namespace vork
