// Course file names on a case-sensitive disk, the program location and the
// captions of button dialogs.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "archives/test_files.h"
#include "platform/message_boxes.h"
#include "platform/path_resolver.h"
#include "platform/program_location.h"
#include "platform/button_dialog.h"
#include "resources/archive_parts.h"
#include "support/test_host.h"

namespace vork {
namespace {

using ::testing::ElementsAre;
using testing::TempDir;
using testing::WriteFile;

TEST(ResolveCoursePath, MatchesEachComponentIgnoringCaseAndBackslashes) {
  TempDir dir;
  WriteFile(dir / "Media/Sounds/Hello.OGG", "x");
  WriteFile(dir / "Media/Sounds/hello.ogg", "exact");
  WriteFile(dir / "Media/Straße.txt", "x");
  struct Case {
    const char* name;
    const char* resolved;
  };
  const Case cases[] = {
      {"media\\sounds\\HELLO.ogg", "Media/Sounds/Hello.OGG"},
      {"Media/Sounds/hello.ogg", "Media/Sounds/hello.ogg"},  // the exact spelling wins
      {"MEDIA/STRASSE.TXT", "Media/STRASSE.TXT"},            // no match: the rest joined as given
      {"media/gone/x.txt", "Media/gone/x.txt"},
      {"media\\stra\xDF" "E.TXT", "Media/Straße.txt"},  // a Windows-1252 name, a UTF-8 file
  };
  for (const auto& c : cases)
    EXPECT_EQ(ResolveCoursePath(dir.Path(), c.name), dir / c.resolved) << c.name;
  EXPECT_TRUE(CourseFileExists(dir.Path(), "MEDIA\\sounds\\hello.ogg"));
  EXPECT_FALSE(CourseFileExists(dir.Path(), "media"));  // a folder is not a file
  EXPECT_FALSE(CourseFileExists(dir.Path(), ""));
}

TEST(ProgramLocation, NamesTheFilesBesideTheProgram) {
  SetProgramPath("/opt/course/Spanish.img");
  EXPECT_EQ(ProgramPath(), "/opt/course/Spanish.img");
  EXPECT_EQ(ProgramDirectory(), "/opt/course");
  EXPECT_EQ(ProgramName(), "Spanish");
  EXPECT_EQ(ProgramPathWithoutExtension(), "/opt/course/Spanish");
  SetProgramPath("/opt/v1.2/player");
  EXPECT_EQ(ProgramName(), "player") << "a dot in a folder name is no extension";
  EXPECT_EQ(ProgramPathWithoutExtension(), "/opt/v1.2/player");
}

TEST(ArchiveParts, FindsTheBaseAndNumberedPartsInOrder) {
  TempDir dir;
  for (const char* name : {"course.X02", "course.vka", "course.x01", "course.x00", "course.x1",
                           "course.xab", "course.vkax", "other.vka", "COURSE.x03"})
    WriteFile(dir / name, "");
  WriteFile(dir / "course.x04/inside", "");  // a directory, not a file part
  EXPECT_THAT(FindArchiveParts(dir / "course", PartKind::Files),
              ElementsAre(dir / "course.vka", dir / "course.x01", dir / "course.X02", dir / "COURSE.x03"));
  EXPECT_THAT(FindArchiveParts(dir / "course", PartKind::Directories), ElementsAre(dir / "course.x04"));
  EXPECT_FALSE(ArePartsUsable({dir / "course.x01"}));
  EXPECT_EQ(DirectoryBase("/c/My.IMG/player"), "/c/My");
  EXPECT_EQ(DirectoryBase("/c/course.img"), "");
}

// Parts unpacked on Linux carry UTF-8 names; a Windows-1252 base finds them
// as a course file name would.
TEST(ArchiveParts, FindsPartsWithUtf8NamesOfAWindows1252Base) {
  TempDir dir;
  for (const char* name : {"Übung.vka", "ÜBUNG.x01", "Ubung.x02", "Übungen.x03"}) WriteFile(dir / name, "");
  EXPECT_THAT(FindArchiveParts(dir / "\xFC" "bung", PartKind::Files), ElementsAre(dir / "Übung.vka", dir / "ÜBUNG.x01"));
}

TEST(ButtonDialog, CaptionsAndTranscriptAnswers) {
  EXPECT_THAT(ButtonCaptions("|&Directories|&Files"), ElementsAre("&Directories", "&Files"));
  EXPECT_THAT(ButtonCaptions("a|b|c|"), ElementsAre("a", "b", "c"));
  std::ostringstream out;
  TranscriptAnswers answers("13,no,cancel,12,bogus");
  TranscriptBoxes boxes(out, answers);
  testing::TestHost host(&boxes);
  auto ask = [] { return ButtonDialog("Install?", "", "Yes|No|Later", DialogPlacement::ActiveWindow); };
  EXPECT_EQ(ask(), 13);
  EXPECT_EQ(ask(), 12);
  EXPECT_EQ(ask(), kDialogClosed);
  EXPECT_EQ(ButtonDialog("Two?", "", "A|B", DialogPlacement::Screen), 12);
  EXPECT_EQ(ask(), 11) << "an answer that names no button takes the first";
  EXPECT_EQ(ask(), 11) << "no answer left takes the first";
  EXPECT_EQ(out.str(),
            "question: Install?\nquestion: Install?\nquestion: Install?\n"
            "question: Two?\nquestion: Install?\nquestion: Install?\n");
}

}  // namespace
}  // namespace vork
