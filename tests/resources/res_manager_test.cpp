// The resource manager over a course laid out on disk: which archive parts
// it uses, how logical names resolve, and the texts of its failures.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "archives/archive_builder.h"
#include "archives/archive_location.h"
#include "archives/test_files.h"
#include "platform/errors.h"
#include "platform/message_boxes.h"
#include "resources/picture_files.h"
#include "resources/res_manager.h"
#include "support/test_host.h"

namespace vork {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::BmpFile;
using testing::BmpLayout;
using testing::JpegFile;
using testing::TempDir;
using testing::WriteArchive;
using testing::WriteFile;

// Boxes go to a transcript the test reads, answered from a list.
class CapturedBoxes {
 public:
  explicit CapturedBoxes(const std::string& answers = "") : answers_(answers), boxes_(out_, answers_) {}
  std::string Text() const { return out_.str(); }

 private:
  std::ostringstream out_;
  TranscriptAnswers answers_;
  TranscriptBoxes boxes_;
  testing::TestHost host_{&boxes_};
};

std::string SmallBmp() {
  return BmpFile(BmpLayout{1, 1, 24, 0, 40, {}, {}, std::string("\x10\x20\x30\0", 4)});
}

class ResManagerTest : public ::testing::Test {
 protected:
  // The program "course" with course.vka, an update part and loose media.
  void SetUp() override {
    WriteFile(program, "program");
    WriteArchive(dir / "course.vka",
                 {{"title.jpg", JpegFile(4, 2, [](int, int) { return 0x00FF00u; })},
                  {"title.bmp", SmallBmp()},
                  {"only-bmp.bmp", SmallBmp()},
                  {"hello.ogg", "OggS"},
                  {"lines.txt", "one\r\ntwo\nthree\rfour\r\n\r\nsix"},
                  {"shared.txt", "base"}},
                 2);
    WriteArchive(dir / "course.x01", {{"shared.txt", "update"}}, 3);
    WriteArchive(dir / "course.x00", {{"shared.txt", "never"}, {"x00-only.txt", "never"}}, 1);
    WriteFile(dir / "media/Loose.WAV", "RIFF");
    WriteFile(dir / "media/both.ogg", "OggS");
    WriteFile(dir / "media/both.wav", "RIFF");
    WriteFile(dir / "media/readme.txt", "text");
  }
  TVkResManager Manager() { return TVkResManager(program, dir / "media"); }

