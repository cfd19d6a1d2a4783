#include "vkasm/assembler.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/errors.h"
#include "vkasm/disassembler.h"
#include "vkrun/console_runner.h"
#include "vm/image.h"

namespace vork {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(AssemblerTest, InstructionsAndShorthandsEncodeAsTheCompiledCodeDoes) {
  struct Case {
    const char* source;
    Bytes area;
  };
  const Case cases[] = {
      {"push 0\npush 1\npush -1", {31, 32, 33}},
      {"push 100\npush -128", {41, 100, 41, 0x80}},
      {"push 200\npush -129", {30, 200, 0, 0, 0, 30, 0x7F, 0xFF, 0xFF, 0xFF}},
      {"LoadCon 'A'\nloadcon 0xFFFFFFFF", {30, 65, 0, 0, 0, 30, 255, 255, 255, 255}},
      {"jump end\nend: STOP", {30, 6, 0, 0, 0, 1, 0}},
      {"load -12\nstore 4\ngstore 300", {41, 0xF4, 34, 41, 4, 9, 35, 30, 44, 1, 0, 0, 9, 37}},
      {"enter 2\nenter 0, 2\nenter 1, 3", {41, 2, 31, 31, 31, 32, 41, 3, 7}},
      {"send 5\nsend 5, local 8", {41, 5, 9, 39, 41, 5, 41, 8, 34, 39}},
      {"send2 -1, g\n.global g", {33, 30, 8, 0, 0, 0, 36, 40, 0, 0, 0, 0}},
      {"sendsys 3\n.global sys, other = 7", {41, 3, 30, 9, 0, 0, 0, 36, 39, 0, 0, 0, 0, 7, 0, 0, 0}},
      {"str \"A\\n\"", {30, 9, 0, 0, 0, 32, 31, 38, 40, 'A', '\n', 0}},
      {"str s\n.string s, \"\\x41;\"", {30, 9, 0, 0, 0, 32, 31, 38, 40, 'A', ';', 0}},
      {"createobj 3 ; comment\n\n  ; only a comment", {41, 3, 38}},
      {".byte 42, -1\n.word -2", {42, 255, 0xFE, 0xFF, 0xFF, 0xFF}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    EXPECT_EQ(Assemble(c.source).area, c.area);
  }
}

TEST(AssemblerTest, FaultsNameTheFileAndLine) {
  struct Case {
    const char* source;
    const char* message;
  };
  const Case cases[] = {
      {"foo", "t.vkasm:1: unknown instruction 'foo'"},
      {"zero\nloadc 200", "t.vkasm:2: loadc takes -128 to 127, not 200"},
      {"add 1", "t.vkasm:1: add takes no operand"},
      {"loadcon", "t.vkasm:1: loadcon takes 1 operand(s), not 0"},
      {"zero\n\njump nowhere", "t.vkasm:3: undefined symbol 'nowhere'"},
      {"a: zero\na: zero", "t.vkasm:2: symbol 'a' is defined twice"},
      {".string s, \"abc", "t.vkasm:1: unterminated quote"},
      {"push 1x", "t.vkasm:1: bad number '1x'"},
      {"push 4294967296", "t.vkasm:1: number out of range: 4294967296"},
      {"sendsys 1", "t.vkasm: sendsys needs a .global for the system object"},
      {".bogus 1", "t.vkasm:1: unknown directive .bogus"},
      {".start main", "t.vkasm: undefined symbol 'main'"},
      {"str \"a\\q\"", "t.vkasm:1: unknown escape \\q"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    try {
      Assemble(c.source, "t.vkasm");
      ADD_FAILURE() << "assembled";
    } catch (const EVkError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
  }
}

std::string SampleSource() {
  std::ifstream in(std::string(VORK_SOURCE_DIR) + "/examples/sample.vkasm");
  std::ostringstream text;
  text << in.rdbuf();
  EXPECT_FALSE(text.str().empty()) << "examples/sample.vkasm is missing";
  return text.str();
}

TEST(AssemblerTest, ImageFileHasTheHeaderAndTheListingAssemblesBackToTheSameImage) {
  const AssembledImage image = Assemble(SampleSource(), "sample.vkasm");
  const TVkImageFile file = ParseImage(ImageFileBytes(image));
  EXPECT_EQ(std::string(file.header.magic, 4), "VKBC");
  EXPECT_EQ(file.header.reserved, 0);
  EXPECT_EQ(file.header.start_entry, image.start_entry);
  EXPECT_EQ(file.header.stop_entry, image.stop_entry);
  EXPECT_EQ(file.header.area_length, static_cast<int32_t>(image.area.size()));
  EXPECT_EQ(file.area, image.area);

  const AssembledImage again = Assemble(Disassemble(file), "listing");
  EXPECT_EQ(again.area, image.area);
  EXPECT_EQ(again.start_entry, image.start_entry);
  EXPECT_EQ(again.stop_entry, image.stop_entry);
}

TEST(AssemblerTest, SampleProgramPrintsWhatItComputedAndReleasesEverything) {
  const TVkImageFile file = ParseImage(ImageFileBytes(Assemble(SampleSource(), "sample.vkasm")));
  std::ostringstream out;
  const ConsoleRunResult result = RunOnConsole(file, out, true);
  EXPECT_EQ(out.str(),
            "Primes below 60:\n"
            "2 3 5 7 11 13 17 19 23 29 31 37 41 43 47 53 59 \n"
            "Sum of the primes:\n"
            "440\n");
  EXPECT_EQ(result.live_objects_at_end, 0);  // the stop routine ran
  EXPECT_GT(result.instructions, 1000u);
}

}  // namespace
}  // namespace vork
