// The installation's decision on its own: which entries of a part the rules
// let into the course folder, and which entry the refusal names.

#include "install/install_rules.h"

#include <gtest/gtest.h>

namespace vork::testing {
namespace {

using Kind = PartEntryKind;

InstallRules CourseRules() {
  InstallRules rules;
  rules.protected_files = {"course.bin", "course.ini"};
  rules.protected_folders = {"users", "data/learners"};
  return rules;
}

TEST(InstallRules, WhatAPartMayAndMayNotWrite) {
  struct Case {
    PartEntry entry;
    bool allowed;
  };
  const Case cases[] = {
      {{"course.x01", Kind::File, 0644, "VKA1"}, true},
      {{"media\\say_sol.ogg", Kind::File, 0, "OggS"}, true},
      {{"media", Kind::Folder, 0755, ""}, true},  // a folder's search bit is no execute bit
      {{"docs/guide.pdf", Kind::File, 0600, "%PDF"}, true},
      {{"data/learners.txt", Kind::File, 0644, ""}, true},  // beside, not below
      {{"course.bin.txt", Kind::File, 0644, ""}, true},
      {{"sounds/also.so.txt", Kind::File, 0644, ""}, true},
      {{"usersguide.html", Kind::File, 0644, ""}, true},
      {{"hi.txt", Kind::File, 0644, "#"}, true},  // a head too short to be "#!"
      {{"course.bin", Kind::File, 0644, ""}, false},
      {{"./Course.BIN", Kind::File, 0644, ""}, false},
      {{"course.ini", Kind::File, 0644, ""}, false},
      {{"users", Kind::Folder, 0755, ""}, false},
      {{"USERS\\Ann.vkr", Kind::File, 0644, ""}, false},
      {{"data\\Learners\\x", Kind::File, 0644, ""}, false},
      {{"liboggaudio.so", Kind::File, 0644, ""}, false},
      {{"lib/libvorbis.so.0.4", Kind::File, 0644, ""}, false},
      {{".config", Kind::Folder, 0755, ""}, false},
      {{"media/.x.ogg", Kind::File, 0644, ""}, false},
      {{"run", Kind::File, 0700, ""}, false},
      {{"run", Kind::File, 0001, ""}, false},
      {{"lesson.dat", Kind::File, 0644, std::string("\x7f" "ELF\x02", 5)}, false},
      {{"lesson.txt", Kind::File, 0644, "#!/usr/bin/env python3"}, false},
      {{"media", Kind::Link, 0777, ""}, false},
      {{"fifo", Kind::Other, 0644, ""}, false},
      {{"..\\..\\x", Kind::File, 0644, ""}, false},
      {{"C:\\x", Kind::File, 0644, ""}, false},
      {{"a\rb", Kind::File, 0644, ""}, false},
      {{"", Kind::File, 0644, ""}, false},
  };
  const InstallRules rules = CourseRules();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry.name);
    const auto reason = RefusalReason(rules, c.entry);
    EXPECT_EQ(!reason.has_value(), c.allowed) << reason.value_or("");
  }
}

TEST(InstallRules, TheFirstRefusedEntryIsNamedAsStored) {
  const InstallRules rules = CourseRules();
  const std::vector<PartEntry> part = {{"media\\a.ogg", Kind::File, 0644, "OggS"},
                                       {"Users\\Ann.vkr", Kind::File, 0644, ""},
                                       {"tool", Kind::File, 0755, ""}};
  const auto refusal = RefusedEntry(rules, part);
  ASSERT_TRUE(refusal.has_value());
  EXPECT_EQ(refusal->entry, "Users\\Ann.vkr");
  EXPECT_EQ(refusal->reason, "it belongs to the learners' data");
  EXPECT_FALSE(RefusedEntry(rules, {part[0]}).has_value());
}

}  // namespace
}  // namespace vork::testing
