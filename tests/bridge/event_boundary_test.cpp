// What an event boundary does with the stores a routine changed: they are
// saved once when the routine has returned or faulted, and a save that fails
// is shown like any other fault.

#include "bridge/event_boundary.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/deferred_saves.h"
#include "platform/errors.h"
#include "support/test_machine.h"

namespace vork {
namespace {

// A store that counts its saves and can be made to fail them.
class CountingStore : public TDeferredSave {
 public:
  void Change() { ScheduleSave(); }
  int saves = 0;
  bool failing = false;

 private:
  void SaveDeferred() override {
    if (failing) throw EVkError("Cannot write \"store\": No space left on device");
    ++saves;
  }
};

TEST(EventBoundary, ChangesAreSavedOnceWhenTheRoutineReturnsOrFaults) {
  struct Case {
    const char* name;
    bool faults;
    std::string boxes;
  } cases[] = {
      {"returns", false, ""},
      {"faults", true, "error: broken\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TestMachine machine;
    CountingStore store;
    const bool completed = RunAtEventBoundary(machine.processor, [&] {
      for (int i = 0; i < 1000; ++i) store.Change();
      EXPECT_EQ(store.saves, 0);
      if (c.faults) throw EVkError("broken");
    });
    EXPECT_EQ(completed, !c.faults);
    EXPECT_EQ(store.saves, 1);
    EXPECT_FALSE(store.SavePending());
    EXPECT_EQ(machine.Boxes(), c.boxes);
  }
}

// A routine that pumps events (a modal box, a blocking sound) lets other
// routines run and end in the middle of it: what they wrote is saved when
// they end, not only when the outer routine does.
TEST(EventBoundary, NestedRoutineSavesWhenItEnds) {
  testing::TestMachine machine;
  CountingStore store;
  RunAtEventBoundary(machine.processor, [&] {
    store.Change();
    RunAtEventBoundary(machine.processor, [&] { store.Change(); });
    EXPECT_EQ(store.saves, 1);
    store.Change();
  });
  EXPECT_EQ(store.saves, 2);
}

TEST(EventBoundary, FailedSaveIsShownOnceAndKeptForTheNextBoundary) {
  testing::TestMachine machine;
  CountingStore store;
  store.failing = true;
  for (int event = 0; event < 3; ++event) {
    EXPECT_TRUE(RunAtEventBoundary(machine.processor, [&] { store.Change(); }));
  }
  EXPECT_EQ(machine.Boxes(), "error: Cannot write \"store\": No space left on device\n");
  EXPECT_TRUE(store.SavePending());
  store.failing = false;
  RunAtEventBoundary(machine.processor, [] {});
  EXPECT_EQ(store.saves, 1);
  EXPECT_FALSE(store.SavePending());
}

}  // namespace
}  // namespace vork
