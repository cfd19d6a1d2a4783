// Warnings for courses that compile but go wrong at run time: each case is a
// small source and every warning it must give, so a false warning fails too.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "bridge/object.h"
#include "bridge/object_manager.h"
#include "support/test_machine.h"
#include "vkc/compiler.h"

namespace vork::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

std::vector<std::string> WarningsOf(std::string_view source, std::string_view file = "course.vkc") {
  std::vector<std::string> texts;
  for (const LintWarning& warning : CompileCourse(source, file).warnings) texts.push_back(warning.Text());
  return texts;
}

struct LintCase {
  const char* source;
  std::vector<const char*> expected;  // one substring per warning, in line order
};

void ExpectWarnings(const std::vector<LintCase>& cases) {
  for (const LintCase& c : cases) {
    const auto warnings = WarningsOf(c.source);
    std::string all;
    for (const auto& text : warnings) all += "\n  " + text;
    ASSERT_EQ(warnings.size(), c.expected.size()) << c.source << "\nwarnings:" << all;
    for (size_t i = 0; i < warnings.size(); ++i) EXPECT_THAT(warnings[i], HasSubstr(c.expected[i])) << c.source;
  }
}

// The first course an author writes: a word list made in main and read by
// its scenes, which the first scene change has already released.
constexpr const char* kFlash = R"(word shown; word right; StringList words; Edit answer;
void main() {
  words = sys.newStringList();
  words.add("perro=dog"); words.add("gato=cat"); words.add("casa=house");
  sys.changeScene(ask);
}
scene ask(phase) {
  if (phase == BUILD) {
    Sprite card = sys.newSprite();
    card.setBounds(40, 40, 300, 40);
    card.setCaption(sys.field(words.get(shown), "=", 0));
    answer = sys.newEdit(); answer.setTop(100); answer.setWidth(200);
    answer.setOnEnter(answered);
  } else if (phase == SHOWN) answer.focus();
}
void answered(Edit self) {
  if (sys.answerMatches(sys.field(words.get(shown), "=", 1), self.text())) right += 1;
  shown += 1;
  if (shown == words.count()) { sys.showInfo("You got " + right); sys.changeScene(0); }
  else sys.changeScene(ask);
}
)";

TEST(CourseLint, TheFirstCourseMistakeIsNamedAtItsLine) {
  const auto warnings = WarningsOf(kFlash, "flash.vkc");
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_THAT(warnings[0], HasSubstr("flash.vkc:3: warning: 'words' (a StringList) is set in main, outside a "
                                     "scene's BUILD phase, and used in ask: the next scene change releases it"));
}

