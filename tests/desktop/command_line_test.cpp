// The command line as a desktop user meets it: GNU --help and --version on
// standard output with status 0, and one line on standard error with status 2
// for anything the player does not know.

#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <map>
#include <regex>
#include <sstream>

#include "shell/command_line.h"

namespace vork {
namespace {

// A sample value for each placeholder the help text uses.
const std::map<std::string, std::string> kSampleValues = {
    {"FILE", "course.vkbc"}, {"LIST", "ok,yes"}, {"MS", "250"}, {"N", "2"}};

TEST(CommandLine, EveryOptionTheHelpListsIsAccepted) {
  std::istringstream help(HelpText("vork"));
  std::regex option_line(R"(^  (--[a-z]+|/version)(?: ([A-Z]+))?\s)");
  int listed = 0;
  for (std::string line; std::getline(help, line);) {
    std::smatch match;
    if (!std::regex_search(line, match, option_line)) continue;
    ++listed;
    std::vector<std::string> args{match[1]};
    if (match[2].matched) {
      ASSERT_TRUE(kSampleValues.count(match[2])) << "no sample for " << match[2];
      args.push_back(kSampleValues.at(match[2]));
    }
    CommandLineError error;
    EXPECT_TRUE(ParseCommandLine(args, error)) << line << ": " << error.message;
  }
  EXPECT_GE(listed, 9);
}

TEST(CommandLine, ValuesReachTheirOptions) {
  CommandLineError error;
  auto options = ParseCommandLine({"--zoom", "3", "--fullscreen", "--image", "a b.vkbc",
                                   "--timeout", "0", "/version"},
                                  error);
  ASSERT_TRUE(options);
  EXPECT_EQ(options->zoom, 3);
  EXPECT_TRUE(options->fullscreen);
  EXPECT_EQ(options->image, "a b.vkbc");
  EXPECT_EQ(options->timeout_ms, 0);
  EXPECT_TRUE(options->version_switch);
  options = ParseCommandLine({"--zoom", "fit"}, error);
  ASSERT_TRUE(options);
  EXPECT_EQ(options->zoom, 0);
  EXPECT_FALSE(options->fullscreen);
}

TEST(CommandLine, MistakesAreRefusedWithTheirReason) {
  struct Case {
    std::vector<std::string> args;
    const char* reason;
  };
  const Case cases[] = {
      {{"--frobnicate"}, "unrecognized option '--frobnicate'"},
      {{"-Z", "some file"}, "unrecognized option '-Z'"},
      {{"--zoom"}, "option --zoom needs a value"},
      {{"--zoom", "4"}, "not '4'"},
      {{"--zoom", "0"}, "not '0'"},
      {{"--zoom", "2x"}, "not '2x'"},
      {{"--timeout", "-5"}, "not '-5'"},
      {{"--image"}, "option --image needs a value"},
      {{"--dev"}, "option --dev needs a value"},
      {{"--dev", "a.vkc", "--image", "a.vkbc"}, "--dev and --image cannot be used together"},
  };
  for (const Case& c : cases) {
    CommandLineError error;
    EXPECT_FALSE(ParseCommandLine(c.args, error)) << c.args[0];
    EXPECT_NE(error.message.find(c.reason), std::string::npos) << error.message;
  }
}

struct Outcome {
  int status;
  QString out;
  QString err;
};

Outcome RunPlayer(const QStringList& args) {
  QProcess player;
  player.start(VORK_BINARY_DIR "/vork", args);
  player.waitForFinished(20000);
  // A crash counts as a status no test expects.
  return {player.exitStatus() == QProcess::NormalExit ? player.exitCode() : -1, QString::fromUtf8(player.readAllStandardOutput()),
          QString::fromUtf8(player.readAllStandardError())};
}

TEST(CommandLine, GnuOptionsAnswerOnStandardOutputAndUnknownOnesEndWithStatusTwo) {
  Outcome help = RunPlayer({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.startsWith("Usage: vork [OPTION]..."));
  EXPECT_TRUE(help.err.isEmpty());

  Outcome version = RunPlayer({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(version.out.startsWith("vork ")) << version.out.toStdString();
  EXPECT_EQ(version.out.count('\n'), 1);

  for (const QStringList& args : {QStringList{"--no-such-thing"}, QStringList{"--zoom", "9"},
                                  QStringList{"--help", "--timeout"}}) {
    Outcome bad = RunPlayer(args);
    EXPECT_EQ(bad.status, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(bad.out.isEmpty());
    EXPECT_EQ(bad.err.count('\n'), 2) << bad.err.toStdString();
    EXPECT_TRUE(bad.err.startsWith("vork: ")) << bad.err.toStdString();
    EXPECT_TRUE(bad.err.contains("Try 'vork --help'")) << bad.err.toStdString();
  }
}

TEST(CommandLine, ATranscriptThatCannotBeWrittenEndsTheRunWithItsReason) {
  Outcome run = RunPlayer({"--transcript", "/nonexistent/folder/transcript"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.endsWith("vork: Cannot write the transcript \"/nonexistent/folder/transcript\".\n"))
      << run.err.toStdString();
}

}  // namespace
}  // namespace vork
