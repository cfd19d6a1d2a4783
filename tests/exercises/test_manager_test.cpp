// The test manager's schedule, driven by a hand-set calendar: levels and due
// times after answers, which items come up for a test and in what order,
// and what happens to states that come back damaged from a settings file.

#include "exercises/test_manager.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <set>

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/random.h"
#include "support/test_host.h"

namespace vork {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;
using ::testing::UnorderedElementsAreArray;

// Local calendar time as LocalWallClockSeconds counts it.
std::int64_t Moment(int year, unsigned month, unsigned day, int hour, int minute, int second = 0) {
  using namespace std::chrono;
  const sys_days date = std::chrono::year{year} / std::chrono::month{month} / std::chrono::day{day};
  return date.time_since_epoch().count() * 86400LL + hour * 3600 + minute * 60 + second;
}

std::vector<std::string> Words(int count) {
  std::vector<std::string> words;
  for (int i = 0; i < count; ++i) words.push_back("word" + std::to_string(i));
  return words;
}

std::string Record(std::string_view number, int level, std::string_view due) {
  return "/" + std::string(number) + static_cast<char>('0' + level) + std::string(due);
}

class TestManagerTest : public ::testing::Test {
 protected:
  TestManagerTest() {
    host.calendar = [this] { return now; };
    Random().Reseed(7);
    resources["words.txt"] = Words(10);
  }

  void AdvanceMinutes(std::int64_t minutes) { now += minutes * 60; }
  bool SetupWords(std::string_view state, std::string_view levels) {
    return manager.Setup("words.txt", state, levels);
  }
  std::vector<std::string> Select(int wanted) {
    std::vector<std::string> lines;
    manager.SelectItems(wanted, lines);
    return lines;
  }
  // The state's records for one item number.
  int RecordsOf(std::string_view number) const {
    int count = 0;
    const std::string& state = manager.State();
    for (std::size_t at = 0; at + 5 <= state.size(); at += 20) {
      if (state.compare(at + 1, 4, number) == 0) ++count;
    }
    return count;
  }

