// The author's loop under --dev: a course built from its source folder, a
// saved change that shows in the running player at the scene it was on, a
// broken save that leaves the course running, and the learner's store kept
// across the restarts. The reload scene chooser is checked on its own with
// small maps.

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "shell/dev_reloader.h"

namespace vork {
namespace {

// Two scenes: the first moves on to the second at once, the second shows its
// caption as the stage has it, and how often the learner has seen it (kept in
// the learner's settings). The second visit ends the course.
std::string Lesson(const std::string& caption, const std::string& extra = "") {
  return R"(Sprite card;
void main() { sys.changeScene(first); }
scene first(phase) {
  if (phase == SHOWN) { sys.showInfo("first"); sys.changeScene(second); }
}
scene second(phase) {
  if (phase == BUILD) {
    card = sys.newSprite();
    card.setBounds(40, 40, 300, 40);
    card.setCaption(")" + caption + R"(");
  } else if (phase == SHOWN) {
    string visits = sys.userString("visits", "") + "x";
    sys.setUserString("visits", visits);
    Text shown = card.caption();
    sys.showInfo("second: " + shown.text() + " " + visits);
    if (visits == "xx") sys.changeScene(0);
  }
}
)" + extra;
}

void Save(const QString& path, const std::string& text) {
  std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
  out << text;
}

std::string ReadText(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Polls until done() or the time is up; the milliseconds it took, or -1.
qint64 WaitFor(const std::function<bool()>& done, int limit_ms = 15000) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < limit_ms) {
    if (done()) return clock.elapsed();
    QThread::msleep(2);
  }
  return -1;
}

