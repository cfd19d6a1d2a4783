// The link-style commands of the glossary and comment windows.

#include <gtest/gtest.h>

#include "dialogs/link_command.h"

namespace vork {
namespace {

TEST(LinkCommand, SplitsNameParametersAndFragment) {
  const TVkLinkCommand command = ParseLinkCommand("glossary.htm#top?target=Haus&sound=a.aud&flag&text=");
  // The fragment is looked for only before the "?".
  EXPECT_EQ(command.name, "glossary.htm");
  EXPECT_EQ(command.fragment, "top");
  EXPECT_EQ(command.Parameter("target"), "Haus");
  EXPECT_EQ(command.Parameter("sound"), "a.aud");
  EXPECT_EQ(command.parameters.count("flag"), 1u);
  EXPECT_EQ(command.Parameter("text"), "");
  EXPECT_EQ(command.Parameter("missing"), "");
  EXPECT_EQ(command.Parameter("Target"), "");  // names compare exactly
}

TEST(LinkCommand, ParametersTable) {
  struct Case {
    const char* text;
    const char* key;
    const char* value;
  };
  const Case cases[] = {
      {"x?target=Haus%20und%20Hof", "target", "Haus und Hof"},
      {"x?target=a+b", "target", "a+b"},
      {"x?target=100%", "target", "100%"},
      {"x?target=%zz%4", "target", "%zz%4"},
      {"x?target=%e4%C4", "target", "\xE4\xC4"},
      {"x?target=first&target=second", "target", "second"},
      {"x?a&target=b=c", "target", "b=c"},
      {"x?tar%67et=y", "target", "y"},
      {"x?target=a#b", "target", "a#b"},
      {"x?first?target=y", "first?target", "y"},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseLinkCommand(c.text).Parameter(c.key), c.value) << c.text;
}

}  // namespace
}  // namespace vork