  std::int64_t now = Moment(2024, 3, 10, 12, 0);
  testing::TestHost host;
  std::map<std::string, std::vector<std::string>> resources;
  TSa1TestManager manager{[this](std::string_view name) {
    const auto found = resources.find(std::string(name));
    if (found == resources.end()) throw EVkError("no resource " + std::string(name));
    return found->second;
  }};
};

TEST_F(TestManagerTest, AnswersMoveItemsBetweenLevelsAndSetTheirDueTimes) {
  ASSERT_TRUE(SetupWords("", "5/60/1440"));
  struct Step {
    std::int64_t minutes_later;
    const char* number;
    bool correct;
    int level;
    const char* due;
    bool was_new;
  };
  const Step steps[] = {
      // Known at first sight: straight to the top level, a day later.
      {0, "0000", true, 2, "20240311120000", true},
      // Wrong at first sight: level 0, five minutes later.
      {0, "0001", false, 0, "20240310120500", true},
      {10, "0001", true, 1, "20240310131000", false},
      {0, "0001", true, 2, "20240311121000", false},
      // The top level is the ceiling.
      {0, "0001", true, 2, "20240311121000", false},
      {5, "0000", false, 0, "20240310122000", false},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(std::string(step.number) + (step.correct ? " right" : " wrong"));
    AdvanceMinutes(step.minutes_later);
    manager.RecordAnswer(step.number, step.correct);
    EXPECT_EQ(manager.State().substr(0, 20), Record(step.number, step.level, step.due));
    EXPECT_EQ(RecordsOf(step.number), 1);
    EXPECT_EQ(manager.LastLevel(), step.level);
    EXPECT_EQ(manager.LastWasNew(), step.was_new);
  }
  EXPECT_EQ(manager.State().size(), 40u);
  EXPECT_EQ(manager.CountAtLevel(0), 1);
  EXPECT_EQ(manager.CountAtLevel(1), 0);
  EXPECT_EQ(manager.CountAtLevel(2), 1);
}

TEST_F(TestManagerTest, DueTimesFollowTheCalendar) {
  struct Case {
    std::int64_t now;
    const char* levels;
    const char* due;
  };
  const Case cases[] = {
      {Moment(2024, 2, 28, 23, 59, 30), "1440", "20240229235930"},  // leap day
      {Moment(2023, 2, 28, 23, 59, 30), "1440", "20230301235930"},
      {Moment(2023, 12, 31, 23, 30), "60", "20240101003000"},
      {Moment(2024, 3, 10, 12, 0), "0", "20240310120000"},
      {Moment(2024, 3, 10, 0, 2), "-5", "20240309235700"},
      {Moment(2024, 3, 10, 12, 0), "$10", "20240310121600"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.due);
    now = c.now;
    ASSERT_TRUE(SetupWords("", c.levels));
    manager.RecordAnswer("0003", true);
    EXPECT_EQ(manager.State(), Record("0003", 0, c.due));
  }
}

// Checks that lines come in the order of the groups, each group's lines in
// any order among themselves.
void ExpectGroups(const std::vector<std::string>& lines,
                  const std::vector<std::set<std::string>>& groups) {
  std::size_t at = 0;
  for (const std::set<std::string>& group : groups) {
    ASSERT_LE(at + group.size(), lines.size());
    const std::vector<std::string> part(lines.begin() + static_cast<std::ptrdiff_t>(at),
                                        lines.begin() + static_cast<std::ptrdiff_t>(at + group.size()));
    EXPECT_THAT(part, UnorderedElementsAreArray(group)) << "from line " << at;
    at += group.size();
  }
  EXPECT_EQ(at, lines.size());
}

TEST_F(TestManagerTest, SelectionOverSeveralDays) {
  resources["words.txt"] = {"A", "B", "C", "D", "E", "F"};
  // Level 0 is due at once, level 1 after a day, level 2 after three.
  ASSERT_TRUE(SetupWords("", "0/1440/4320"));
  manager.RecordAnswer("0001", true);   // B: new and right, top level
  manager.RecordAnswer("0002", false);  // C: level 0
  manager.RecordAnswer("0000", false);  // A: level 0, the most recent

  // Level 0 in state order (most recent first), then one unseen item.
  std::vector<std::string> lines = Select(3);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "0000\tA");
  EXPECT_EQ(lines[1], "0002\tC");
  EXPECT_THAT((std::set<std::string>{"0003\tD", "0004\tE", "0005\tF"}), ::testing::Contains(lines[2]));

  manager.RecordAnswer("0000", true);  // A: level 1, due tomorrow
  manager.RecordAnswer("0002", true);  // C: level 1, due tomorrow
  ExpectGroups(Select(10), {{"0003\tD", "0004\tE", "0005\tF"}});

  AdvanceMinutes(1440);
  ExpectGroups(Select(10), {{"0000\tA", "0002\tC"}, {"0003\tD", "0004\tE", "0005\tF"}});

  AdvanceMinutes(2 * 1440);
  ExpectGroups(Select(10), {{"0000\tA", "0002\tC"}, {"0001\tB"}, {"0003\tD", "0004\tE", "0005\tF"}});
}

TEST_F(TestManagerTest, UnseenItemsComeInRandomOrderWhenNothingIsDue) {
  ASSERT_TRUE(SetupWords("", "5/60"));
  for (const char* number : {"0000", "0001", "0002", "0004", "0005", "0007", "0009"}) {
    manager.RecordAnswer(number, true);
  }
  std::set<std::string> first_lines;
  for (std::uint64_t seed = 1; seed <= 30; ++seed) {
    Random().Reseed(seed);
    const std::vector<std::string> lines = Select(5);
    EXPECT_THAT(lines, UnorderedElementsAre("0003\tword3", "0006\tword6", "0008\tword8"));
    first_lines.insert(lines.at(0));
  }
  EXPECT_EQ(first_lines.size(), 3u);
}

