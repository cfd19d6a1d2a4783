// Unpacking downloaded archives: what lands in the course folder, and what a
// hostile or broken archive cannot do to it.

#include "install/extract_archive.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "install/rar4_writer.h"
#include "install/rar_library.h"
#include "install/scratch_folder.h"
#include "install/part_move.h"
#include "install/unpack_names.h"

namespace vork::testing {
namespace {

using Kind = RarEntry::Kind;
using Strings = std::vector<std::string>;

// An entry's name as the archive layer hands it over: libarchive already
// turns a RAR name's "\" into "/".
std::string AsRead(std::string name) {
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

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
  ExtractResult Extract(const std::vector<RarEntry>& entries, const ExtractOptions& options = {}) {
    WriteFile(downloads / "part.rar", Rar4Archive(entries));
    outcome = ExtractArchive(downloads / "part.rar", course.Path(), options);
    return outcome.result;
  }
  ExtractResult ExtractFile(const std::string& name) {
    return ExtractArchive(downloads / name, course.Path()).result;
  }

  ExtractOutcome outcome;
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
    EXPECT_EQ(Extract({{"course.x01", "overwritten"}, {name, "payload"}}), ExtractResult::Refused);
    EXPECT_EQ(outcome.refusal.entry, AsRead(name));
    EXPECT_EQ(ReadFile(course / "course.x01"), "good");
    EXPECT_EQ(course.Tree(), Strings{"course.x01"});
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(course.Path()).parent_path() / "evil"));
  }
}

// The RAR layer itself never makes a link, whatever its caller decides.
TEST(RarLibrary, LinksAreReportedButNeverCreated) {
  ScratchFolder folder;
  ScratchFolder elsewhere;
  WriteFile(folder / "a.rar", Rar4Archive({{"out", elsewhere.Path(), Kind::Symlink}, {"out/x", "y"}}));
  RAROpenArchiveData open;
  open.ArcName = folder / "a.rar";
  RarArchive* archive = RAROpenArchive(open);
  ASSERT_NE(archive, nullptr);
  RARHeaderData header;
  ASSERT_EQ(RARReadHeader(archive, header), ERAR_SUCCESS);
  EXPECT_TRUE(header.Link);
  std::filesystem::create_directory(folder / "a");
  EXPECT_EQ(RARProcessFile(archive, RAR_EXTRACT, folder / "a"), ERAR_SUCCESS);
  ASSERT_EQ(RARReadHeader(archive, header), ERAR_SUCCESS);
  std::filesystem::create_directory(folder / "a");
  EXPECT_EQ(RARProcessFile(archive, RAR_EXTRACT, folder / "a"), ERAR_SUCCESS);
  RARCloseArchive(archive);
  EXPECT_FALSE(std::filesystem::is_symlink(folder / "a/out"));
  EXPECT_EQ(ReadFile(folder / "a/out/x"), "y");
  EXPECT_TRUE(elsewhere.Tree().empty());
}

// A folder of the course that is a link to elsewhere is not written through.
TEST_F(ExtractArchiveTest, RefusesToWriteThroughALinkOutOfTheCourse) {
  ScratchFolder elsewhere;
  std::filesystem::create_directory_symlink(elsewhere.Path(), course / "media");
  EXPECT_EQ(Extract({{"media/say_x.ogg", "sound"}}), ExtractResult::Refused);
  EXPECT_TRUE(elsewhere.Tree().empty());
  // A link that stays inside the course is followed as usual.
  std::filesystem::create_directory(course / "real");
  std::filesystem::create_directory_symlink(course / "real", course / "inside");
  EXPECT_EQ(Extract({{"inside/x.txt", "x"}}), ExtractResult::Done);
  EXPECT_EQ(ReadFile(course / "real/x.txt"), "x");
}

TEST_F(ExtractArchiveTest, NotAnArchiveOrDamagedIsCorrupt) {
  WriteFile(downloads / "page.html", "<html>404 Not Found</html>");
  EXPECT_EQ(ExtractFile("page.html"), ExtractResult::Corrupt);
  std::string archive = Rar4Archive({{"a.txt", std::string(200, 'a')}, {"b.txt", "b"}});
  WriteFile(downloads / "cut.rar", archive.substr(0, archive.size() - 120));
  EXPECT_EQ(ExtractFile("cut.rar"), ExtractResult::Corrupt);
  archive[archive.size() - 40] ^= 0x55;  // inside the stored data of a.txt
  WriteFile(downloads / "bad.rar", archive);
  EXPECT_EQ(ExtractFile("bad.rar"), ExtractResult::Corrupt);
  EXPECT_TRUE(course.Tree().empty());
}