TEST(DevReload, ASavedCaptionShowsAtTheSameSceneAndABrokenSaveLeavesTheCourseRunning) {
  QTemporaryDir work;
  ASSERT_TRUE(work.isValid());
  const QDir root(work.path());
  ASSERT_TRUE(root.mkpath("course/resources") && root.mkpath("tmp") && root.mkpath("runtime") &&
              root.mkpath("config"));
  QFile::setPermissions(root.filePath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const QString source = root.filePath("course/lesson.vkc");
  const QString transcript = root.filePath("transcript");
  Save(source, Lesson("Hola"));
  Save(root.filePath("course/resources/words.txt"), "perro=dog\n");

  QProcess player;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("SDL_AUDIODRIVER", "dummy");
  environment.insert("HOME", work.path());
  environment.insert("TMPDIR", root.filePath("tmp"));
  environment.insert("XDG_RUNTIME_DIR", root.filePath("runtime"));
  environment.insert("XDG_CONFIG_HOME", root.filePath("config"));
  player.setProcessEnvironment(environment);
  player.setWorkingDirectory(work.path());
  player.start(VORK_BINARY_DIR "/vork",
               {"--dev", "course/lesson.vkc", "--transcript", "transcript", "--timeout", "30000"});
  ASSERT_TRUE(player.waitForStarted());
  QString errors;
  auto has_error_text = [&](const char* text) {
    player.waitForReadyRead(1);
    errors += QString::fromUtf8(player.readAllStandardError());
    return errors.contains(text);
  };

  ASSERT_GE(WaitFor([&] { return ReadText(transcript).find("second: Hola x\n") != std::string::npos; }), 0)
      << ReadText(transcript) << errors.toStdString();

  // A save that does not compile: the compiler's message names the file and
  // line, and the course that runs is left alone.
  Save(source, Lesson("Hola", "scene broken(phase) { sys.showInfo(; }\n"));
  ASSERT_GE(WaitFor([&] { return has_error_text("lesson.vkc:19:"); }), 0) << errors.toStdString();
  EXPECT_EQ(player.state(), QProcess::Running);
  EXPECT_EQ(ReadText(transcript), "info: first\ninfo: second: Hola x\n");

  Save(source, Lesson("Adios"));
  const qint64 loop_ms =
      WaitFor([&] { return ReadText(transcript).find("second: Adios") != std::string::npos; });
  ASSERT_GE(loop_ms, 0) << ReadText(transcript) << errors.toStdString();
  RecordProperty("edit_save_see_ms", static_cast<int>(loop_ms));
  std::printf("edit, save, see: %lld ms\n", static_cast<long long>(loop_ms));

  ASSERT_TRUE(player.waitForFinished(15000));
  has_error_text("");
  // One process all along, restarted at the second scene (the first did
  // not show again), with the learner's "visits" kept.
  EXPECT_EQ(player.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(player.exitCode(), 0) << errors.toStdString();
  EXPECT_EQ(ReadText(transcript), "info: first\ninfo: second: Hola x\ninfo: second: Adios xx\n");
  // The scratch folder goes with the player.
  EXPECT_TRUE(QDir(root.filePath("tmp")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST(DevReload, AStartThatDoesNotCompileEndsWithTheCompilersMessage) {
  QTemporaryDir work;
  ASSERT_TRUE(work.isValid());
  const QString source = work.filePath("bad.vkc");
  Save(source, "void main() { sys.nothing(); }\n");
  QProcess player;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("TMPDIR", work.path());
  player.setProcessEnvironment(environment);
  player.start(VORK_BINARY_DIR "/vork", {"--dev", source, "--transcript", "-", "--timeout", "20000"});
  ASSERT_TRUE(player.waitForFinished(20000));
  EXPECT_EQ(player.exitCode(), 1);
  EXPECT_TRUE(QString::fromUtf8(player.readAllStandardError()).contains("bad.vkc:1:"));
}

// The first course of a new author keeps a word list made in main() past the
// scene change that releases it: every notice names the line, the routine and
// the scene change, in the boxes as well under --dev.
TEST(DevReload, TheFirstCourseMistakeNamesTheLineTheRoutineAndTheSceneChange) {
  QTemporaryDir work;
  ASSERT_TRUE(work.isValid());
  ASSERT_TRUE(QFile::copy(VORK_SOURCE_DIR "/tests/desktop/flash.vkc", work.filePath("flash.vkc")));
  Save(work.filePath("answers.events"), "type dog\nkey Return\nwait 100\n");
  QProcess player;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("SDL_AUDIODRIVER", "dummy");
  environment.insert("TMPDIR", work.path());
  environment.insert("HOME", work.path());
  player.setProcessEnvironment(environment);
  player.setWorkingDirectory(work.path());
  player.start(VORK_BINARY_DIR "/vork", {"--dev", "flash.vkc", "--transcript", "transcript", "--events",
                                         "answers.events", "--timeout", "3000"});
  ASSERT_TRUE(player.waitForFinished(20000));
  const std::string transcript = ReadText(work.filePath("transcript"));
  const std::string errors = QString::fromUtf8(player.readAllStandardError()).toStdString();
  const std::string released = "(a StringList, released by the scene change to ask)";
  for (const std::string& place : {std::string("flash.vkc:13 in ask (scene, BUILD) "),
                                   std::string("flash.vkc:19 in answered ")}) {
    EXPECT_NE(transcript.find(place + released), std::string::npos) << place << "\n" << transcript;
    EXPECT_NE(errors.find(place + released), std::string::npos) << place << "\n" << errors;
  }
  EXPECT_NE(transcript.find("plain: sendmsg: invalid handle: $00100001\\n/"), std::string::npos) << transcript;
}

// Scene routines found again by name after a rebuild moved them.
TEST(DevReload, TheSceneAfterAReloadIsFoundByItsName) {
  const SourceMap before = SourceMap::Parse(
      "vkmap 1\nfile 0 a.vkc\nroutine 0 main main\nroutine 40 scene intro\nroutine 90 scene quiz\n"
      "routine 150 routine helper\n");
  const SourceMap after = SourceMap::Parse(
      "vkmap 1\nfile 0 a.vkc\nroutine 0 main main\nroutine 60 scene intro\nroutine 130 routine quiz\n"
      "routine 200 scene helper\nroutine 260 scene outro\n");
  struct Case {
    int32_t showing;
    int32_t expected;
  } const cases[] = {
      {40, 60},   // moved
      {90, 0},    // no longer a scene
      {150, 200}, // shown as a scene before, declared as one now
      {0, 0},     // no scene shown yet
      {45, 0},    // not a routine's entry
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DevReloader::SceneAfterReload(before, c.showing, after), c.expected) << c.showing;
  }
  EXPECT_EQ(DevReloader::SceneAfterReload(SourceMap(), 40, after), 0);
}

}  // namespace
}  // namespace vork