TEST_F(TestManagerTest, WantedCountLimitsTheSelection) {
  const std::string past = "20240101000000";
  const std::string state = Record("0004", 0, past) + Record("0003", 0, past) + Record("0002", 0, past) +
                            Record("0007", 1, past) + Record("0008", 1, past) + Record("0009", 1, past);
  ASSERT_TRUE(SetupWords(state, "5/60"));
  std::vector<std::string> lines = {"left from before"};
  manager.SelectItems(0, lines);
  EXPECT_THAT(lines, IsEmpty());
  EXPECT_THAT(Select(-1), IsEmpty());
  // At level 0 the most recently answered come first.
  EXPECT_THAT(Select(2), ElementsAre("0004\tword4", "0003\tword3"));
  // A higher level gives its first records in state order, shuffled.
  ExpectGroups(Select(4), {{"0004\tword4"}, {"0003\tword3"}, {"0002\tword2"}, {"0007\tword7"}});
  ExpectGroups(Select(5), {{"0004\tword4"}, {"0003\tword3"}, {"0002\tword2"}, {"0007\tword7", "0008\tword8"}});
  std::set<std::string> orders;
  for (std::uint64_t seed = 1; seed <= 20; ++seed) {
    Random().Reseed(seed);
    const std::vector<std::string> drawn = Select(5);
    orders.insert(drawn.at(3) + " " + drawn.at(4));
  }
  EXPECT_EQ(orders.size(), 2u) << "higher levels come shuffled";
}

TEST_F(TestManagerTest, ItemsThatAreNotYetDueAreNeverSelected) {
  ASSERT_TRUE(SetupWords(Record("0001", 0, "20240310120001") + Record("0002", 1, "20240310120000"), "5/60"));
  const std::vector<std::string> lines = Select(10);
  EXPECT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines.at(0), "0002\tword2");
  EXPECT_THAT(lines, ::testing::Not(::testing::Contains("0001\tword1")));
}

TEST_F(TestManagerTest, RecordsFromLongerLevelDefinitionsComeUpAtTheTopLevel) {
  // Made while the course had ten levels; now it has two.
  ASSERT_TRUE(SetupWords(Record("0003", 7, "20240101000000"), "5/60"));
  EXPECT_EQ(Select(1), std::vector<std::string>{"0003\tword3"});
  manager.RecordAnswer("0003", true);
  EXPECT_EQ(manager.LastLevel(), 1);
}

TEST_F(TestManagerTest, SetupNumbersTheItemsAndSkipsOnlyLeadingComments) {
  resources["words.txt"] = {"// vocabulary", "//lesson 3", "Haus", "// not a comment", "Baum"};
  ASSERT_TRUE(SetupWords("", "5"));
  EXPECT_THAT(manager.ItemLines(), ElementsAre("0000\tHaus", "0001\t// not a comment", "0002\tBaum"));
}

TEST_F(TestManagerTest, SetupNeedsOneToTenLevels) {
  struct Case {
    const char* levels;
    bool accepted;
    int top_level;
  };
  const Case cases[] = {
      {"5/60/1440", true, 2},
      {"5", true, 0},
      {"5/60/", true, 1},  // a trailing separator adds no level
      {"1/2/3/4/5/6/7/8/9/10", true, 9},
      {"", false, 9},
      {"1/2/3/4/5/6/7/8/9/10/11", false, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.levels);
    EXPECT_EQ(SetupWords("", c.levels), c.accepted);
    EXPECT_EQ(manager.ErrorText(), c.accepted ? "" : TSa1TestManager::kLevelError);
    // A refused definition leaves the top level as it was.
    EXPECT_EQ(manager.TopLevel(), c.top_level);
  }
}

TEST_F(TestManagerTest, SetupKeepsTheLastAnswerReport) {
  ASSERT_TRUE(SetupWords("", "5/60"));
  manager.RecordAnswer("0001", true);
  ASSERT_TRUE(SetupWords("", "5/60/1440"));
  EXPECT_TRUE(manager.LastWasNew());
  EXPECT_EQ(manager.LastLevel(), 1);
}

