#include "install/install_part.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <vector>

#include "install/download_estimator.h"
#include "install/download_form.h"
#include "install/extract_archive.h"
#include "install/network_module.h"
#include "install/run_program.h"
#include "text/temp_file.h"
#include "platform/clock.h"
#include "platform/message_boxes.h"
#include "platform/program_location.h"
#include "platform/qt/main_form.h"
#include "platform/qt/qt_text.h"
#include "platform/button_dialog.h"

namespace vork {
namespace {

bool AskYes(const std::string& question) {
  return Boxes().Show(BoxKind::Question, question, BoxButtons::YesNo) == BoxResult::Yes;
}

// Every visible, enabled top-level window but the main form, disabled for
// the life of this object and enabled again on every way out.
class DisabledTaskWindows {
 public:
  DisabledTaskWindows() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window == MainForm() || !window->isVisible() || !window->isEnabled()) continue;
      window->setEnabled(false);
      disabled_.emplace_back(window);
    }
  }
  ~DisabledTaskWindows() {
    for (const QPointer<QWidget>& window : disabled_)
      if (window) window->setEnabled(true);
    QCoreApplication::processEvents();
    if (QWidget* form = MainForm()) {
      form->activateWindow();
      form->setFocus();
    }
  }
  DisabledTaskWindows(const DisabledTaskWindows&) = delete;
  DisabledTaskWindows& operator=(const DisabledTaskWindows&) = delete;

 private:
  std::vector<QPointer<QWidget>> disabled_;
};

// The reserved temporary file, deleted on every way out.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string name) : name_(std::move(name)) {}
  ~TemporaryFile() {
    if (!name_.empty()) std::remove(name_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
};

// "Installing, please wait..." while the archive unpacks.
class WaitWindow {
 public:
  explicit WaitWindow(const std::string& caption) : window_(new QWidget(nullptr, Qt::Dialog)) {
    window_->setWindowTitle(ToQString(caption));
    auto* layout = new QVBoxLayout(window_);
    const QString padding(15, ' ');
    layout->addWidget(new QLabel(padding + "Installing, please wait..." + padding, window_));
    window_->setWindowModality(Qt::ApplicationModal);
    window_->show();
    QCoreApplication::processEvents();
  }
  ~WaitWindow() { delete window_; }
  WaitWindow(const WaitWindow&) = delete;
  WaitWindow& operator=(const WaitWindow&) = delete;

 private:
  QWidget* window_;
};

void WaitForEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

// Set while an installation runs: the course's timers still tick while the
// loop is pumped by hand, and a second installation must not start over the
// first.
bool installing = false;

class InstallationRunning {
 public:
  InstallationRunning() { installing = true; }
  ~InstallationRunning() { installing = false; }
  InstallationRunning(const InstallationRunning&) = delete;
  InstallationRunning& operator=(const InstallationRunning&) = delete;
};

std::string DigestUrl(const std::string& url) {
  QUrl digest(ToQString(url));
  digest.setPath(digest.path() + ".sha256");
  return FromQString(digest.toString());
}

// The first word of a digest file in sha256sum's format ("HEX  NAME"), when
// it is a SHA-256 digest; lower case.
std::optional<std::string> ReadDigest(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::string word;
  in.width(65);
  if (!(in >> word) || word.size() != 64) return std::nullopt;
  for (char& c : word) {
    if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return std::nullopt;
  }
  return word;
}

std::string Sha256Of(const std::string& file) {
  QFile in(ToQString(file));
  QCryptographicHash hash(QCryptographicHash::Sha256);
  if (!in.open(QIODevice::ReadOnly) || !hash.addData(&in)) return {};
  return hash.result().toHex().toStdString();
}

std::string SizeText(int64_t bytes) {
  constexpr int64_t kMegabyte = int64_t{1} << 20;
  if (bytes < kMegabyte) return std::to_string(bytes / 1024) + " KB";
  return std::to_string(bytes / kMegabyte) + " MB";
}

}  // namespace

std::string MakeTempFile(const std::string& prefix, const std::string& extension) {
  return CreateTempFileWithPrefix(prefix, extension);
}

