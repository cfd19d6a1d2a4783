#include "bridge/string_object.h"

#include <gtest/gtest.h>

#include <set>

#include "bridge_fixture.h"

namespace vork {
namespace {

TEST(StringObjectTest, AssignAppendAndCompareKeepTheirArgument) {
  BridgeFixture f;
  const int32_t target = f.NewString("x");
  const int32_t other = f.NewString("abc");
  f.stack.Push(other);
  f.manager->SendMsg(target, ToWord(StringMessage::Assign));
  EXPECT_EQ(f.StringAt(target).Text(), "abc");
  f.stack.Push(other);
  f.manager->SendMsg(target, ToWord(StringMessage::Append));
  EXPECT_EQ(f.StringAt(target).Text(), "abcabc");
  f.stack.Push(target);  // its own handle doubles the text
  f.manager->SendMsg(target, ToWord(StringMessage::Append));
  EXPECT_EQ(f.StringAt(target).Text(), "abcabcabcabc");
  EXPECT_TRUE(f.manager->IsLive(other));
  EXPECT_EQ(f.stack.Length(), 0);
}

TEST(StringObjectTest, RunawayAppendingFailsBeforeMemoryRunsOut) {
  BridgeFixture f;
  const int32_t text = f.NewString(std::string(1 << 20, 'x'));
  for (int round = 0; round < 4; ++round) {  // 2, 4, 8, 16 MiB
    f.stack.Push(text);
    f.manager->SendMsg(text, ToWord(StringMessage::Append));
  }
  f.stack.Push(text);
  EXPECT_THROW(f.manager->SendMsg(text, ToWord(StringMessage::Append)), EVkError);
  EXPECT_EQ(f.StringAt(text).Text().size(), size_t{16} << 20);
}

TEST(StringObjectTest, CompareOrdersBytesAsUnsignedValues) {
  struct Case {
    const char* left;
    const char* right;
    int sign;
  };
  const Case cases[] = {
      {"abc", "abd", -1}, {"ab", "abc", -1}, {"B", "a", -1}, {"same", "same", 0},
      {"abd", "abc", 1},  {"", "", 0},       {"\xE9", "z", 1},
  };
  BridgeFixture f;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.left) + " / " + c.right);
    const int32_t left = f.NewString(c.left);
    f.stack.Push(f.NewString(c.right));
    f.manager->SendMsg(left, ToWord(StringMessage::Compare));
    const int32_t result = f.stack.Pop();
    EXPECT_EQ((result > 0) - (result < 0), c.sign);
    EXPECT_EQ(f.stack.Length(), 0);
  }
}

TEST(StringObjectTest, ConstantsAreReadFromTheImageUpToTheirNul) {
  BridgeFixture f;
  const std::vector<uint8_t> area = {'h', 'i', 0, 'x', 0, 'e', 'n', 'd'};
  f.processor.LoadImage(area);
  struct Case {
    int32_t offset;
    const char* text;
  };
  for (const Case& c : {Case{0, "hi"}, Case{2, ""}, Case{3, "x"}, Case{5, "end"}, Case{8, ""}, Case{-4, ""}}) {
    const int32_t target = f.NewString("old");
    f.stack.Push(c.offset);
    f.manager->SendMsg(target, ToWord(StringMessage::FromConstant));
    EXPECT_EQ(f.StringAt(target).Text(), c.text) << "offset " << c.offset;
  }
}

TEST(StringObjectTest, AnArgumentThatIsNoLiveStringIsAnError) {
  BridgeFixture f;
  f.RecordClasses({3});
  const int32_t target = f.NewString("x");
  const int32_t dead = f.NewString("y");
  f.manager->SendMsg(dead, CommonMessage::Destroy);
  for (int32_t argument : {dead, 0, f.manager->CreateObject(3)}) {
    f.stack.Push(argument);
    EXPECT_THROW(f.manager->SendMsg(target, ToWord(StringMessage::Append)), EVkError);
  }
  EXPECT_EQ(f.StringAt(target).Text(), "x");
}

TEST(StringObjectTest, StringsMadeAfterOthersWereFreedStartFresh) {
  // Freed string objects are reused: nothing of their earlier life (text,
  // tags, properties) may show, and no earlier handle may name them.
  BridgeFixture f;
  auto* system = dynamic_cast<TVkScriptObject*>(f.manager->Find(f.manager->CreateObject(0)));
  ASSERT_NE(system, nullptr);
  const auto property = [&](int32_t handle) {
    f.stack.Push(f.NewString("key"));
    f.manager->SendMsg(handle, ToWord(CommonMessage::Property));
    return system->PopString();
  };
  std::set<int32_t> freed;
  for (int round = 0; round < 3; ++round) {
    std::vector<int32_t> handles;
    for (int i = 0; i < 100; ++i) {
      const int32_t handle = f.manager->CreateObject(0);
      SCOPED_TRACE("round " + std::to_string(round) + ", string " + std::to_string(i));
      EXPECT_EQ(freed.count(handle), 0u);
      EXPECT_EQ(f.StringAt(handle).Text(), "");
      EXPECT_EQ(f.StringAt(handle).GetTags(), "");
      EXPECT_EQ(property(handle), "");
      f.StringAt(handle).SetText(std::string(i % 2 == 0 ? 3 : 1000, 'x'));
      f.StringAt(handle).SetTags("old|tags");
      f.stack.Push(f.NewString("key"));
      f.stack.Push(f.NewString("value"));
      f.manager->SendMsg(handle, ToWord(CommonMessage::SetProperty));
      handles.push_back(handle);
    }
    for (int32_t handle : handles) {
      f.manager->SendMsg(handle, CommonMessage::Destroy);
      freed.insert(handle);
    }
    for (int32_t handle : freed) EXPECT_FALSE(f.manager->IsLive(handle));
    EXPECT_EQ(f.manager->Count(), 1);
  }
  EXPECT_EQ(f.Boxes(), "");
}