TEST_F(TestManagerTest, StateSurvivesARoundTrip) {
  ASSERT_TRUE(SetupWords("", "5/60/1440"));
  manager.RecordAnswer("0001", true);
  manager.RecordAnswer("0002", false);
  manager.RecordAnswer("0002", true);
  manager.RecordAnswer("0005", false);
  const std::string state = manager.State();

  TSa1TestManager restored([this](std::string_view name) { return resources.at(std::string(name)); });
  ASSERT_TRUE(restored.Setup("words.txt", state, "5/60/1440"));
  EXPECT_EQ(restored.State(), state);
  for (int level = -1; level <= 10; ++level) {
    EXPECT_EQ(restored.CountAtLevel(level), manager.CountAtLevel(level)) << level;
  }
  EXPECT_EQ(restored.CountAtLevel(0), 1);
  // Both draw the same test from the same random sequence.
  AdvanceMinutes(1440);
  Random().Reseed(3);
  const std::vector<std::string> selected = Select(6);
  Random().Reseed(3);
  std::vector<std::string> lines;
  restored.SelectItems(6, lines);
  EXPECT_EQ(lines, selected);
  EXPECT_EQ(lines.at(0), "0005\tword5");
}

TEST_F(TestManagerTest, BrokenLimitsAndNumbersFailWithoutTouchingTheState) {
  resources["words.txt"] = Words(16);
  ASSERT_TRUE(SetupWords(Record("0002", 0, "20240101000000"), "5/abc"));
  const std::string state = manager.State();
  EXPECT_THROW(manager.RecordAnswer("002", true), EVkAssertion);
  EXPECT_THROW(manager.RecordAnswer("00002", true), EVkAssertion);
  EXPECT_THROW(manager.RecordAnswer("0010", true), EVkAssertion);  // past the 16 items
  try {
    manager.RecordAnswer("00G1", true);
    ADD_FAILURE() << "no error";
  } catch (const EVkError& error) {
    EXPECT_STREQ(error.what(), "'00G1' is not a valid integer value");
  }
  // Level 1's waiting time is not a number: the answer is refused and the
  // item keeps its record.
  try {
    manager.RecordAnswer("0002", true);
    ADD_FAILURE() << "no error";
  } catch (const EVkError& error) {
    EXPECT_STREQ(error.what(), "'abc' is not a valid integer value");
  }
  EXPECT_EQ(manager.State(), state);
  // A lower-case number names the same item.
  manager.RecordAnswer("000a", false);
  EXPECT_EQ(manager.State().substr(0, 5), "/000A");
}

TEST_F(TestManagerTest, ItemListLimit) {
  resources["words.txt"] = Words(65536);
  ASSERT_TRUE(SetupWords("", "5"));
  EXPECT_EQ(manager.ItemLines().back(), "FFFF\tword65535");
  manager.RecordAnswer("FFFF", true);
  resources["words.txt"] = Words(65537);
  EXPECT_THROW(SetupWords("", "5"), EVkAssertion);
}

TEST_F(TestManagerTest, DueTimeBeyondFourDigitYearsIsAnAssertion) {
  now = Moment(9999, 12, 31, 23, 0);
  ASSERT_TRUE(SetupWords("", "59/61"));
  manager.RecordAnswer("0001", false);
  EXPECT_EQ(manager.State(), Record("0001", 0, "99991231235900"));
  EXPECT_THROW(manager.RecordAnswer("0002", true), EVkAssertion);
  EXPECT_EQ(manager.State(), Record("0001", 0, "99991231235900"));
}

