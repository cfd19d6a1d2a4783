// Variables objects: a store in memory, and the switch that lets one outlive
// its scene.

#include <gtest/gtest.h>

#include "support/objects_fixture.h"

namespace vork::testing {
namespace {

class VarsTest : public ObjectsTest {
 protected:
  int32_t vars = Create(ClassIndex::Vars);

  std::string Get(const char* name, const char* fallback) {
    return SendForString(vars, VarsMessage::Get, {NewString(name), NewString(fallback)});
  }
};

TEST_F(VarsTest, StoresReplacesAndClearsValuesByExactName) {
  EXPECT_EQ(Get("never", "default"), "default");
  Send(vars, VarsMessage::Set, {NewString("name"), NewString("Ann")});
  Send(vars, VarsMessage::Set, {NewString("name"), NewString("Anna")});
  Send(vars, VarsMessage::Set, {NewString("Name"), NewString("")});
  EXPECT_EQ(Get("name", "?"), "Anna");
  EXPECT_EQ(Get("Name", "?"), "") << "an empty value is a value";
  EXPECT_EQ(Get("NAME", "?"), "?") << "names differing in letter case are different variables";
  Send(vars, VarsMessage::Clear);
  EXPECT_EQ(Get("name", "gone"), "gone");
  EXPECT_EQ(manager->Count(), 1) << "every argument string was consumed";
}

// Only the low byte of the flag counts.
TEST_F(VarsTest, AutoReleaseFlagDecidesWhetherTheSceneChangeReleasesIt) {
  struct Case {
    int32_t flag;
    bool released;
  };
  for (const Case c : {Case{0, false}, Case{1, true}, Case{0x100, false}, Case{-1, true}, Case{0x80, true}}) {
    const int32_t handle = Create(ClassIndex::Vars);
    Send(handle, VarsMessage::Set, {NewString("x"), NewString("kept")});
    Send(handle, VarsMessage::SetAutoRelease, {c.flag});
    manager->ReleaseSceneObjects();
    EXPECT_EQ(manager->IsLive(handle), !c.released) << "flag " << c.flag;
    if (!c.released) {
      EXPECT_EQ(SendForString(handle, VarsMessage::Get, {NewString("x"), NewString("?")}), "kept");
      Send(handle, CommonMessage::Destroy);
    }
  }
  EXPECT_FALSE(manager->IsLive(vars)) << "a new variables object goes with its scene";
}

}  // namespace
}  // namespace vork::testing