TVkPartInstaller::TVkPartInstaller(std::string product_name, std::string destination)
    : product_name_(std::move(product_name)), destination_(std::move(destination)) {
  while (destination_.size() > 1 && destination_.back() == '/') destination_.pop_back();
}

void TVkPartInstaller::InstallPart(const std::string& primary_url, const std::string& secondary_url,
                                   const std::string& manual_target) {
  if (installing) return;
  InstallationRunning running;
  if (!AskYes("This part of " + product_name_ +
              " is currently NOT installed.\r\n\r\nWould you like to install it now (requires "
              "Internet connection)?"))
    return;
  if (manual_target.empty()) return InstallAutomatically(primary_url, secondary_url);
  if (primary_url.empty() && secondary_url.empty()) return InstallManually(manual_target);
  const int choice = ButtonDialog(
      "Installation can be done automatically (recommended) or manually.\r\n\r\nWhich install "
      "method to use?\r\n",
      "Confirmation", "Automatic|Manual|Cancel", DialogPlacement::ActiveWindow);
  if (choice == kFirstButton) InstallAutomatically(primary_url, secondary_url);
  else if (choice == kFirstButton + 1) InstallManually(manual_target);
}

void TVkPartInstaller::InstallManually(const std::string& manual_target) {
  RunProgram(manual_target);
  ShowInfo("After you have completed the manual installation, click OK to continue.");
}

void TVkPartInstaller::InstallAutomatically(const std::string& primary_url,
                                            const std::string& secondary_url) {
  DisabledTaskWindows disabled;
  TemporaryFile archive(MakeTempFile(destination_ + "/~", ".tmp"));
  if (archive.Name().empty()) {
    ShowError("Could not create a required temporary file to directory \"" + destination_ + "\".");
    return;
  }
  std::string last_url;
  int result = DownloadWithFallback(primary_url, secondary_url, archive.Name(), last_url);
  if (result == kDownloaded) result = CheckDigest(archive.Name(), last_url);
  switch (result) {
    case kDownloadCancelled: ShowInfo("Installation cancelled."); return;
    case kDownloadFailed: ShowInfo("Installation failed."); return;
    case kDownloaded: Unpack(archive.Name(), last_url); return;
    default: return;  // refused, with its box shown
  }
}

int TVkPartInstaller::CheckDigest(const std::string& archive_file, const std::string& url) {
  const std::string digest_url = DigestUrl(url);
  TemporaryFile digest_file(MakeTempFile(destination_ + "/~", ".tmp"));
  const int result = digest_file.Name().empty() ? kDownloadFailed
                                                : DownloadFile(digest_url, digest_file.Name());
  if (result == kDownloadCancelled) return result;
  // A server without digests answers "not found"; anything else that keeps
  // the digest from us could be hiding a bad download.
  if (result == kDownloadFailed && (status_code_ == 404 || status_code_ == 410)) return kDownloaded;
  const std::optional<std::string> expected =
      result == kDownloaded ? ReadDigest(digest_file.Name()) : std::nullopt;
  if (!expected) {
    ShowError("Installation failed.\r\n\r\nThe checksum at location \"" + digest_url +
              "\" could not be read, so the file downloaded from location \"" + url +
              "\" cannot be checked.");
    return kDownloadRefused;
  }
  if (Sha256Of(archive_file) != *expected) {
    ShowError("Installation failed.\r\n\r\nThe file downloaded from location \"" + url +
              "\" does not match its checksum at location \"" + digest_url +
              "\". It may be incomplete or altered.");
    return kDownloadRefused;
  }
  return kDownloaded;
}

int TVkPartInstaller::DownloadWithFallback(const std::string& primary_url,
                                           const std::string& secondary_url,
                                           const std::string& file_name, std::string& last_url) {
  last_url = primary_url;
  int result = DownloadFile(primary_url, file_name);
  if (result != kDownloadFailed) return result;
  ShowDownloadFailure("primary", primary_url);
  if (secondary_url.empty() || !AskYes("Attempt to download from secondary site?")) return result;
  last_url = secondary_url;
  result = DownloadFile(secondary_url, file_name);
  if (result == kDownloadFailed) ShowDownloadFailure("secondary", secondary_url);
  return result;
}