// One bad record in a learner's stored schedule costs that record only:
// the table gives the stored state, the records kept and where the dropped
// bytes started (0-based offsets, as the notes count them from 1).
TEST_F(TestManagerTest, DamagedRecordsAreDroppedOneByOne) {
  resources["words.txt"] = Words(16);
  const std::string due = "20240101000000";
  const std::string a = Record("0001", 2, due), b = Record("000F", 0, due), c = Record("0003", 1, due);
  struct Case {
    const char* what;
    std::string stored;
    std::string kept;
    std::vector<std::size_t> dropped;
  };
  const Case cases[] = {
      {"sound", a + b + c, a + b + c, {}},
      {"empty", "", "", {}},
      {"truncated tail", a + b + "/0002", a + b, {40}},
      {"truncated inside the last due time", a + b + c.substr(0, 17), a + b, {40}},
      {"record one byte short", a + Record("0002", 1, due).substr(0, 19) + c, a + c, {20}},
      {"record one byte long", a + Record("0002", 1, due) + "0" + c, a + c, {20}},
      {"first record lost its slash", "X" + a.substr(1) + b, b, {0}},
      {"middle record lost its slash", a + "X" + b.substr(1) + c, a + c, {20}},
      {"slash in the middle of a record", a + "/000F0202/0101000000" + c, a + c, {20, 29}},
      {"level not a digit", a + "/000FX" + due + c, a + c, {20}},
      {"letter in the due time", Record("0001", 2, "2024010100000x") + b, b, {0}},
      {"month 13", a + Record("000F", 0, "20241301000000"), a, {20}},
      {"30 February", a + Record("000F", 0, "20240230000000"), a, {20}},
      {"hour 24", a + Record("000F", 0, "20240101240000"), a, {20}},
      {"year 0", Record("000F", 0, "00000101000000") + a, a, {0}},
      {"29 February of a leap year is a date", Record("000F", 0, "20240229235959"),
       Record("000F", 0, "20240229235959"), {}},
      {"number not hexadecimal", a + Record("00G1", 2, due) + c, a + c, {20}},
      {"unknown item", Record("0010", 1, due) + c, c, {0}},
      {"item repeated by an older record", c + Record("0003", 4, due) + a, c + a, {20}},
      {"lower-case number", Record("000c", 1, due), Record("000C", 1, due), {}},
      {"junk before the first record", "garbage" + a, a, {0}},
      {"two damaged records", a + "/0002" + b + "/00G1" + due + "1" + c, a + b + c, {20, 45}},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.what);
    const StateCheck check = CheckState(row.stored, 16);
    EXPECT_EQ(check.state, row.kept);
    std::vector<std::size_t> offsets;
    for (const DroppedRecord& dropped : check.dropped) offsets.push_back(dropped.offset);
    EXPECT_EQ(offsets, row.dropped);
    // Every stored byte is either kept or named as dropped.
    std::size_t dropped_bytes = 0;
    for (const DroppedRecord& dropped : check.dropped) dropped_bytes += dropped.text.size();
    EXPECT_EQ(check.state.size() + dropped_bytes, row.stored.size());

    ASSERT_TRUE(SetupWords(row.stored, "5/60/1440"));
    EXPECT_EQ(manager.State(), row.kept);
    ASSERT_EQ(manager.StateNotes().size(), row.dropped.size());
    for (std::size_t i = 0; i < row.dropped.size(); ++i) {
      EXPECT_THAT(manager.StateNotes()[i], ::testing::HasSubstr("words.txt"));
      EXPECT_THAT(manager.StateNotes()[i], ::testing::HasSubstr("bytes " + std::to_string(row.dropped[i] + 1) + "-"));
    }
    // Whatever came in, the manager works on.
    EXPECT_NO_THROW(Select(20));
    EXPECT_NO_THROW(manager.RecordAnswer("0003", true));
    EXPECT_EQ(RecordsOf("0003"), 1);
  }
}

// The next Setup forgets the notes of the last one.
TEST_F(TestManagerTest, SetupNotesOnlyWhatItDropped) {
  ASSERT_TRUE(SetupWords("/0001", "5/60"));
  EXPECT_EQ(manager.StateNotes().size(), 1u);
  ASSERT_TRUE(SetupWords(Record("0001", 1, "20240101000000"), "5/60"));
  EXPECT_THAT(manager.StateNotes(), IsEmpty());
}

TEST_F(TestManagerTest, StateKeyNamesTheVersionOfTheItemList) {
  resources["words.txt"] = {"// words", "Haus", "Baum"};
  // CRC-32 of "// words\r\nHaus\r\nBaum\r\n", comment lines included.
  EXPECT_EQ(manager.StateKey("words.txt", "state"), "words.txt.376CA776.state");
  resources["words.txt"] = {"// words", "Haus", "Baum", "Tisch"};
  EXPECT_NE(manager.StateKey("words.txt", "state"), "words.txt.376CA776.state");
  EXPECT_THROW(manager.StateKey("missing.txt", "state"), EVkError);
}

}  // namespace
}  // namespace vork
