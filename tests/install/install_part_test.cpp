// On-demand installation end to end: a real HTTP server on 127.0.0.1, RAR
// archives made by the test, the progress window driven like a learner would.

#include "install/install_part.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCryptographicHash>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cctype>
#include <filesystem>
#include <functional>

#include "install/download_estimator.h"
#include "install/download_form.h"
#include "install/http_downloader.h"
#include "install/rar4_writer.h"
#include "install/scratch_folder.h"
#include "support/http_server.h"
#include "install/transcript_capture.h"
#include "platform/qt/main_form.h"
#include "support/test_host.h"

namespace vork::testing {
namespace {

constexpr char kQuestion[] =
    "question: This part of Demo is currently NOT installed.\\n\\nWould you like to install it now "
    "(requires Internet connection)?\n";
constexpr char kComplete[] = "info: Installation complete. This part of Demo is now available.\n";

class InstallPartTest : public ::testing::Test {
 protected:
  std::string Install(const std::string& answers, const std::string& primary,
                      const std::string& secondary = "", const std::string& manual = "") {
    TranscriptCapture capture(answers);
    TVkPartInstaller("Demo", course.Path()).InstallPart(primary, secondary, manual);
    return capture.Lines();
  }
  std::string FailureBox(const char* which, const std::string& url, int status,
                         const std::string& reason) {
    return "error: Download from " + std::string(which) + " location \"" + url +
           "\" failed.\\n\\nStatus Code = " + std::to_string(status) + "\\nReason = " + reason + "\n";
  }
  std::string CorruptBox(const std::string& url) {
    return "error: Installation failed.\\n\\nThe file downloaded from location \"" + url +
           "\" is corrupt.\n";
  }

  HttpServer server;
  ScratchFolder course;
  const std::string part = Rar4Archive({{"demo.x01", "update part"}, {"media\\say_sol.ogg", "OggS"}});
};

TEST_F(InstallPartTest, DownloadsAndUnpacksBesideTheProgram) {
  server.Serve("/part.rar", {200, "OK", part});
  EXPECT_EQ(Install("yes", server.Url("/part.rar")), std::string(kQuestion) + kComplete);
  EXPECT_EQ(course.Tree(), (std::vector<std::string>{"demo.x01", "media", "media/say_sol.ogg"}));
  EXPECT_EQ(ReadFile(course / "demo.x01"), "update part");
}

TEST_F(InstallPartTest, ServerWithoutContentLength) {
  server.Serve("/part.rar", {200, "OK", part, false});
  EXPECT_EQ(Install("yes", server.Url("/part.rar")), std::string(kQuestion) + kComplete);
  EXPECT_TRUE(std::filesystem::exists(course / "demo.x01"));
}

TEST_F(InstallPartTest, DeclinedQuestionDoesNothing) {
  server.Serve("/part.rar", {200, "OK", part});
  EXPECT_EQ(Install("no", server.Url("/part.rar")), kQuestion);
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_TRUE(course.Tree().empty());
}

TEST_F(InstallPartTest, PrimaryFailsAndSecondaryIsDeclined) {
  server.Serve("/gone.rar", {404, "Part Not Here", "<html>gone</html>"});
  server.Serve("/part.rar", {200, "OK", part});
  const std::string primary = server.Url("/gone.rar");
  // Every box takes an answer: the failure box its OK.
  EXPECT_EQ(Install("yes,ok,no", primary, server.Url("/part.rar")),
            kQuestion + FailureBox("primary", primary, 404, "Part Not Here") +
                "question: Attempt to download from secondary site?\ninfo: Installation failed.\n");
  EXPECT_EQ(server.Requests(), std::vector<std::string>{"/gone.rar"});
  EXPECT_TRUE(course.Tree().empty());
}

TEST_F(InstallPartTest, SecondarySiteAfterThePrimaryFailed) {
  server.Serve("/part.rar", {200, "OK", part});
  const std::string primary = server.Url("/gone.rar");
  const std::string secondary = server.Url("/part.rar");
  EXPECT_EQ(Install("yes,ok,yes", primary, secondary),
            kQuestion + FailureBox("primary", primary, 404, "Not Found") +
                "question: Attempt to download from secondary site?\n" + kComplete);
  // Without a secondary site there is no second question; both failing
  // gives both boxes.
  EXPECT_EQ(Install("yes", primary),
            kQuestion + FailureBox("primary", primary, 404, "Not Found") + "info: Installation failed.\n");
  const std::string missing = server.Url("/missing.rar");
  EXPECT_EQ(Install("yes,ok,yes,ok", primary, missing),
            kQuestion + FailureBox("primary", primary, 404, "Not Found") +
                "question: Attempt to download from secondary site?\n" +
                FailureBox("secondary", missing, 404, "Not Found") + "info: Installation failed.\n");
}

TEST_F(InstallPartTest, DownloadThatIsNoArchiveIsCorrupt) {
  server.Serve("/page.rar", {200, "OK", "<html>Welcome to our shop</html>"});
  EXPECT_EQ(Install("yes", server.Url("/page.rar")), kQuestion + CorruptBox(server.Url("/page.rar")));
  EXPECT_TRUE(course.Tree().empty());
}

// The box names the entry and why; the part's harmless entries are not
// installed either, and the learner's store is as it was.
TEST_F(InstallPartTest, PartWithAForbiddenEntryIsRefusedWhole) {
  std::filesystem::create_directory(course / "users");
  WriteFile(course / "users/Ann.vkr", "Ann's progress");
  server.Serve("/evil.rar", {200, "OK", Rar4Archive({{"fine.txt", "x"}, {"users\\Ann.vkr", "blank"}})});
  server.Serve("/up.rar", {200, "OK", Rar4Archive({{"fine.txt", "x"}, {"../evil", "payload"}})});
  const auto refused = [](const std::string& url, const std::string& entry, const std::string& why) {
    return "error: Installation failed.\\n\\nThe file downloaded from location \"" + url +
           "\" holds \"" + entry + "\", which may not be installed: " + why +
           ".\\n\\nNothing of it was installed.\n";
  };
  EXPECT_EQ(Install("yes", server.Url("/evil.rar")),
            kQuestion + refused(server.Url("/evil.rar"), "users/Ann.vkr", "it belongs to the learners' data"));
  EXPECT_EQ(Install("yes", server.Url("/up.rar")),
            kQuestion + refused(server.Url("/up.rar"), "../evil", "its name leads outside the course folder"));
  EXPECT_EQ(course.Tree(), (std::vector<std::string>{"users", "users/Ann.vkr"}));
  EXPECT_EQ(ReadFile(course / "users/Ann.vkr"), "Ann's progress");
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(course.Path()).parent_path() / "evil"));
}