TEST(CourseLint, HandlesThatSceneChangesRelease) {
  ExpectWarnings({
      // Made where the scene is built: it lives as long as the scene.
      {"Sprite s;\n"
       "void main() { sys.changeScene(a); }\n"
       "scene a(phase) { if (phase == BUILD) s = sys.newSprite(); else s.setLeft(1); }\n"
       "void f(Sprite self) { s.setTop(2); }\n"
       "void g() { sys.newSprite().setOnClick(f); }",
       {"5: warning: routine 'g' is never used"}},
      {"Sprite s;\nvoid main() { sys.changeScene(a); }\n"
       "scene a(phase) {\n  if (phase != BUILD) return;\n  s = sys.newSprite();\n  s.setOnClick(f);\n}\n"
       "void f(Sprite self) { s.setTop(2); }",
       {}},
      {"Sprite s;\nvoid main() { sys.changeScene(a); }\n"
       "scene a(phase) { if (0 != phase) { s.setLeft(1); } else { s = sys.newSprite(); s.setOnClick(f); } }\n"
       "void f(Sprite self) { s.setTop(2); }",
       {}},
      // A helper that only the BUILD phase calls builds too; one that main
      // also calls does not.
      {"Timer t;\nvoid main() { sys.changeScene(a); }\nvoid make() { t = sys.newTimer(); }\n"
       "void more() { make(); }\n"
       "scene a(phase) { if (phase == BUILD) more(); if (phase == SHOWN) t.start(); }",
       {}},
      // One that also runs as an event (it hands itself on) does not.
      {"Memo m;\nvoid main() { sys.changeScene(a); }\n"
       "void again(Timer self) { m = sys.newMemo(); sys.newTimer().setOnTick(again); }\n"
       "scene a(phase) { if (phase == BUILD) again(0); }\nvoid f(Sprite self) { m.clear(); }\n"
       "void g() { sys.newSprite().setOnClick(f); }",
       {"3: warning: 'm' (a Memo) is set in again, outside a scene's BUILD phase, and used in f",
        "6: warning: routine 'g' is never used"}},
      {"Timer t;\nvoid main() { make(); sys.changeScene(a); }\nvoid make() { t = sys.newTimer(); }\n"
       "scene a(phase) { if (phase == BUILD) make(); if (phase == SHOWN) t.start(); }",
       {"3: warning: 't' (a Timer) is set in make, outside a scene's BUILD phase, and used in a"}},
      // The SHOWN phase and event routines are outside BUILD.
      {"Memo m;\nvoid main() { sys.changeScene(a); }\n"
       "scene a(phase) {\n  if (phase == SHOWN) m = sys.newMemo();\n  if (phase == LEAVE) m.clear();\n}\n"
       "void f(Sprite self) { m.setVisible(true); }\nvoid g() { sys.newSprite().setOnClick(f); }",
       {"4: warning: 'm' (a Memo) is set in a, outside a scene's BUILD phase, and used in f",
        "8: warning: routine 'g' is never used"}},
      // Used in the same scene's other phases only: the scene change comes after them.
      {"Memo m;\nvoid main() { sys.changeScene(a); }\n"
       "scene a(phase) {\n  if (phase == SHOWN) m = sys.newMemo();\n  if (phase == LEAVE) m.clear();\n}",
       {}},
      {"Memo m;\nvoid main() { sys.changeScene(a); }\n"
       "scene a(phase) { if (phase == BUILD) sys.newSprite().setOnClick(f); }\n"
       "void f(Sprite self) { m = sys.newMemo(); }\nvoid g(Timer self) { m.clear(); }\n"
       "scene b(phase) { sys.newTimer().setOnTick(g); sys.changeScene(b); }",
       {"4: warning: 'm' (a Memo) is set in f, outside a scene's BUILD phase, and used in g",
        "6: warning: scene 'b' is never used"}},
      // Made in one scene's BUILD phase and used by the next scene, which
      // finds it released, unless that scene makes its own.
      {"Sprite s;\nvoid main() { sys.changeScene(a); }\n"
       "scene a(phase) { if (phase == BUILD) s = sys.newSprite(); else sys.changeScene(b); }\n"
       "scene b(phase) {\n  if (phase == SHOWN) s.setLeft(1);\n  if (phase == LEAVE) s.setTop(1);\n}",
       {"5: warning: 's' (a Sprite) is used in scene b, but only the BUILD phase of a sets it: the scene change "
        "to b has released it"}},
      {"Sprite s;\nvoid main() { sys.changeScene(a); }\n"
       "scene a(phase) { if (phase == BUILD) s = sys.newSprite(); else sys.changeScene(b); }\n"
       "scene b(phase) { if (phase == BUILD) s = sys.newSprite(); else s.setLeft(1); }",
       {}},
      // Used only where it was made, forgotten with 0, or of a class that
      // scene changes keep: nothing to say.
      {"StringList l;\nvoid main() { l = sys.newStringList(); l.add(\"x\"); sys.showInfo(l.get(0)); }", {}},
      {"Sprite s;\nvoid main() { s = 0; sys.changeScene(a); }\n"
       "scene a(phase) { if (phase == BUILD) { s = sys.newSprite(); s.setOnClick(f); } }\n"
       "void f(Sprite self) { s.setTop(1); }",
       {}},
      {"System other;\nvoid main() { other = sys; f(); }\nvoid f() { other.showInfo(\"x\"); }", {}},
  });
}

