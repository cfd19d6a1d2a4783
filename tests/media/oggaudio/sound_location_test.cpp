#include "media/oggaudio/sound_location.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

struct LocationCase {
  const char* text;
  SoundLocation expected;
};

TEST(SoundLocation, SplitsAtTheLastAtSignFollowedByOffsetAndSize) {
  const LocationCase cases[] = {
      {"media/hello.ogg", {"media/hello.ogg", false, 0, 0}},
      {"course.vka@1024,2048", {"course.vka", true, 1024, 2048}},
      {"/home/me@work/course.vka@0,0", {"/home/me@work/course.vka", true, 0, 0}},
      // Paths may hold "@" wherever it is not followed by exactly "digits,digits".
      {"voice@home.ogg", {"voice@home.ogg", false, 0, 0}},
      {"a.vka@10,20x", {"a.vka@10,20x", false, 0, 0}},
      {"a.vka@10,", {"a.vka@10,", false, 0, 0}},
      {"a.vka@,20", {"a.vka@,20", false, 0, 0}},
      {"a.vka@+1,2", {"a.vka@+1,2", false, 0, 0}},
      {"a.vka@1,-2", {"a.vka@1,-2", false, 0, 0}},
      {"a.vka@1,2,3", {"a.vka@1,2,3", false, 0, 0}},
      {"a.vka@1,2@x.ogg", {"a.vka@1,2@x.ogg", false, 0, 0}},
      {"a.vka@18446744073709551615,1", {"a.vka", true, 18446744073709551615ull, 1}},
  };
  for (const LocationCase& c : cases) {
    std::optional<SoundLocation> location = ParseSoundLocation(c.text);
    ASSERT_TRUE(location) << c.text;
    EXPECT_EQ(*location, c.expected) << c.text;
  }
}

TEST(SoundLocation, RefusesAnEmptyTextAndRangesBeyondSixtyFourBits) {
  EXPECT_FALSE(ParseSoundLocation(""));
  EXPECT_FALSE(ParseSoundLocation("a.vka@18446744073709551616,1"));
  EXPECT_FALSE(ParseSoundLocation("a.vka@1,99999999999999999999999"));
}

}  // namespace
}  // namespace vork
