#include "bridge/object_manager.h"

#include <gtest/gtest.h>

#include <set>

#include "bridge_fixture.h"
#include "platform/player_host.h"

namespace vork {
namespace {

using Log = std::vector<std::string>;

TEST(ObjectManagerTest, NewObjectsAreInitialisedOnceAndFlaggedForSceneRelease) {
  BridgeFixture f;
  f.RecordClasses({0, 1, 3});
  const int32_t system = f.manager->CreateObject(1);
  const int32_t sprite = f.manager->CreateObject(3);
  const int32_t text = f.manager->CreateObject(0);
  EXPECT_EQ(f.log, (Log{"c1#1 -2", "c3#2 -2", "c0#3 -2"}));
  struct Expect {
    int32_t handle;
    int32_t class_index;
    bool auto_release;
  };
  for (const Expect& e : {Expect{system, 1, false}, Expect{sprite, 3, true}, Expect{text, 0, false}}) {
    const TVkObject* object = f.manager->Find(e.handle);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->ClassIndex(), e.class_index);
    EXPECT_EQ(object->AutoRelease(), e.auto_release);
    EXPECT_EQ(object->Handle(), e.handle);
    EXPECT_EQ(&object->Manager(), f.manager.get());
  }
  EXPECT_EQ(f.manager->Count(), 3);
  EXPECT_EQ(&f.manager->ObjectAt(0), f.manager->Find(system));
}

TEST(ObjectManagerTest, SceneReleaseKeepsStringsAndTheSystemObject) {
  BridgeFixture f;
  f.RecordClasses({0, 1, 2, 3});
  const int32_t system = f.manager->CreateObject(1);
  f.manager->CreateObject(3);
  const int32_t text = f.manager->CreateObject(0);
  f.manager->CreateObject(2);
  f.log.clear();
  f.manager->ReleaseSceneObjects();
  // Newest first, each released before it is freed.
  EXPECT_EQ(f.log, (Log{"c2#4 -3", "c2#4 freed", "c3#2 -3", "c3#2 freed"}));
  EXPECT_EQ(f.manager->Count(), 2);
  EXPECT_TRUE(f.manager->IsLive(system));
  EXPECT_TRUE(f.manager->IsLive(text));
}

TEST(ObjectManagerTest, ShutdownDestroysInCreationOrderAndTheOldestLast) {
  BridgeFixture f;
  f.RecordClasses({0, 1, 2, 3});
  f.manager->CreateObject(1);
  f.manager->CreateObject(2);
  f.manager->CreateObject(3);
  f.manager->CreateObject(0);
  f.log.clear();
  f.manager.reset();
  EXPECT_EQ(f.log, (Log{"c2#2 -3", "c2#2 freed", "c3#3 -3", "c3#3 freed", "c0#4 -3", "c0#4 freed",
                        "c1#1 -3", "c1#1 freed"}));
}

TEST(ObjectManagerTest, MessagesToObjectsThatAreNotLiveShowTheNoticesAndGoNowhere) {
  BridgeFixture f;
  f.RecordClasses({3});
  const int32_t sprite = f.manager->CreateObject(3);
  f.manager->SendMsg(sprite, CommonMessage::Destroy);
  f.log.clear();
  // A new object may take the freed slot; the old handle still names nothing.
  const int32_t successor = f.manager->CreateObject(3);
  EXPECT_NE(successor, sprite);
  f.manager->SendMsg(sprite, 5);
  f.manager->SendMsg(sprite, CommonMessage::Destroy);
  f.manager->SendMsg(0, CommonMessage::Destroy);  // null: silently nothing
  f.manager->SendMsg(0, 2);
  const std::string hex = HandleText(sprite);
  EXPECT_EQ(f.Boxes(), "plain: sendmsg: invalid handle: " + hex + "\n" +
                           "plain: Check that object was created before use.\n" +
                           "plain: sendmsg/gmi_destroy: invalid handle: " + hex + "\n" +
                           "plain: sendmsg: invalid handle: $00000000\n" +
                           "plain: Check that object was created before use.\n");
  EXPECT_EQ(f.log, (Log{"c3#2 -2"}));
  EXPECT_EQ(f.manager->Count(), 1);
}

TEST(ObjectManagerTest, SceneChangesRememberWhatTheyReleasedForALimitedTime) {
  BridgeFixture f;
  f.RecordClasses({1, 2, 3});
  f.manager->CreateObject(1);
  const int32_t timer = f.manager->CreateObject(2);
  const int32_t destroyed = f.manager->CreateObject(3);
  f.manager->SendMsg(destroyed, CommonMessage::Destroy);
  f.manager->ReleaseSceneObjects(40);
  const auto* released = f.manager->ReleasedByScene(timer);
  ASSERT_NE(released, nullptr);
  EXPECT_EQ(released->class_index, 2);
  EXPECT_EQ(released->next_scene, 40);
  // Destroyed by the course itself, not by a scene change.
  EXPECT_EQ(f.manager->ReleasedByScene(destroyed), nullptr);

  // The memory is bounded: the oldest release is forgotten first.
  int32_t last = 0;
  for (size_t i = 0; i < TVkObjectManager::kRememberedReleases; ++i) {
    last = f.manager->CreateObject(3);
    f.manager->ReleaseSceneObjects(90);
  }
  EXPECT_EQ(f.manager->ReleasedByScene(timer), nullptr);
  ASSERT_NE(f.manager->ReleasedByScene(last), nullptr);
  EXPECT_EQ(f.manager->ReleasedByScene(last)->class_index, 3);
}

TEST(ObjectManagerTest, HandlesOfDestroyedObjectsNeverComeBack) {
  BridgeFixture f;
  std::set<int32_t> seen;
  // Far more rounds than a slot's generation count allows, so that slots
  // are retired on the way.
  for (int round = 0; round < 5000; ++round) {
    const int32_t handle = f.manager->CreateObject(0);
    EXPECT_NE(handle, 0);
    EXPECT_TRUE(seen.insert(handle).second) << "handle " << HandleText(handle) << " came back";
    f.manager->SendMsg(handle, CommonMessage::Destroy);
  }
  for (int32_t handle : seen) EXPECT_FALSE(f.manager->IsLive(handle));
  EXPECT_EQ(f.manager->Count(), 0);
}

TEST(ObjectManagerTest, OtherNegativeMessagesAreIgnored) {
  BridgeFixture f;
  f.RecordClasses({1});
  const int32_t system = f.manager->CreateObject(1);
  f.manager->SendMsg(system, -4);
  f.manager->SendMsg(system, -1000);
  EXPECT_TRUE(f.manager->IsLive(system));
  EXPECT_EQ(f.Boxes(), "");
}

// Destroys itself while handling message 5, then reads its own field.
class SelfDestroying : public TVkScriptObject {
 public:
  explicit SelfDestroying(Log& log) : log_(log) {}
  ~SelfDestroying() override { log_.push_back("freed"); }
  void HandleMessage(int32_t message) override {
    if (message == 5) {
      Manager().SendMsg(Handle(), CommonMessage::Destroy);
      log_.push_back("still here, live=" + std::to_string(Manager().IsLive(Handle())));
      return;
    }
    if (message == -3) log_.push_back("released");
    TVkScriptObject::HandleMessage(message);
  }

