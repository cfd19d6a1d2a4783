// Unpacking downloaded archives: what lands in the course folder, and what a
// hostile or broken archive cannot do to it.

#include "install/extract_archive.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "install/rar4_writer.h"
#include "install/rar_library.h"
#include "install/scratch_folder.h"
#include "install/unpack_names.h"

namespace vork::testing {
namespace {

using Kind = RarEntry::Kind;
using Strings = std::vector<std::string>;

TEST(UnpackNames, RefusesNamesThatLeaveTheFolder) {
  struct Case {
    const char* name;
    const char* expected;  // nullptr: refused
  };
  const Case cases[] = {
      {"course.x01", "course.x01"},
      {"media\\say_hola.ogg", "media/say_hola.ogg"},
      {"./a//b/./c", "a/b/c"},
      {"a..b/..c", "a..b/..c"},
      {"../evil", nullptr},
      {"..\\evil", nullptr},
      {"a/../../evil", nullptr},
      {"a\\..\\..\\evil", nullptr},
      {"..", nullptr},
      {"/etc/passwd", nullptr},
      {"\\windows\\evil", nullptr},
      {"\\\\server\\share\\x", nullptr},
      {"C:\\evil", nullptr},
      {"c:evil", nullptr},
      {"", nullptr},
      {"./", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = SafeRelativePath(c.name);
    if (c.expected) {
      ASSERT_TRUE(path.has_value());
      EXPECT_EQ(*path, c.expected);
    } else {
      EXPECT_FALSE(path.has_value());
    }
  }
}

class ExtractArchiveTest : public ::testing::Test {
 protected:
  ExtractResult Extract(const std::vector<RarEntry>& entries) {
    WriteFile(downloads / "part.rar", Rar4Archive(entries));
    return ExtractArchive(downloads / "part.rar", course.Path());
  }

  ScratchFolder downloads;
  ScratchFolder course;
};

TEST_F(ExtractArchiveTest, UnpacksFilesAndFoldersIntoTheCourseFolder) {
  WriteFile(course / "course.vka", "base");
  ASSERT_EQ(Extract({{"course.x01", "update part"},
                     {"media", "", Kind::Directory},
                     {"media\\say_gato.ogg", "OggS..."},
                     {"docs/readme.txt", "hello"}}),
            ExtractResult::Done);
  EXPECT_EQ(course.Tree(), (Strings{"course.vka", "course.x01", "docs", "docs/readme.txt", "media",
                                    "media/say_gato.ogg"}));
  EXPECT_EQ(ReadFile(course / "course.x01"), "update part");
  EXPECT_EQ(ReadFile(course / "media/say_gato.ogg"), "OggS...");
  EXPECT_EQ(ReadFile(course / "course.vka"), "base");
}

TEST_F(ExtractArchiveTest, ReplacesAnOlderFileOfTheSameName) {
  WriteFile(course / "course.x01", "old");
  ASSERT_EQ(Extract({{"course.x01", "new"}}), ExtractResult::Done);
  EXPECT_EQ(ReadFile(course / "course.x01"), "new");
  EXPECT_EQ(course.Tree(), Strings{"course.x01"});
}

// A refused name anywhere in the archive leaves the course as it was, even
// for the entries before it; nothing appears outside the course folder.
TEST_F(ExtractArchiveTest, RefusedNameLeavesTheCourseUntouched) {
  const char* const names[] = {"../evil", "..\\evil", "sub\\..\\..\\evil", "/tmp/evil", "C:\\evil"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    WriteFile(course / "course.x01", "good");
    EXPECT_EQ(Extract({{"course.x01", "overwritten"}, {name, "payload"}}), ExtractResult::Corrupt);
    EXPECT_EQ(ReadFile(course / "course.x01"), "good");
    EXPECT_EQ(course.Tree(), Strings{"course.x01"});
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(course.Path()).parent_path() / "evil"));
  }
}

TEST_F(ExtractArchiveTest, LinksInTheArchiveAreNotCreated) {
  ScratchFolder elsewhere;
  // The second entry lands in a real folder of that name, not in the
  // link's target.
  ASSERT_EQ(Extract({{"out", elsewhere.Path(), Kind::Symlink}, {"out/x", "y"}}), ExtractResult::Done);
  EXPECT_EQ(course.Tree(), (Strings{"out", "out/x"}));
  EXPECT_FALSE(std::filesystem::is_symlink(course / "out"));
  EXPECT_TRUE(elsewhere.Tree().empty());
  ASSERT_EQ(Extract({{"up", "..", Kind::Symlink}, {"ok.txt", "fine"}}), ExtractResult::Done);
  EXPECT_EQ(course.Tree(), (Strings{"ok.txt", "out", "out/x"}));
}

// A folder of the course that is a link to elsewhere is not written through.
TEST_F(ExtractArchiveTest, RefusesToWriteThroughALinkOutOfTheCourse) {
  ScratchFolder elsewhere;
  std::filesystem::create_directory_symlink(elsewhere.Path(), course / "media");
  EXPECT_EQ(Extract({{"media/say_x.ogg", "sound"}}), ExtractResult::Corrupt);
  EXPECT_TRUE(elsewhere.Tree().empty());
  // A link that stays inside the course is followed as usual.
  std::filesystem::create_directory(course / "real");
  std::filesystem::create_directory_symlink(course / "real", course / "inside");
  EXPECT_EQ(Extract({{"inside/x.txt", "x"}}), ExtractResult::Done);
  EXPECT_EQ(ReadFile(course / "real/x.txt"), "x");
}

TEST_F(ExtractArchiveTest, NotAnArchiveOrDamagedIsCorrupt) {
  WriteFile(downloads / "page.html", "<html>404 Not Found</html>");
  EXPECT_EQ(ExtractArchive(downloads / "page.html", course.Path()), ExtractResult::Corrupt);
  std::string archive = Rar4Archive({{"a.txt", std::string(200, 'a')}, {"b.txt", "b"}});
  WriteFile(downloads / "cut.rar", archive.substr(0, archive.size() - 120));
  EXPECT_EQ(ExtractArchive(downloads / "cut.rar", course.Path()), ExtractResult::Corrupt);
  archive[archive.size() - 40] ^= 0x55;  // inside the stored data of a.txt
  WriteFile(downloads / "bad.rar", archive);
  EXPECT_EQ(ExtractArchive(downloads / "bad.rar", course.Path()), ExtractResult::Corrupt);
  EXPECT_TRUE(course.Tree().empty());
}

TEST_F(ExtractArchiveTest, UnwritableCourseFolderIsReportedAsSuch) {
  // A file where the archive needs a folder cannot be written over.
  WriteFile(course / "media", "a file");
  EXPECT_EQ(Extract({{"media/say_x.ogg", "x"}}), ExtractResult::NotWritable);
  EXPECT_EQ(course.Tree(), Strings{"media"});
  EXPECT_EQ(ExtractArchive(downloads / "part.rar", course / "no-such-folder"), ExtractResult::NotWritable);
  if (::geteuid() == 0) return;  // root writes everywhere
  ::chmod(course.Path().c_str(), 0555);
  EXPECT_EQ(Extract({{"course.x01", "x"}}), ExtractResult::NotWritable);
  ::chmod(course.Path().c_str(), 0755);
}

// The four calls themselves, as the installer's loop uses them.
TEST(RarLibrary, ReadsHeadersToTheEndOfTheArchive) {
  ScratchFolder folder;
  WriteFile(folder / "a.rar", Rar4Archive({{"dir", "", Kind::Directory}, {"dir\\f.txt", "12345"}}));
  RAROpenArchiveData open;
  open.ArcName = folder / "a.rar";
  RarArchive* archive = RAROpenArchive(open);
  ASSERT_NE(archive, nullptr);
  RARHeaderData header;
  ASSERT_EQ(RARReadHeader(archive, header), ERAR_SUCCESS);
  EXPECT_TRUE(header.Directory);
  EXPECT_EQ(RARProcessFile(archive, RAR_SKIP, folder.Path()), ERAR_SUCCESS);
  ASSERT_EQ(RARReadHeader(archive, header), ERAR_SUCCESS);
  EXPECT_EQ(header.FileName, "dir/f.txt");
  EXPECT_EQ(header.UnpSize, 5);
  EXPECT_EQ(RARProcessFile(archive, RAR_EXTRACT, folder.Path()), ERAR_SUCCESS);
  EXPECT_EQ(RARReadHeader(archive, header), ERAR_END_ARCHIVE);
  EXPECT_EQ(RARCloseArchive(archive), ERAR_SUCCESS);
  EXPECT_EQ(ReadFile(folder / "dir/f.txt"), "12345");

  open.ArcName = folder / "missing.rar";
  EXPECT_EQ(RAROpenArchive(open), nullptr);
  EXPECT_NE(open.OpenResult, ERAR_SUCCESS);
}

}  // namespace
}  // namespace vork::testing