void TVkPartInstaller::ShowDownloadFailure(const char* which, const std::string& url) {
  ShowError("Download from " + std::string(which) + " location \"" + url +
            "\" failed.\r\n\r\nStatus Code = " + std::to_string(status_code_) +
            "\r\nReason = " + reason_phrase_);
}

void TVkPartInstaller::Unpack(const std::string& archive_file, const std::string& url) {
  ExtractOutcome outcome;
  {
    WaitWindow wait(product_name_);
    ExtractOptions options;
    options.rules = CourseInstallRules(destination_);
    outcome = ExtractArchive(archive_file, destination_, options);
  }
  const std::string nothing_installed = "\r\n\r\nNothing of it was installed.";
  switch (outcome.result) {
    case ExtractResult::Done:
      ShowInfo("Installation complete. This part of " + product_name_ + " is now available.");
      return;
    case ExtractResult::NotWritable:
      ShowError("Installation failed.\r\n\r\nThe files could not be written to directory \"" +
                destination_ + "\".");
      return;
    case ExtractResult::Corrupt:
      ShowError("Installation failed.\r\n\r\nThe file downloaded from location \"" + url +
                "\" is corrupt.");
      return;
    case ExtractResult::Refused:
      ShowError("Installation failed.\r\n\r\nThe file downloaded from location \"" + url +
                "\" holds \"" + outcome.refusal.entry + "\", which may not be installed: " +
                outcome.refusal.reason + "." + nothing_installed);
      return;
    case ExtractResult::TooLarge:
      ShowError("Installation failed.\r\n\r\nThe file downloaded from location \"" + url +
                "\" unpacks to more than " + SizeText(outcome.limit_bytes) +
                ", the most this part may take on this disk." + nothing_installed);
      return;
  }
}

int TVkPartInstaller::DownloadFile(const std::string& url, const std::string& file_name) {
  auto form = std::make_unique<TVkDownloadForm>(product_name_);
  // Modal: the course's window takes no input while the part comes in.
  form->setWindowModality(Qt::ApplicationModal);
  form->show();
  form->repaint();
  int result = kDownloadFailed;
  std::unique_ptr<HttpDownload> downloader;
  try {
    downloader = StartHttpDownload(url, file_name);
    TVkDownloadEstimator estimator;
    // Wakes the loop below while the network is quiet, so that the window's
    // figures and the Cancel button stay alive.
    QTimer tick;
    tick.start(100);
    int64_t last_refresh = MonotonicMilliseconds();
    result = kDownloaded;
    while (downloader->Busy()) {
      if (form->CancelRequested()) {
        if (AskYes("Are you sure you want to cancel the download?")) {
          result = kDownloadCancelled;
          break;
        }
        form->ClearCancelRequest();
      }
      estimator.Sample(downloader->Received());
      if (MonotonicMilliseconds() - last_refresh >= 1000) {
        form->Refresh(downloader->Received(), downloader->ContentLength(), estimator);
        last_refresh = MonotonicMilliseconds();
      }
      WaitForEvents();
    }
    form->Refresh(downloader->Received(), downloader->ContentLength(), estimator);
    QCoreApplication::processEvents();
    if (result == kDownloaded && !downloader->Succeeded()) result = kDownloadFailed;
  } catch (...) {
    // Whatever went wrong, the download did not happen.
    result = kDownloadFailed;
  }
  status_code_ = downloader ? downloader->StatusCode() : 0;
  reason_phrase_ = downloader ? downloader->ReasonPhrase() : std::string();
  return result;
}

void InstallPart(const std::string& product_name, const std::string& primary_url,
                 const std::string& secondary_url, const std::string& manual_target) {
  TVkPartInstaller(product_name, ProgramDirectory()).InstallPart(primary_url, secondary_url, manual_target);
}

}  // namespace vork