 private:
  Log& log_;
};

TEST(ObjectManagerTest, AnObjectDestroyedInsideItsOwnHandlerIsFreedWhenTheHandlerReturns) {
  BridgeFixture f;
  f.manager->RegisterClass(4, [&](TVkObjectManager&) { return std::make_unique<SelfDestroying>(f.log); });
  const int32_t handle = f.manager->CreateObject(4);
  f.manager->SendMsg(handle, 5);
  EXPECT_EQ(f.log, (Log{"released", "still here, live=0", "freed"}));
  EXPECT_EQ(f.manager->Count(), 0);
}

TEST(ObjectManagerTest, ClassRegistrationIsLimitedToTheClassTableRange) {
  BridgeFixture f;
  EXPECT_THROW(f.manager->RegisterClass(-1, nullptr), EVkError);
  EXPECT_THROW(f.manager->RegisterClass(TVkObjectManager::kMaxClassIndex + 1, nullptr), EVkError);
}

TEST(ObjectManagerDeathTest, UnknownClassesAndMessagesEndTheProgram) {
  EXPECT_EXIT(
      {
        BridgeFixture f;
        PlayerHost plain;  // boxes on standard error
        ScopedHost installed(plain);
        f.manager->CreateObject(99);
      },
      ::testing::ExitedWithCode(3), "CreateObject: Invalid class \\(ClassIndex=99\\).*INTERNAL ERROR");
  EXPECT_EXIT(
      {
        BridgeFixture f;
        PlayerHost plain;  // boxes on standard error
        ScopedHost installed(plain);
        f.manager->CreateObject(2);  // registered by nobody
      },
      ::testing::ExitedWithCode(3), "ClassIndex=2");
  EXPECT_EXIT(
      {
        BridgeFixture f;
        PlayerHost plain;  // boxes on standard error
        ScopedHost installed(plain);
        f.manager->SendMsg(f.manager->CreateObject(0), 7);
      },
      ::testing::ExitedWithCode(3), "INTERNAL ERROR \\(TVkObject: Unknown msg \\(ClassIndex=0 MsgIndex=7\\)\\)");
}

}  // namespace
}  // namespace vork