TEST(StringObjectTest, AStringClassReplacedByAnotherClassMakesNoStrings) {
  BridgeFixture f;
  f.manager->RegisterClass(0, [](TVkObjectManager&) { return std::make_unique<TVkScriptObject>(); });
  auto* object = dynamic_cast<TVkScriptObject*>(f.manager->Find(f.manager->CreateObject(0)));
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(f.manager->FindString(object->Handle()), nullptr);
  EXPECT_THROW(object->PushString("text"), EVkError);
  f.stack.Push(object->Handle());
  EXPECT_THROW(object->PopString(), EVkError);
}

TEST(StringObjectTest, AStringClassOfItsOwnReceivesEveryStringMessage) {
  // Built-in strings take a short way to their handler; a registered string
  // class must still see each message through its own handler.
  BridgeFixture f;
  f.RecordClasses({0});
  const int32_t target = f.manager->CreateObject(0);
  const int32_t other = f.manager->CreateObject(0);
  f.StringAt(other).SetText("ab");
  f.log.clear();
  for (StringMessage message : {StringMessage::Assign, StringMessage::Append, StringMessage::Compare}) {
    f.stack.Push(other);
    f.manager->SendMsg(target, ToWord(message));
  }
  f.stack.Push(-1);
  f.manager->SendMsg(other, ToWord(StringMessage::FromConstant));
  EXPECT_EQ(f.log, (std::vector<std::string>{"c0#1 0", "c0#1 2", "c0#1 3", "c0#2 1"}));
  EXPECT_EQ(f.StringAt(target).Text(), "abab");
  EXPECT_EQ(f.StringAt(other).Text(), "");
  EXPECT_EQ(f.stack.Pop(), 1);  // "abab" after "ab"
  EXPECT_EQ(f.stack.Length(), 0);
}

TEST(ScriptObjectTest, PropertiesAreNamedWithoutRegardToCase) {
  BridgeFixture f;
  const int32_t object = f.NewString("");
  const auto set = [&](const std::string& name, const std::string& value) {
    f.stack.Push(f.NewString(name));
    f.stack.Push(f.NewString(value));
    f.manager->SendMsg(object, ToWord(CommonMessage::SetProperty));
  };
  const auto get = [&](const std::string& name) {
    f.stack.Push(f.NewString(name));
    f.manager->SendMsg(object, ToWord(CommonMessage::Property));
    const int32_t result = f.stack.Pop();
    std::string text = f.StringAt(result).Text();
    f.manager->SendMsg(result, CommonMessage::Destroy);
    return text;
  };
  EXPECT_EQ(get("Color"), "");
  set("Color", "red");
  set("size", "two\nlines");
  EXPECT_EQ(get("COLOR"), "red");
  EXPECT_EQ(get("size"), "two\nlines");
  EXPECT_EQ(get("lines"), "");  // a line break in a value makes no entry
  set("color", "blue");
  EXPECT_EQ(get("Color"), "blue");
  set("color", "");
  EXPECT_EQ(get("Color"), "");
  EXPECT_EQ(get("size"), "two\nlines");
  // Every argument string was consumed; only the object itself is left.
  EXPECT_EQ(f.manager->Count(), 1);
  EXPECT_EQ(f.stack.Length(), 0);
}

TEST(ScriptObjectTest, PopStringConsumesItsArgument) {
  BridgeFixture f;
  f.RecordClasses({0, 3});
  auto* object = dynamic_cast<TVkScriptObject*>(f.manager->Find(f.manager->CreateObject(3)));
  ASSERT_NE(object, nullptr);
  const int32_t argument = f.NewString("word");
  f.log.clear();
  f.stack.Push(argument);
  EXPECT_EQ(object->PopString(), "word");
  EXPECT_EQ(f.log, (std::vector<std::string>{"c0#2 -3", "c0#2 freed"}));
  EXPECT_FALSE(f.manager->IsLive(argument));
  EXPECT_EQ(f.manager->Count(), 1);

  // A handle that names nothing gives "" after the destroy notice.
  f.stack.Push(argument);
  EXPECT_EQ(object->PopString(), "");
  EXPECT_EQ(f.Boxes(), "plain: sendmsg/gmi_destroy: invalid handle: " + HandleText(argument) + "\n");
  // An object of another class is not taken for a string.
  f.stack.Push(object->Handle());
  EXPECT_THROW(object->PopString(), EVkError);
  EXPECT_TRUE(f.manager->IsLive(object->Handle()));

  object->PushString("made");
  EXPECT_EQ(f.StringAt(f.stack.Pop()).Text(), "made");
  object->PushBool(true);
  object->PushBool(false);
  EXPECT_EQ(f.stack.Pop(), 0);
  EXPECT_EQ(f.stack.Pop(), 1);
}

}  // namespace
}  // namespace vork