TEST(CourseLint, EventRoutinesMustTakeWhatTheirEventPushes) {
  ExpectWarnings({
      {"void clicked(Sprite self) {}\nvoid main() { sys.newSprite().setOnClick(clicked); }", {}},
      // A handle arrives as a word just as well.
      {"void clicked(word self) {}\nvoid main() { sys.newSprite().setOnClick(clicked); }", {}},
      {"void clicked() {}\nvoid main() { sys.newSprite().setOnClick(clicked); }",
       {"2: warning: Sprite.setOnClick runs 'clicked' with (Sprite self), but clicked takes (); "
        "declare it as clicked(Sprite self)"}},
      {"void clicked(Edit self) {}\nvoid main() { sys.newSprite().setOnClick(clicked); }",
       {"2: warning: Sprite.setOnClick runs 'clicked' with (Sprite self), but clicked takes (Edit self)"}},
      {"void up(Sprite self, word button) {}\nvoid main() { sys.newSprite().setOnMouseUp(up); }",
       {"runs 'up' with (Sprite self, word button, word shift, word x, word y), but up takes "
        "(Sprite self, word button)"}},
      {"void up(Sprite s, word b, word k, word x, word y) {}\nvoid main() { sys.newSprite().setOnMouseDown(up); }",
       {}},
      // A string the event pushes is the routine's to destroy; a word is not.
      {"void hot(HtmlViewer self, word target) {}\nvoid main() { sys.newHtmlViewer().setOnHotSpot(hot); }",
       {"takes (HtmlViewer self, word target)"}},
      {"void change(Crossword self, string w, string cue) {}\n"
       "void main() { sys.newCrossword().setOnWordChange(change); }",
       {}},
      // An event takes no result back.
      {"word clicked(Sprite self) { return 1; }\nvoid main() { sys.newSprite().setOnClick(clicked); }",
       {"2: warning: Sprite.setOnClick runs 'clicked' as an event, which takes no result, but clicked returns a "
        "word"}},
      // Scenes get their phase; key routines 0, the key and the shift state.
      {"void f() {}\nvoid main() { sys.changeScene(f); }", {"takes (); declare it as f(word phase)"}},
      {"scene a(phase) {}\nvoid main() { sys.changeScene(a); sys.newSprite().setClickScene(a); }", {}},
      {"void key(System sender, word key, word shift) {}\nvoid main() { sys.setKeyHandler(key); }", {}},
      {"void key(word key) {}\nvoid main() { sys.setFunctionKeyHandler(key); }",
       {"System.setFunctionKeyHandler runs 'key' with (word zero, word key, word shift)"}},
      {"void later(word zero) {}\nvoid main() { sys.callLater(0, later); sys.runRoutine(later, 5); }", {}},
      // A routine that is not handed to an event is not checked.
      {"void f(word a, word b) {}\nvoid main() { word r = f; sys.newSprite().setOnClick(r); }", {}},
  });
}

TEST(CourseLint, UnusedVariablesAndRoutines) {
  ExpectWarnings({
      {"word never;\nstring named = \"x\";\nvoid main() { named = \"y\"; }",
       {"1: warning: 'never' is never used", "2: warning: 'named' is set but never used"}},
      {"void main() {\n  word a;\n  word b = 2;\n  word c = 3;\n  sys.showInfo(str(c));\n}",
       {"2: warning: 'a' is never used", "3: warning: 'b' is set but never used"}},
      // += changes a variable without using it.
      {"word n;\nvoid main() { n += 1; }", {"1: warning: 'n' is set but never used"}},
      // Parameters are what the caller or event pushes: never warned about.
      {"void f(word unused) {}\nvoid main() { f(1); }", {}},
      // A routine that only calls itself is still unused; main never is.
      {"word down(word n) { if (n == 0) return 0; return down(n - 1); }\nvoid main() {}",
       {"1: warning: routine 'down' is never used"}},
      {"scene lonely(phase) { sys.changeScene(lonely); }\nvoid main() {}",
       {"1: warning: scene 'lonely' is never used"}},
      // An entry handed on counts as a use.
      {"void tick(Timer self) {}\nvoid main() { sys.newTimer().setOnTick(tick); }", {}},
  });
}

TEST(CourseLint, CodeAfterReturnOrStop) {
  ExpectWarnings({
      {"word n;\nvoid main() {\n  return;\n  n = 1;\n  n = 2;\n}",
       {"1: warning: 'n' is set but never used", "4: warning: this code never runs: it follows 'return'"}},
      {"void main() {\n  stop;\n  { sys.showInfo(\"x\"); }\n}",
       {"3: warning: this code never runs: it follows 'stop'"}},
      {"word f(word n) {\n  while (n > 0) {\n    return n;\n    n -= 1;\n  }\n  return 0;\n}\nvoid main() { f(1); }",
       {"4: warning: this code never runs: it follows 'return'"}},
      // A return inside an if leaves the rest of the block reachable.
      {"word n;\nvoid main() {\n  if (n == 0) return;\n  n = 1;\n  sys.showInfo(str(n));\n}", {}},
  });
}

