// Variables objects: a store in memory, and the switch that lets one outlive
// its scene.

#include <gtest/gtest.h>

#include "support/objects_fixture.h"

namespace vork::testing {
namespace {

class VarsTest : public ObjectsTest {
 protected:
  int32_t vars = Create(22);

  std::string Get(const char* name, const char* fallback) {
    return SendForString(vars, 3, {NewString(name), NewString(fallback)});
  }
};

TEST_F(VarsTest, StoresReplacesAndClearsValuesByExactName) {
  EXPECT_EQ(Get("never", "default"), "default");
  Send(vars, 2, {NewString("name"), NewString("Ann")});
  Send(vars, 2, {NewString("name"), NewString("Anna")});
  Send(vars, 2, {NewString("Name"), NewString("")});
  EXPECT_EQ(Get("name", "?"), "Anna");
  EXPECT_EQ(Get("Name", "?"), "") << "an empty value is a value";
  EXPECT_EQ(Get("NAME", "?"), "?") << "names differing in letter case are different variables";
  Send(vars, 1);
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
    const int32_t handle = Create(22);
    Send(handle, 2, {NewString("x"), NewString("kept")});
    Send(handle, 0, {c.flag});
    manager->ReleaseSceneObjects();
    EXPECT_EQ(manager->IsLive(handle), !c.released) << "flag " << c.flag;
    if (!c.released) {
      EXPECT_EQ(SendForString(handle, 3, {NewString("x"), NewString("?")}), "kept");
      Send(handle, -1);
    }
  }
  EXPECT_FALSE(manager->IsLive(vars)) << "a new variables object goes with its scene";
}

}  // namespace
}  // namespace vork::testing