TEST_F(ExtractArchiveTest, UnwritableCourseFolderIsReportedAsSuch) {
  // A file where the archive needs a folder cannot be written over.
  WriteFile(course / "media", "a file");
  EXPECT_EQ(Extract({{"media/say_x.ogg", "x"}}), ExtractResult::NotWritable);
  EXPECT_EQ(course.Tree(), Strings{"media"});
  EXPECT_EQ(ExtractArchive(downloads / "part.rar", course / "no-such-folder").result,
            ExtractResult::NotWritable);
  if (::geteuid() == 0) return;  // root writes everywhere
  ::chmod(course.Path().c_str(), 0555);
  EXPECT_EQ(Extract({{"course.x01", "x"}}), ExtractResult::NotWritable);
  ::chmod(course.Path().c_str(), 0755);
}

// A course folder as installed: the image and its settings, the sound
// library, a learner's store, media; every hostile part below tries to
// change something in it or beside it.
class HostilePartTest : public ExtractArchiveTest {
 protected:
  void SetUp() override {
    WriteFile(course / "course.bin", "VKBC image");
    WriteFile(course / "course.ini", "[Settings]\nUsersDir=users\n");
    WriteFile(course / "liboggaudio.so", "\x7f" "ELF library");
    std::filesystem::permissions(course / "liboggaudio.so", std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    std::filesystem::create_directories(course / "users");
    WriteFile(course / "users/Ann.vkr", "Ann's progress");
    std::filesystem::create_directories(course / "media");
    WriteFile(course / "media/a.ogg", "OggS old");
    before = course.Snapshot();
    rules.protected_files = {"course.bin", "course.ini"};
  }

  ExtractOptions Options() const {
    ExtractOptions options;
    options.rules = rules;
    return options;
  }

  InstallRules rules;
  std::string before;
};

// One bad entry refuses the whole part, named in the outcome; the good
// entry before it is not installed either, and nothing in the course (nor
// beside it) changes.
TEST_F(HostilePartTest, EveryKindOfForbiddenEntryRefusesThePart) {
  struct Case {
    RarEntry entry;
    const char* reason;
  };
  const Case cases[] = {
      {{"course.bin", "other image"}, "program or settings"},
      {{"COURSE.INI", "[Settings]\nUsersDir=/tmp\n"}, "program or settings"},
      {{"liboggaudio.so", "data"}, "program library"},
      {{"plugins\\libhelper.so.1", "data"}, "program library"},
      {{"users\\Ann.vkr", "blank"}, "learners"},
      {{"Users/Bob.vkr", "new learner"}, "learners"},
      {{"users", "", Kind::Directory}, "learners"},
      {{".profile", "export X=1"}, "hidden"},
      {{"media/.hidden/a.ogg", "OggS"}, "hidden"},
      {{"tool", "\x7f" "ELF\x02\x01"}, "is a program"},
      {{"media/run.ogg", "#!/bin/sh\nrm -rf ~\n"}, "is a program"},
      {{"setup.txt", "plain", Kind::File, 0100755}, "executable"},
      {{"media/new.ogg", "OggS", Kind::File, 0100744}, "executable"},
      {{"help", "/bin/sh", Kind::Symlink}, "link"},
      {{"pipe", "", Kind::File, 0010644}, "special"},
      {{"tty", "", Kind::File, 0020644}, "special"},
      {{"../evil", "payload"}, "outside"},
      {{"media\\..\\..\\evil", "payload"}, "outside"},
      {{"/tmp/evil", "payload"}, "outside"},
      {{"new\nline.ogg", "OggS"}, "control"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry.name);
    EXPECT_EQ(Extract({{"course.x01", "update part"}, c.entry}, Options()), ExtractResult::Refused);
    EXPECT_EQ(outcome.refusal.entry, AsRead(c.entry.name));
    EXPECT_NE(outcome.refusal.reason.find(c.reason), std::string::npos) << outcome.refusal.reason;
    EXPECT_EQ(course.Snapshot(), before);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(course.Path()).parent_path() / "evil"));
  }
}

// A harmless name may still land on a program the course already has.
TEST_F(HostilePartTest, ProgramsAlreadyInTheCourseAreNotReplaced) {
  WriteFile(course / "helper", "#!/bin/sh\n");
  WriteFile(course / "zentor", "plain bytes, but executable");
  std::filesystem::permissions(course / "zentor", std::filesystem::perms::owner_exec,
                               std::filesystem::perm_options::add);
  before = course.Snapshot();
  for (const char* name : {"helper", "zentor"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Extract({{"course.x01", "x"}, {name, "data"}}, Options()), ExtractResult::Refused);
    EXPECT_EQ(outcome.refusal.entry, name);
    EXPECT_EQ(course.Snapshot(), before);
  }
}

