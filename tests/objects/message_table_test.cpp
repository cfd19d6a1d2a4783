// Every message that classes.vkd declares, sent to the class the player
// registers for it with arguments of the declared types: the handler pops
// exactly the declared arguments and pushes a result exactly when one is
// declared. A handler that fails (an empty name is no resource) must still
// have popped exactly its arguments and pushed nothing.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "support/objects_fixture.h"
#include "shell/player_classes.h"
#include "vkc/declarations.h"

namespace vork::testing {
namespace {

namespace fs = std::filesystem;

// Messages whose effect reaches outside the test process or waits for a
// person; each is named with its reason.
const std::set<std::pair<std::string, std::string>> kNotSent = {
    {"System", "newMediaPlayer"},     // a media player ends the program
    {"System", "pictureDialog"},      // a modal window waiting for a click
    {"System", "fullPictureDialog"},  // the same
    {"System", "runProgram"},         // starts another program
    {"System", "sendKeys"},           // types into whatever window has the focus
    {"System", "installPart"},        // downloads and installs
    {"System", "zentorPlay"},         // starts another program
    {"System", "destroy"},            // the one system object serves every row
};

class MessageTable : public ObjectsTest, public ::testing::WithParamInterface<int32_t> {
 protected:
  MessageTable() {
    scratch_ = fs::temp_directory_path() / ("vork-message-table-" + std::to_string(::getpid()));
    fs::create_directories(scratch_);
    previous_directory_ = fs::current_path();
    fs::current_path(scratch_);
    ::setenv("XDG_CONFIG_HOME", scratch_.c_str(), 1);
    ::setenv("VORK_PRINT_PDF", (scratch_ / "printed.pdf").c_str(), 1);
    // A declared message the handler does not know ends the program through
    // a fatal check; here it fails the row instead.
    host.fatal_checks_throw = true;
    RegisterPlayerClasses(*manager);
  }
  ~MessageTable() override {
    manager.reset();
    fs::current_path(previous_directory_);
    ::unsetenv("VORK_PRINT_PDF");
    fs::remove_all(scratch_);
  }

  int32_t Argument(const ParamDecl& param) {
    // A routine that takes the one argument event routines get.
    if (param.type_name == "routine") return Entry("count");
    switch (param.kind) {
      case ValueKind::String: return NewString("");
      case ValueKind::Handle: return manager->CreateObject(param.class_index);
      default: return 0;
    }
  }

  // Sends message to a new object of class_index; answers the change of the
  // stack length in words and whether the handler failed.
  std::pair<int32_t, bool> StackChange(int32_t class_index, const MessageDecl& message) {
    const int32_t receiver =
        class_index == ClassDeclarations::kSystemClass ? system_ : manager->CreateObject(class_index);
    std::vector<int32_t> arguments;
    for (const ParamDecl& param : message.params) arguments.push_back(Argument(param));
    const int32_t length = stack.Length();
    for (int32_t argument : arguments) stack.Push(argument);
    bool failed = false;
    try {
      manager->SendMsg(receiver, message.index);
    } catch (const FatalCheckFailure& unhandled) {
      ADD_FAILURE() << unhandled.what();
    } catch (const std::exception&) {
      failed = true;
    }
    return {(stack.Length() - length) / 4, failed};
  }

  int32_t system_ = 0;
  fs::path scratch_;
  fs::path previous_directory_;
};

TEST_P(MessageTable, HandlersPopTheDeclaredArgumentsAndPushTheDeclaredResult) {
  const ClassDeclarations& classes = ClassDeclarations::BuiltIn();
  const ClassDecl& decl = *classes.ClassByIndex(GetParam());
  // One system object serves every row: the player makes only one.
  system_ = manager->CreateObject(ClassDeclarations::kSystemClass);
  std::vector<MessageDecl> messages = decl.messages;
  for (const MessageDecl& common : classes.Common()) {
    // init and release are the object manager's own, around every object's life.
    if (!common.hidden) messages.push_back(common);
  }
  for (const MessageDecl& message : messages) {
    if (kNotSent.contains({decl.name, message.name})) continue;
    SCOPED_TRACE(decl.name + "." + message.name + " (" + std::to_string(message.index) + ")");
    const auto [change, failed] = StackChange(decl.index, message);
    const int32_t pushes = message.result == ValueKind::None ? 0 : 1;
    EXPECT_EQ(change, failed ? 0 : pushes) << (failed ? "failed, and must pop exactly its arguments" : "");
  }
}

std::vector<int32_t> SentClasses() {
  std::vector<int32_t> indices;
  for (const auto& [index, decl] : ClassDeclarations::BuiltIn().Classes()) {
    // Creating a media player ends the program; the glossary and comment
    // windows are made only over a course archive beside the player that
    // holds their backgrounds (their messages are tested with their windows
    // in tests/dialogs).
    if (index == ToWord(ClassIndex::MediaPlayer) || index == ToWord(ClassIndex::GlossaryWindow) ||
        index == ToWord(ClassIndex::CommentWindow)) {
      continue;
    }
    indices.push_back(index);
  }
  return indices;
}

INSTANTIATE_TEST_SUITE_P(EveryClass, MessageTable, ::testing::ValuesIn(SentClasses()),
                         [](const ::testing::TestParamInfo<int32_t>& param) {
                           return ClassDeclarations::BuiltIn().ClassByIndex(param.param)->name;
                         });

}  // namespace
}  // namespace vork::testing