std::string Sha256Hex(const std::string& bytes) {
  return QCryptographicHash::hash(QByteArray::fromStdString(bytes), QCryptographicHash::Sha256)
      .toHex()
      .toStdString();
}

// NAME.sha256 beside the archive: a match installs, anything else that
// comes back from the server refuses the part with a box.
TEST_F(InstallPartTest, DownloadIsCheckedAgainstTheDigestBesideIt) {
  const std::string url = server.Url("/part.rar");
  const std::string digest_url = server.Url("/part.rar.sha256");
  const std::string mismatch = "error: Installation failed.\\n\\nThe file downloaded from location \"" +
                               url + "\" does not match its checksum at location \"" + digest_url +
                               "\". It may be incomplete or altered.\n";
  const std::string unreadable = "error: Installation failed.\\n\\nThe checksum at location \"" +
                                 digest_url + "\" could not be read, so the file downloaded from "
                                 "location \"" + url + "\" cannot be checked.\n";
  std::string upper = Sha256Hex(part);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::string tampered = part;
  tampered[tampered.size() - 12] ^= 0x20;  // inside the stored media bytes
  struct Case {
    const char* what;
    std::string archive;
    HttpResponse digest;
    std::string boxes;
  };
  const Case cases[] = {
      {"sha256sum's line", part, {200, "OK", Sha256Hex(part) + "  part.rar\n"}, kComplete},
      {"bare upper-case digest", part, {200, "OK", upper}, kComplete},
      {"tampered archive", tampered, {200, "OK", Sha256Hex(part) + "  part.rar\n"}, mismatch},
      {"digest of something else", part, {200, "OK", Sha256Hex("x") + " *part.rar\n"}, mismatch},
      {"not a digest", part, {200, "OK", "<html>ok</html>"}, unreadable},
      {"digest too short", part, {200, "OK", Sha256Hex(part).substr(1)}, unreadable},
      {"server error", part, {500, "Internal Server Error", ""}, unreadable},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(course / "media");
    std::filesystem::remove(course / "demo.x01");
    server.Serve("/part.rar", {200, "OK", c.archive});
    server.Serve("/part.rar.sha256", c.digest);
    EXPECT_EQ(Install("yes", url), kQuestion + c.boxes);
    EXPECT_EQ(std::filesystem::exists(course / "demo.x01"), c.boxes == kComplete);
  }
}

