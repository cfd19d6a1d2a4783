#include "textscript/include_expansion.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "textscript/line_markers.h"

namespace vork {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

using Lines = std::vector<std::string>;

// Script resources by name; a missing one fails as the resource manager does.
struct Resources {
  std::map<std::string, Lines> files;
  std::vector<std::string> loaded;

  Lines Expand(const std::string& main, const TVkIncludeLimits& limits = {}) {
    Lines target;
    ExpandIncludes(main, target, Loader(), limits);
    return target;
  }
  ScriptLoader Loader() {
    return [this](const std::string& name) {
      loaded.push_back(name);
      auto found = files.find(name);
      if (found == files.end()) throw EVkError("Resource \"" + name + "\" not found");
      return found->second;
    };
  }
  std::string ErrorOf(const std::string& main, const TVkIncludeLimits& limits = {}) {
    try {
      Expand(main, limits);
    } catch (const EVkError& error) {
      return error.what();
    }
    return "(no error)";
  }
};

TEST(IncludeExpansion, ReplacesAnIncludeLineByTheFileFramedByMarkers) {
  Resources resources;
  resources.files["main"] = {"one", "two", "three", "four", "#include common.inc", "six", "seven"};
  resources.files["common.inc"] = {"c1", "c2", "c3"};
  EXPECT_THAT(resources.Expand("main"),
              ElementsAre("one", "two", "three", "four", "//!line common.inc 1", "c1", "c2", "c3",
                          "//!line main 6", "six", "seven"));
}

TEST(IncludeExpansion, AppendsToWhatTheTargetHolds) {
  Resources resources;
  resources.files["main"] = {"x"};
  Lines target{"before"};
  ExpandIncludes("main", target, resources.Loader());
  EXPECT_THAT(target, ElementsAre("before", "x"));
}

TEST(IncludeExpansion, ExpandsOnlyIncludeLinesOfIncFiles) {
  Resources resources;
  resources.files["main"] = {"#include notes.txt", "#Include big.inc", "#include UPPER.INC",
                             "#include dir.inc/file", " #include lead.inc", "#include x.inc"};
  resources.files["x.inc"] = {"x"};
  EXPECT_THAT(resources.Expand("main"),
              ElementsAre("#include notes.txt", "#Include big.inc", "#include UPPER.INC", "#include dir.inc/file",
                          " #include lead.inc", "//!line x.inc 1", "x", "//!line main 7"));
  EXPECT_EQ(resources.loaded, (std::vector<std::string>{"main", "x.inc"}));
}

TEST(IncludeExpansion, NestsIncludesAndReturnsToEachIncludingFile) {
  Resources resources;
  resources.files["main"] = {"#include a.inc", "m2"};
  resources.files["a.inc"] = {"a1", "#include b.inc", "a3"};
  resources.files["b.inc"] = {"b1"};
  const Lines expanded = resources.Expand("main");
  EXPECT_THAT(expanded, ElementsAre("//!line a.inc 1", "a1", "//!line b.inc 1", "b1", "//!line a.inc 3", "a3",
                                    "//!line main 2", "m2"));
  // The same include twice in a row is no cycle.
  resources.files["main"] = {"#include b.inc", "#include b.inc"};
  EXPECT_EQ(resources.Expand("main").size(), 6u);
}

TEST(IncludeExpansion, NamesTheFileAndLineOfABadInclude) {
  Resources resources;
  resources.files["main"] = {"first", "#include a.inc"};
  resources.files["a.inc"] = {"a1", "a2", "#include missing.inc"};
  EXPECT_EQ(resources.ErrorOf("main"), "Resource \"missing.inc\" not found (included from \"a.inc\" line 3)");
  EXPECT_EQ(resources.ErrorOf("absent"), "Resource \"absent\" not found");

  resources.files["a.inc"] = {"#include b.inc"};
  resources.files["b.inc"] = {"b1", "#include A.inc"};
  EXPECT_EQ(resources.ErrorOf("main"), "Include cycle at \"b.inc\" line 2: \"A.inc\" is already being included");
  resources.files["a.inc"] = {"#include a.inc"};
  EXPECT_EQ(resources.ErrorOf("main"), "Include cycle at \"a.inc\" line 1: \"a.inc\" is already being included");
}

TEST(IncludeExpansion, StopsIncludesNestedTooDeeply) {
  Resources resources;
  resources.files["main"] = {"#include 1.inc"};
  for (int level = 1; level <= 5; ++level) {
    resources.files[std::to_string(level) + ".inc"] = {"#include " + std::to_string(level + 1) + ".inc"};
  }
  resources.files["6.inc"] = {"deepest"};
  TVkIncludeLimits limits;
  limits.max_depth = 6;
  EXPECT_EQ(resources.Expand("main", limits).size(), 1u + 6 * 2);
  limits.max_depth = 5;
  EXPECT_EQ(resources.ErrorOf("main", limits),
            "Includes nested too deeply at \"5.inc\" line 1 (more than 5 levels)");
}

TEST(IncludeExpansion, StopsIncludesThatMultiplyBeyondTheLimits) {
  // Each level includes the next twice: 2^20 lines from a few short files.
  Resources resources;
  resources.files["main"] = {"#include 0.inc"};
  for (int level = 0; level < 20; ++level) {
    const std::string next = "#include " + std::to_string(level + 1) + ".inc";
    resources.files[std::to_string(level) + ".inc"] = {next, next};
  }
  resources.files["20.inc"] = {"leaf"};
  EXPECT_THAT(resources.ErrorOf("main"), HasSubstr("Script \"main\" is too long with its includes expanded"));

  resources.files["main"] = {"0123456789", "#include 0.inc"};
  TVkIncludeLimits limits;
  limits.max_bytes = 30;
  resources.files["0.inc"] = {"abcdefghij"};
  EXPECT_EQ(resources.ErrorOf("main", limits),
            "Script \"main\" is too long with its includes expanded (at \"0.inc\" line 1; at most 1000000 lines "
            "and 30 bytes)");
}

TEST(LineMarkers, ReadOnlyWellFormedMarkers) {
  struct Case {
    const char* line;
    const char* file;  // null: not a marker
    int64_t number;
  };
  const Case cases[] = {
      {"//!line common.inc 1", "common.inc", 1},
      {"//!line My Notes.inc 12", "My Notes.inc", 12},
      {"//!line main 0", "main", 0},
      {"//!line main", nullptr, 0},
      {"//!line main x", nullptr, 0},
      {"//!line main -3", nullptr, 0},
      {"//!line main 99999999999", nullptr, 0},
      {"//!line main 7 ", nullptr, 0},
      {"//!Line main 7", nullptr, 0},
      {"// !line main 7", nullptr, 0},
  };
  for (const Case& c : cases) {
    const std::optional<TVkLineMarker> marker = ParseLineMarker(c.line);
    if (!c.file) {
      EXPECT_FALSE(marker.has_value()) << c.line;
      continue;
    }
    ASSERT_TRUE(marker.has_value()) << c.line;
    EXPECT_EQ(marker->file, c.file);
    EXPECT_EQ(marker->line, c.number);
  }
}

TEST(LinePosition, PlacesEveryLineOfAnExpandedScript) {
  Resources resources;
  resources.files["Main"] = {"one", "two", "three", "four", "#include Common.inc", "six"};
  resources.files["Common.inc"] = {"c1", "c2", "#include deep.inc"};
  resources.files["deep.inc"] = {"d1"};
  const Lines expanded = resources.Expand("Main");
  // Main 1-4, marker, c1 c2, marker, d1, marker, marker, six
  ASSERT_EQ(expanded.size(), 12u);
  struct Case {
    int64_t k;
    const char* file;
    int64_t line;
  };
  const Case cases[] = {
      {1, "Main", 1}, {4, "Main", 4}, {6, "common.inc", 1}, {7, "common.inc", 2}, {9, "deep.inc", 1},
      {12, "main", 6}, {0, "Main", 0}, {13, "Main", 0}, {-1, "Main", 0},
  };
  for (const Case& c : cases) {
    const TVkLinePosition position = LinePosition("Main", expanded, c.k);
    EXPECT_EQ(position.file, c.file) << "line " << c.k;
    EXPECT_EQ(position.line, c.line) << "line " << c.k;
    EXPECT_THAT(position.includes, ElementsAre("common.inc", "deep.inc"));
  }
}

}  // namespace
}  // namespace vork
