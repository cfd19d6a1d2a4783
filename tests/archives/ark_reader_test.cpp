// The archive format: round trips through every scrambling method, the
// directory rules, the window streams and damaged files.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "archives/ark_reader.h"
#include "archives/cipher_stream.h"
#include "archives/memory_stream.h"
#include "archives/scrambling.h"
#include "archives/archive_builder.h"
#include "platform/errors.h"

namespace vork {
namespace {

using ::testing::HasSubstr;
using testing::BuildArchive;
using testing::Resources;

std::unique_ptr<TKsArkReader> Read(std::string bytes) {
  return std::make_unique<TKsArkReader>(std::make_shared<TKsMemoryStream>(std::move(bytes)));
}

std::string Word(uint32_t value) {
  std::string out;
  for (int i = 0; i < 4; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
  return out;
}

std::string Entry(const std::string& name, uint32_t offset, uint32_t size) {
  return std::string(1, static_cast<char>(name.size())) + name + Word(offset) + Word(size);
}

// An unscrambled (method 0) archive from raw parts, for damaged layouts.
std::string PlainArchive(uint32_t directory, const std::string& rest) {
  return std::string("ARK2") + '\0' + Word(directory) + rest;
}

std::string Binary(size_t size) {
  std::string data(size, '\0');
  for (size_t i = 0; i < size; ++i) data[i] = static_cast<char>((i * 7919 + i / 251) & 0xFF);
  return data;
}

class EveryMethod : public ::testing::TestWithParam<int> {};

TEST_P(EveryMethod, ResourcesReadBackAsWritten) {
  Resources resources = {{"pics/title.jpg", Binary(70000)},  // spans the 64 KB write buffer
                         {"empty.txt", ""},
                         {"vork.cfg", "setSceneWidth 800\r\n"},
                         {"Music.OGG", Binary(3000)}};
  auto reader = Read(BuildArchive(resources, GetParam()));
  ASSERT_EQ(reader->Count(), resources.size());
  EXPECT_EQ(reader->Method(), GetParam());
  for (const auto& [name, data] : resources) EXPECT_EQ(reader->Open(name)->ReadAll(), data) << name;
}

TEST_P(EveryMethod, OggDataIsStoredRawAndEverythingElseScrambled) {
  std::string text = "plain words that must not show in a scrambled archive";
  std::string sound = "OggS sound bytes stored as they are";
  std::string bytes = BuildArchive({{"a.txt", text}, {"b.ogg", sound}}, GetParam());
  EXPECT_NE(bytes.find(sound), std::string::npos);
  EXPECT_EQ(bytes.find(text) != std::string::npos, GetParam() == 0);
}

INSTANTIATE_TEST_SUITE_P(Methods, EveryMethod, ::testing::Values(0, 1, 2, 3));

TEST(Scrambling, IsUndoneAtAnyPositionAndAnySplit) {
  // Positions around the wrap of the two method-2 counters and of their
  // combined period (251 * 239).
  for (int method = 0; method <= 3; ++method) {
    for (int64_t position : {int64_t{0}, int64_t{250}, int64_t{59988}, int64_t{4294967000}}) {
      std::string original = Binary(1000);
      std::string whole = original;
      auto* bytes = reinterpret_cast<unsigned char*>(whole.data());
      Scramble(method, bytes, whole.size(), position);
      if (method != 0) {
        EXPECT_NE(whole, original);
      }
      std::string pieces = original;
      auto* piece = reinterpret_cast<unsigned char*>(pieces.data());
      Scramble(method, piece, 333, position);
      Scramble(method, piece + 333, 667, position + 333);
      EXPECT_EQ(pieces, whole) << "method " << method << " at " << position;
      Descramble(method, bytes, whole.size(), position);
      EXPECT_EQ(whole, original) << "method " << method << " at " << position;
    }
  }
}

TEST(Scrambling, KeysStayFixedSoOldArchivesStillOpen) {
  // The bytes of a small archive as the first release wrote them: a change of
  // any key table or of the position rule makes this fail.
  struct Case {
    int method;
    const char* hex;
  };
  const Case cases[] = {
      {1, "41524b3201aba7a7a7dfdedda6a7a7a7a6c6aea7a7a7a4a7a7a7"},
      {2, "41524b32029cffd225452f120f56a5289ca702fd03a65a83b4c8"},
      {3, "41524b3203856868680cc6a22b6868682bd57868686832686868"},
  };
  for (const auto& c : cases) {
    std::string bytes = BuildArchive({{"a", "xyz"}}, c.method);
    std::string hex;
    for (unsigned char b : bytes) {
      static const char digits[] = "0123456789abcdef";
      hex += digits[b >> 4];
      hex += digits[b & 15];
    }
    EXPECT_EQ(hex, c.hex) << "method " << c.method;
  }
}

TEST(ArkReader, LaterEntryOfADuplicateNameWinsWhateverItsCase) {
  auto reader = Read(BuildArchive({{"Intro.txt", "first"}, {"b.txt", "b"}, {"INTRO.TXT", "second"}}, 2));
  EXPECT_EQ(reader->Count(), 2u);
  EXPECT_EQ(reader->Open("intro.txt")->ReadAll(), "second");
}

TEST(ArkReader, LooksNamesUpIgnoringCaseAndSeparatorStyle) {
  auto reader = Read(BuildArchive({{"pics/Title.jpg", "j"}, {"a", "1"}, {"z", "2"}}, 1));
  EXPECT_EQ(reader->IndexOf("PICS\\title.JPG"), reader->IndexOf("pics/Title.jpg"));
  EXPECT_GE(reader->IndexOf("pics/Title.jpg"), 0);
  EXPECT_EQ(reader->IndexOf("pics/title.jp"), -1);
  EXPECT_EQ(reader->IndexOf(""), -1);
  EXPECT_EQ(reader->Name(0), "a");  // sorted
}

TEST(ArkReader, UnknownNameFailsWithTheResourceText) {
  auto reader = Read(BuildArchive({{"a", "1"}}, 0));
  try {
    reader->Open("missing.img");
    FAIL();
  } catch (const EVkError& error) {
    EXPECT_STREQ(error.what(), "Resource \"missing.img\" not found");
  }
}

TEST(ArkReader, WrongMarkNamesTheValueInHex) {
  try {
    Read("PK\x03\x04 and more bytes");
    FAIL();
  } catch (const EVkError& error) {
    EXPECT_STREQ(error.what(), "Unknown file format ($04034B50)");
  }
}

TEST(ArkReader, MethodAboveThreeIsRefused) {
  std::string bytes = BuildArchive({{"a", "1"}}, 0);
  bytes[4] = 4;
  EXPECT_THROW(
      {
        try {
          Read(bytes);
        } catch (const EVkError& error) {
          EXPECT_STREQ(error.what(), "Error #2719");
          throw;
        }
      },
      EVkError);
}

TEST(ArkReader, DamagedArchivesFailWithAReasonInsteadOfCrashing) {
  std::string good_entry = Entry("a.txt", 9, 1);
  struct Case {
    const char* what;
    std::string bytes;
    const char* reason;
  };
  const Case cases[] = {
      {"empty file", "", "shorter than the 4-byte"},
      {"header cut short", std::string("ARK2\0\1", 6), "header is cut short"},
      {"directory offset past the end", PlainArchive(1000, "x"), "lies past the end"},
      {"count larger than the file holds", PlainArchive(9, Word(0x7FFFFFFF) + good_entry),
       "claims 2147483647 entries"},
      {"entry cut short", PlainArchive(9, Word(1) + "\x14" "abcdefghijk"), "entry 1 of 1 is cut short"},
      {"empty name", PlainArchive(9, Word(1) + Entry("", 0, 0) + "pad"), "entry 1 has an empty name"},
      {"data outside the file", PlainArchive(9, Word(1) + Entry("far.bin", 5, 0xFFFFFFF0)),
       "\"far.bin\" (offset 5, size 4294967280) lies outside"},
  };
  for (const auto& c : cases) {
    try {
      Read(c.bytes);
      ADD_FAILURE() << c.what << " was accepted";
    } catch (const EVkError& error) {
      EXPECT_THAT(error.what(), HasSubstr(c.reason)) << c.what;
      EXPECT_THAT(error.what(), HasSubstr("\"memory\"")) << c.what << ": the archive is named";
    }
  }
}

TEST(ArkReader, EmptyArchiveHasNoEntries) {
  EXPECT_EQ(Read(BuildArchive({}, 3))->Count(), 0u);
}

TEST(ClientStream, ReadsStopAtTheWindowsEndAndSeeksAreClamped) {
  auto reader = Read(BuildArchive({{"a.txt", "0123456789"}, {"b.txt", "next resource"}}, 2));
  auto stream = reader->Open("a.txt");
  char buffer[32] = {};
  EXPECT_EQ(stream->Seek(-3, SeekOrigin::End), 7);
  EXPECT_EQ(stream->Read(buffer, sizeof buffer), 3u);
  EXPECT_EQ(std::string(buffer, 3), "789");
  EXPECT_EQ(stream->Read(buffer, sizeof buffer), 0u);
  EXPECT_EQ(stream->Seek(100, SeekOrigin::Begin), 10);
  EXPECT_EQ(stream->Read(buffer, 1), 0u);
  EXPECT_EQ(stream->Seek(-100, SeekOrigin::Current), 0);
  EXPECT_EQ(stream->Seek(4, SeekOrigin::Current), 4);
  EXPECT_EQ(stream->Read(buffer, 2), 2u);
  EXPECT_EQ(std::string(buffer, 2), "45");
  EXPECT_EQ(stream->Size(), 10);
}

TEST(ClientStream, TwoWindowsOnOneArchiveDoNotDisturbEachOther) {
  auto reader = Read(BuildArchive({{"a", "aaaa"}, {"b", "bbbb"}}, 3));
  auto a = reader->Open("a");
  auto b = reader->Open("b");
  char x[2], y[2];
  a->Read(x, 2);
  b->Read(y, 2);
  a->Read(x, 2);
  EXPECT_EQ(std::string(x, 2), "aa");
  EXPECT_EQ(a->Read(x, 2), 0u);
}

TEST(ClientStream, WritePastTheEndLengthensTheWindow) {
  auto parent = std::make_shared<TKsMemoryStream>(std::string("abcdefgh"));
  TKsClientStream window(parent, 2, 3);
  window.Seek(0, SeekOrigin::End);
  EXPECT_EQ(window.Write("XY", 2), 2u);
  EXPECT_EQ(window.WindowSize(), 5);
  EXPECT_EQ(parent->Data(), "abcdeXYh");
}

TEST(Scrambling, LongRunsKeepTheKeysOfEveryPosition) {
  // Runs long enough for the block-wise path and past a whole period of
  // method 2, at positions inside and beyond it: digests of what the
  // byte-by-byte rule gave, so a faster path cannot change the bytes.
  struct Case {
    int64_t position;
    uint64_t digest;  // FNV-1a of the scrambled bytes
  };
  const Case cases[] = {
      {0, 0xe5df280f5c7f7ff1u}, {12345, 0x9a45b1a0fe818a73u}, {4294967000, 0x8e93926cce83333au}};
  for (const auto& c : cases) {
    std::vector<unsigned char> bytes(70001);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 7);
    Scramble(2, bytes.data(), bytes.size(), c.position);
    uint64_t digest = 14695981039346656037u;
    for (unsigned char b : bytes) digest = (digest ^ b) * 1099511628211u;
    EXPECT_EQ(digest, c.digest) << "at " << c.position;
  }
}

TEST(CipherStream, ReadsDescrambleByAbsolutePosition) {
  auto memory = std::make_shared<TKsMemoryStream>();
  TKsCipherStream writer(memory, 2);
  std::string text = Binary(200000);
  ASSERT_EQ(writer.Write(text.data(), text.size()), text.size());
  TKsCipherStream reader(memory, 2);
  reader.SetPosition(123457);
  char buffer[100];
  reader.ReadBuffer(buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer, sizeof buffer), text.substr(123457, 100));
}

}  // namespace
}  // namespace vork