// A connection that ends early: with a length announced the download itself
// fails; without one only the digest can tell.
TEST_F(InstallPartTest, TruncatedDownloads) {
  HttpResponse cut{200, "OK", part};
  cut.cut = true;
  server.Serve("/cut.rar", cut);
  const std::string url = server.Url("/cut.rar");
  EXPECT_EQ(Install("yes", url),
            kQuestion + FailureBox("primary", url, 200, "OK") + "info: Installation failed.\n");
  cut.send_length = false;
  server.Serve("/cut.rar", cut);
  server.Serve("/cut.rar.sha256", {200, "OK", Sha256Hex(part) + "  cut.rar\n"});
  EXPECT_NE(Install("yes", url).find("does not match its checksum"), std::string::npos);
  EXPECT_TRUE(course.Tree().empty());
}

TEST_F(InstallPartTest, UnusableProgramFolder) {
  server.Serve("/part.rar", {200, "OK", part});
  TranscriptCapture capture("yes");
  TVkPartInstaller("Demo", course / "gone").InstallPart(server.Url("/part.rar"), "", "");
  EXPECT_EQ(capture.Lines(), kQuestion + std::string("error: Could not create a required temporary "
                                                     "file to directory \"") +
                                 course.Path() + "/gone\".\n");
  EXPECT_TRUE(server.Requests().empty());
}

// Presses the progress window's Cancel button while it is shown, as often
// as asked, running on_press just before each press.
class CancelPresser {
 public:
  explicit CancelPresser(int presses, std::function<void()> on_press = {})
      : presses_(presses), on_press_(std::move(on_press)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* form = dynamic_cast<TVkDownloadForm*>(window);
        if (form && form->isVisible() && !form->CancelRequested() && presses_ > 0) {
          --presses_;
          if (on_press_) on_press_();
          form->CancelButton()->click();
        }
      }
    });
    timer_.start(50);
  }

 private:
  QTimer timer_;
  int presses_;
  std::function<void()> on_press_;
};

TEST_F(InstallPartTest, CancelAskedTwiceDeclinedThenConfirmed) {
  server.Serve("/slow.rar", {200, "OK", part, true, true});
  CancelPresser presser(2);
  EXPECT_EQ(Install("yes,no,yes", server.Url("/slow.rar")),
            std::string(kQuestion) +
                "question: Are you sure you want to cancel the download?\n"
                "question: Are you sure you want to cancel the download?\n"
                "info: Installation cancelled.\n");
  EXPECT_TRUE(course.Tree().empty());
}

TEST_F(InstallPartTest, OtherWindowsAreDisabledWhileDownloading) {
  server.Serve("/slow.rar", {200, "OK", part, true, true});
  QWidget other;
  other.show();
  bool enabled_during_download = true;
  CancelPresser presser(1, [&] { enabled_during_download = other.isEnabled(); });
  Install("yes,yes", server.Url("/slow.rar"));
  EXPECT_FALSE(enabled_during_download);
  EXPECT_TRUE(other.isEnabled());
}