// Which classes a scene change releases comes from the declaration file; it
// must agree with the object manager, which releases every object it did not
// mark otherwise.
TEST(CourseLint, KeptClassesAreTheOnesTheObjectManagerKeeps) {
  class Plain : public TVkObject {};
  TestMachine machine;
  for (const auto& [index, decl] : ClassDeclarations::BuiltIn().Classes()) {
    if (index == ClassDeclarations::kStringClass) continue;  // built into the manager
    machine.manager->RegisterClass<Plain>(index);
    const int32_t handle = machine.manager->CreateObject(index);
    EXPECT_EQ(machine.manager->Find(handle)->AutoRelease(), !decl.kept) << decl.name;
  }
  EXPECT_TRUE(ClassDeclarations::BuiltIn().ClassByIndex(ClassDeclarations::kStringClass)->kept);
}

// Every routine argument of the built-in file says what its event pushes,
// so no setter goes unchecked; only the entries that are called, not run by
// an event, are exempt.
TEST(CourseLint, EveryEventSetterDeclaresWhatItPushes) {
  for (const auto& [index, decl] : ClassDeclarations::BuiltIn().Classes()) {
    for (const MessageDecl& message : decl.messages) {
      for (const ParamDecl& param : message.params) {
        if (param.type_name == "routine") {
          EXPECT_TRUE(param.event) << decl.name << "." << message.name;
        }
      }
    }
  }
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(CourseLint, TheShippedCoursesAreClean) {
  std::vector<fs::path> courses = {fs::path(VORK_SOURCE_DIR) / "courses" / "demo" / "demo.vkc"};
  for (const auto& entry : fs::directory_iterator(fs::path(VORK_SOURCE_DIR) / "examples")) {
    if (entry.path().extension() == ".vkc") courses.push_back(entry.path());
  }
  ASSERT_GT(courses.size(), 1u);
  for (const auto& path : courses) {
    const auto warnings = WarningsOf(ReadFile(path), path.string());
    std::string all;
    for (const auto& text : warnings) all += "\n" + text;
    EXPECT_TRUE(warnings.empty()) << all;
  }
}

class VkcCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vkc_lint_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    std::ofstream(dir_ / "flash.vkc") << kFlash;
  }
  void TearDown() override { fs::remove_all(dir_); }
  int Vkc(const std::string& arguments) {
    const std::string command = std::string(VORK_BINARY_DIR) + "/vkc " + (dir_ / "flash.vkc").string() + " " +
                                arguments + " >" + (dir_ / "out.txt").string() + " 2>" + (dir_ / "err.txt").string();
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Err() { return ReadFile(dir_ / "err.txt"); }
  fs::path dir_;
};

TEST_F(VkcCheck, CheckWarnsAndWritesNothing) {
  EXPECT_EQ(Vkc("--check"), 0);
  EXPECT_THAT(Err(), HasSubstr("flash.vkc:3: warning: 'words' (a StringList) is set in main"));
  EXPECT_FALSE(fs::exists(dir_ / "flash.vkbc"));
}

TEST_F(VkcCheck, WarningsNeverStopABuildUnlessTheyAreErrors) {
  EXPECT_EQ(Vkc(""), 0);
  EXPECT_THAT(Err(), HasSubstr("flash.vkc:3: warning:"));
  EXPECT_TRUE(fs::exists(dir_ / "flash.vkbc"));
  fs::remove(dir_ / "flash.vkbc");
  for (const char* arguments : {"--werror", "--check --werror"}) {
    EXPECT_EQ(Vkc(arguments), 1) << arguments;
    EXPECT_THAT(Err(), HasSubstr("1 warning(s) treated as errors")) << arguments;
    EXPECT_FALSE(fs::exists(dir_ / "flash.vkbc")) << arguments;
  }
}

}  // namespace
}  // namespace vork::testing