TEST_F(HostilePartTest, CourseContentIsAddedAndReplacedWithoutExecuteBits) {
  ASSERT_EQ(Extract({{"course.x01", "update part"},
                     {"media\\a.ogg", "OggS new"},
                     {"docs", "", Kind::Directory},
                     {"docs/read me.html", "<p>hi</p>"},
                     {"lesson.so.txt.bak", "not a library"}},
                    Options()),
            ExtractResult::Done)
      << outcome.refusal.entry << ": " << outcome.refusal.reason;
  EXPECT_EQ(ReadFile(course / "media/a.ogg"), "OggS new");
  EXPECT_EQ(ReadFile(course / "docs/read me.html"), "<p>hi</p>");
  const auto execute = std::filesystem::perms::owner_exec | std::filesystem::perms::group_exec |
                       std::filesystem::perms::others_exec;
  for (const char* name : {"course.x01", "media/a.ogg", "docs/read me.html"})
    EXPECT_EQ(std::filesystem::status(course / name).permissions() & execute,
              std::filesystem::perms::none)
        << name;
  EXPECT_EQ(ReadFile(course / "users/Ann.vkr"), "Ann's progress");
}

TEST(UnpackLimit, SixteenTimesTheDownloadAndNeverIntoTheReserve) {
  constexpr int64_t kMiB = int64_t{1} << 20;
  struct Case {
    int64_t archive, free, expected;
  };
  const Case cases[] = {
      {1000, 100 * 1024 * kMiB, 16000},          // the ratio bounds
      {kMiB, 256 * kMiB + 5 * kMiB, 5 * kMiB},   // the disk bounds
      {kMiB, 200 * kMiB, 0},                     // already inside the reserve
      {0, 100 * 1024 * kMiB, 0},
      {INT64_MAX / 4, INT64_MAX, INT64_MAX - 256 * kMiB},  // no overflow
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.archive) + " " + std::to_string(c.free));
    EXPECT_EQ(UnpackLimit(c.archive, c.free, ExtractOptions{}), c.expected);
  }
}

// The bytes actually written count, entry after entry: a part that passes
// the limit stops and leaves neither files nor its staging folder.
TEST_F(HostilePartTest, PartPastTheUnpackLimitLeavesNothing) {
  ExtractOptions options = Options();
  options.max_unpacked_bytes = 2500;
  const std::vector<RarEntry> part = {{"a.dat", std::string(1000, 'a')},
                                      {"b.dat", std::string(1000, 'b')},
                                      {"c.dat", std::string(1000, 'c')}};
  EXPECT_EQ(Extract(part, options), ExtractResult::TooLarge);
  EXPECT_EQ(outcome.limit_bytes, 2500);
  EXPECT_EQ(course.Snapshot(), before);
  options.max_unpacked_bytes = 3000;
  EXPECT_EQ(Extract(part, options), ExtractResult::Done);
  // A disk that would fall below its reserve takes nothing at all.
  options.max_unpacked_bytes = INT64_MAX;
  options.free_space_reserve = INT64_MAX;
  EXPECT_EQ(Extract({{"d.dat", "d"}}, options), ExtractResult::TooLarge);
  EXPECT_EQ(outcome.limit_bytes, 0);
  EXPECT_FALSE(std::filesystem::exists(course / "d.dat"));
}

// Fails the n-th rename of the move for every n: each time the course folder
// must be byte for byte what it was, with no working folder left; past the
// last rename the part installs.
TEST_F(HostilePartTest, FailedRenameAtAnyStepPutsEverythingBack) {
  const std::vector<RarEntry> part = {{"course.x01", "update part"},
                                      {"media/a.ogg", "OggS new"},
                                      {"media/b.ogg", "OggS added"},
                                      {"lessons/one/l1.txt", "lesson one"},
                                      {"lessons/two.txt", "lesson two"}};
  WriteFile(course / "course.x01", "older part");
  before = course.Snapshot();
  int failures = 0;
  for (int n = 1; n < 50; ++n) {
    SCOPED_TRACE("failing rename " + std::to_string(n));
    int calls = 0;
    ExtractOptions options = Options();
    options.rename = [&](const std::string& from, const std::string& to) {
      return ++calls != n && RenameWithSystem(from, to);
    };
    const ExtractResult result = Extract(part, options);
    if (result == ExtractResult::Done) break;
    ++failures;
    EXPECT_EQ(result, ExtractResult::NotWritable);
    EXPECT_EQ(course.Snapshot(), before);
  }
  // Two replaced files (each moved aside, then in) and three new ones.
  EXPECT_EQ(failures, 7);
  EXPECT_EQ(ReadFile(course / "course.x01"), "update part");
  EXPECT_EQ(ReadFile(course / "lessons/one/l1.txt"), "lesson one");
  EXPECT_EQ(ReadFile(course / "users/Ann.vkr"), "Ann's progress");
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