// The course's window takes no input while a part comes in: a real click
// (through the window system, as a learner's would) on its "Download it"
// button does nothing, and a second installation that the course's timers
// start meanwhile does not begin.
TEST_F(InstallPartTest, CoursesWindowTakesNoInputWhileInstalling) {
  server.Serve("/slow.rar", {200, "OK", part, true, true});
  server.Serve("/part.rar", {200, "OK", part});
  QWidget course_window;
  course_window.resize(200, 100);
  QPushButton download_it("Download it", &course_window);
  download_it.setGeometry(10, 10, 120, 30);
  int clicks = 0;
  QObject::connect(&download_it, &QPushButton::clicked, [&] { ++clicks; });
  SetMainForm(&course_window);
  course_window.show();
  QApplication::processEvents();
  const QPoint on_button = download_it.geometry().center();
  bool modal = false;
  std::string second_install;
  CancelPresser presser(1, [&] {
    modal = QApplication::activeModalWidget() != nullptr &&
            dynamic_cast<TVkDownloadForm*>(QApplication::activeModalWidget()) != nullptr;
    QTest::mouseClick(course_window.windowHandle(), Qt::LeftButton, {}, on_button);
    // A part that would come at once, so that a second installation shows
    // in the transcript and the requests instead of hanging the test.
    TVkPartInstaller("Demo", course.Path()).InstallPart(server.Url("/part.rar"), "", "");
  });
  const std::string lines = Install("yes,yes", server.Url("/slow.rar"));
  EXPECT_TRUE(modal);
  EXPECT_EQ(clicks, 0);
  // One question, one cancellation: the second installation asked nothing.
  EXPECT_EQ(lines, std::string(kQuestion) +
                       "question: Are you sure you want to cancel the download?\n"
                       "info: Installation cancelled.\n");
  EXPECT_EQ(server.Requests().size(), 1u);
  // Afterwards the same click reaches the button.
  QTest::mouseClick(course_window.windowHandle(), Qt::LeftButton, {}, on_button);
  EXPECT_EQ(clicks, 1);
  SetMainForm(nullptr);
}

TEST_F(InstallPartTest, ChoiceBetweenAutomaticAndManual) {
  server.Serve("/part.rar", {200, "OK", part});
  const std::string method =
      "question: Installation can be done automatically (recommended) or manually.\\n\\nWhich "
      "install method to use?\\n\n";
  const std::string manual_failed =
      "error: Execution error.\\n\\n   File = \"/no/such/setup\"\\n   Parameters = \"-q\"\\n   "
      "Error code = 2\n"
      "info: After you have completed the manual installation, click OK to continue.\n";
  EXPECT_EQ(Install("yes,11", server.Url("/part.rar"), "", "/no/such/setup|-q"),
            kQuestion + method + kComplete);
  EXPECT_EQ(Install("yes,12", server.Url("/part.rar"), "", "/no/such/setup|-q"),
            kQuestion + method + manual_failed);
  EXPECT_EQ(Install("yes,13", server.Url("/part.rar"), "", "/no/such/setup|-q"), kQuestion + method);
  // No site at all: straight to the manual installation.
  EXPECT_EQ(Install("yes", "", "", "/no/such/setup|-q"), kQuestion + manual_failed);
  // The part and the digest the server might offer beside it.
  EXPECT_EQ(server.Requests(), (std::vector<std::string>{"/part.rar", "/part.rar.sha256"}));
}

// The downloader alone: a body past the announced or the largest allowed
// size ends the download as failed.
TEST(HttpDownloader, StopsAtTheSizeBound) {
  HttpServer server;
  ScratchFolder folder;
  server.Serve("/endless", {200, "OK", std::string(64 * 1024, 'x'), false});
  server.Serve("/small", {200, "OK", std::string(100, 'y'), false});
  const std::string file = folder / "download";
  WriteFile(file, "");
  const auto download = [&](const std::string& path, int64_t bound) {
    TVkHTTPDownloader downloader(server.Url(path), file, bound);
    while (downloader.Busy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return downloader.Succeeded();
  };
  EXPECT_FALSE(download("/endless", 1000));
  EXPECT_TRUE(download("/small", 1000));
  EXPECT_EQ(ReadFile(file), std::string(100, 'y'));
}

TEST(DownloadForm, FiguresWithAndWithoutAContentLength) {
  testing::TestHost host(nullptr, 5000);
  TVkDownloadEstimator estimator;
  TVkDownloadForm form("Demo");
  form.Refresh(0, 10240, estimator);
  EXPECT_EQ(form.StatusText(), "Starting download...");
  estimator.Sample(1024);
  host.clock.Advance(1000);
  estimator.Sample(3072);
  form.Refresh(3072, 10240, estimator);
  EXPECT_EQ(form.StatusText(), "Downloading (30% complete)...");
  EXPECT_EQ(form.Percent(), 30);
  EXPECT_EQ(form.TimeLeftText(), "0 min 4 sec (3 of 10 KB copied)");
  EXPECT_EQ(form.RateText(), "2.00 KB/sec");
  form.Refresh(5000, 0, estimator);
  EXPECT_EQ(form.StatusText(), "Downloading (5 KB copied)...");
  EXPECT_EQ(form.Percent(), 0);
  EXPECT_EQ(form.TimeLeftText(), "");
}

}  // namespace
}  // namespace vork::testing