  TempDir dir;
  std::string program = dir / "course";
};

TEST_F(ResManagerTest, UpdatePartsOverrideTheBaseAndX00IsIgnored) {
  CapturedBoxes boxes;
  auto resources = Manager();
  std::vector<std::string> lines;
  resources.LoadStrings(lines, "shared.txt");
  EXPECT_THAT(lines, ElementsAre("update"));
  EXPECT_FALSE(resources.ResourceExists("x00-only.txt"));
  EXPECT_TRUE(resources.HasPart("x01"));
  EXPECT_FALSE(resources.HasPart("x00"));
  EXPECT_EQ(boxes.Text(), "");
}

TEST_F(ResManagerTest, LogicalNamesFindTheirStoredResources) {
  CapturedBoxes boxes;
  auto resources = Manager();
  EXPECT_EQ(resources.FindImage("Title.IMG"), "Title.jpg");
  EXPECT_EQ(resources.FindImage("only-bmp.img"), "only-bmp.bmp");
  EXPECT_EQ(resources.FindImage("missing.img"), "");
  EXPECT_EQ(resources.FindImage("title.jpg"), "");  // not a logical name
  EXPECT_EQ(resources.FindAudioInArchives("hello.aud"), "hello.ogg");
  EXPECT_EQ(resources.FindResource("hello.aud"), "hello.ogg");
  EXPECT_EQ(resources.FindResource("title.img"), "title.jpg");
  EXPECT_EQ(resources.FindResource("lines.txt"), "lines.txt");
  EXPECT_EQ(resources.FindResource("nothing.txt"), "");
}

TEST_F(ResManagerTest, ArchivedAudioIsLocatedInsideTheArchive) {
  CapturedBoxes boxes;
  auto resources = Manager();
  AudioLocation audio = resources.LocateAudio("HELLO.aud");
  EXPECT_TRUE(audio.is_ogg);
  auto location = ParseArchiveLocation(audio.location);
  ASSERT_TRUE(location) << audio.location;
  EXPECT_EQ(location->path, dir / "course.vka");
  EXPECT_EQ(location->size, 4u);
  EXPECT_EQ(resources.ResolveFile("hello.aud"), "") << "an archive location is not a file";
}

TEST_F(ResManagerTest, LooseMediaSoundsAreFoundWhenNoArchiveHasThem) {
  CapturedBoxes boxes;
  auto resources = Manager();
  EXPECT_EQ(resources.FindResource("loose.aud"), "");
  EXPECT_TRUE(resources.ResourceExists("loose.aud"));
  AudioLocation audio = resources.LocateAudio("loose.aud");
  EXPECT_EQ(audio.location, dir / "media/Loose.WAV");
  EXPECT_FALSE(audio.is_ogg);
  AudioLocation both = resources.FindAudioFile("both.aud");
  EXPECT_EQ(both.location, dir / "media/both.ogg") << "the .ogg is preferred";
  EXPECT_TRUE(both.is_ogg);
  EXPECT_TRUE(resources.ResourceExists("readme.txt")) << "any file in the media folder";
  EXPECT_FALSE(resources.ResourceExists("absent.aud"));
}

TEST_F(ResManagerTest, LoadBitmapDecodesJpegFirstAndBmpWhenOnlyThatIsStored) {
  CapturedBoxes boxes;
  auto resources = Manager();
  Picture picture;
  resources.LoadBitmap(picture, "title.img");
  EXPECT_EQ(picture.width, 4);
  EXPECT_EQ(picture.height, 2);
  resources.LoadBitmap(picture, "only-bmp.img");
  ASSERT_EQ(picture.width, 1);
  EXPECT_EQ(picture.pixels[0], 0xFF302010u);
  EXPECT_EQ(resources.PictureCount(), 2);
  EXPECT_GT(resources.PictureBytes(), static_cast<int64_t>(SmallBmp().size()));
}

TEST_F(ResManagerTest, LoadBitmapFailuresCarryTheirTexts) {
  CapturedBoxes boxes;
  auto resources = Manager();
  Picture picture;
  struct Case {
    const char* name;
    const char* message;
  };
  const Case cases[] = {
      {"anim.gif", "Illegal image name \"anim.gif\" (image's extension must be .img)."},
      {"title.jpg", "Illegal image name \"title.jpg\" (image's extension must be .img)."},
      {"pics\\gone.img",
       "Error loading image \"pics\\gone.img\".\r\n"
       "(Image \"pics\\gone.jpg\" or \"pics\\gone.bmp\" not found.)"},
  };
  for (const auto& c : cases) {
    try {
      resources.LoadBitmap(picture, c.name);
      ADD_FAILURE() << c.name;
    } catch (const EVkError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
}

TEST_F(ResManagerTest, LoadStringsSplitsAtEveryKindOfLineBreak) {
  CapturedBoxes boxes;
  auto resources = Manager();
  std::vector<std::string> lines = {"old content"};
  resources.LoadStrings(lines, "LINES.TXT");
  EXPECT_THAT(lines, ElementsAre("one", "two", "three", "four", "", "six"));
  EXPECT_THROW(resources.LoadStrings(lines, "absent.txt"), EVkError);
}

TEST_F(ResManagerTest, ResourceNamesAreTheSortedUnionOfTheParts) {
  CapturedBoxes boxes;
  EXPECT_THAT(Manager().ResourceNames(),
              ElementsAre("hello.ogg", "lines.txt", "only-bmp.bmp", "shared.txt", "title.bmp",
                          "title.jpg"));
}

TEST_F(ResManagerTest, ADamagedPartIsReportedOnceAndTheOthersStillServe) {
  WriteFile(dir / "course.x02", "ARK2\x02" "ab");  // cut inside the header
  CapturedBoxes boxes;
  auto resources = Manager();
  EXPECT_EQ(boxes.Text(), "error: Cannot open resource archive \"" + dir / "course.x02" +
                              "\": Resource archive \"" + dir / "course.x02" +
                              "\" is damaged: the header is cut short\n");
  std::vector<std::string> lines;
  resources.LoadStrings(lines, "shared.txt");
  EXPECT_THAT(lines, ElementsAre("update"));
}

TEST_F(ResManagerTest, PrefetchIsAnnouncedAsMissing) {
  CapturedBoxes boxes;
  auto resources = Manager();
  resources.PrefetchRes("title.img");
  EXPECT_EQ(boxes.Text(), "plain: TVkResManager.PrefetchRes not yet implemented!\n");
  EXPECT_EQ(resources.PrefetchCount(), 0);
  EXPECT_EQ(resources.PrefetchSize(), 0);
  EXPECT_EQ(resources.PrefetchNames(), "()");
}

// A course run from "course.img/player" may use .vka directories beside the
// folder as well as .vka files beside the player.
class BothKindsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(program, "program");
    WriteFile(dir / "course.vka/where.txt", "directories");
    WriteFile(dir / "Course.X01/only-dir-update.txt", "yes");
    WriteArchive(dir / "course.img/player.vka", {{"where.txt", "files"}}, 2);
  }
  std::string Where(TVkResManager& resources) {
    if (!resources.ResourceExists("where.txt")) return "nothing";
    return resources.OpenResource("where.txt")->ReadAll();
  }
  TempDir dir;
  std::string program = dir / "course.img/player";
};

TEST_F(BothKindsTest, TheQuestionDecidesWhichPartsAreUsed) {
  struct Case {
    const char* answer;
    const char* where;
  };
  const Case cases[] = {{"11", "directories"}, {"", "directories"}, {"12", "files"}, {"cancel", "nothing"}};
  for (const auto& c : cases) {
    CapturedBoxes boxes(c.answer);
    TVkResManager resources(program, dir / "media");
    EXPECT_EQ(boxes.Text(), "question: Use .vka-directories or .vka-files?\\n\n");
    EXPECT_EQ(Where(resources), c.where) << "answer " << c.answer;
  }
}

TEST_F(BothKindsTest, DirectoryPartsAreFoundWhateverTheirLetterCase) {
  CapturedBoxes boxes("11");
  TVkResManager resources(program, dir / "media");
  EXPECT_TRUE(resources.ResourceExists("ONLY-DIR-UPDATE.TXT"));
  EXPECT_EQ(resources.ResolveFile("where.txt"), dir / "course.vka/where.txt");
}

TEST_F(BothKindsTest, WithoutTheBaseArchiveNoPartIsUsed) {
  std::filesystem::remove_all(dir / "course.vka");
  std::filesystem::remove(dir / "course.img/player.vka");
  CapturedBoxes boxes;
  TVkResManager resources(program, dir / "media");
  EXPECT_EQ(boxes.Text(), "");
  EXPECT_EQ(resources.Archives().SourceCount(), 0u) << "an update part alone is not usable";
}

}  // namespace
}  // namespace vork
