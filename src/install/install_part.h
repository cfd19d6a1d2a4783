#pragma once
// On-demand installation of a missing course part: the learner's consent,
// the choice between automatic and manual installation, the download of a
// RAR archive with its progress window (primary, then secondary location),
// unpacking into the course's folder, and a box with the result. The caller
// rescans the resources afterwards. A download is checked against the digest
// the server offers beside it, and the part against the install rules (see
// install_rules.h); only one installation runs at a time.

#include <string>

namespace vork {

// Download results.
constexpr int kDownloaded = 0;
constexpr int kDownloadCancelled = 1;
constexpr int kDownloadFailed = 2;
// Ours: downloaded but refused (its digest does not match), with a box shown.
constexpr int kDownloadRefused = 3;

class TVkPartInstaller {
 public:
  // destination: the folder the archive unpacks into (the program's folder).
  TVkPartInstaller(std::string product_name, std::string destination);

  void InstallPart(const std::string& primary_url, const std::string& secondary_url,
                   const std::string& manual_target);
  // Runs one download into file_name with the progress window.
  int DownloadFile(const std::string& url, const std::string& file_name);

 private:
  void InstallAutomatically(const std::string& primary_url, const std::string& secondary_url);
  void InstallManually(const std::string& manual_target);
  int DownloadWithFallback(const std::string& primary_url, const std::string& secondary_url,
                           const std::string& file_name, std::string& last_url);
  void ShowDownloadFailure(const char* which, const std::string& url);
  // When the server offers url + ".sha256", the download must match it.
  int CheckDigest(const std::string& archive_file, const std::string& url);
  void Unpack(const std::string& archive_file, const std::string& url);

  std::string product_name_;
  std::string destination_;
  int status_code_ = 0;
  std::string reason_phrase_;
};

// A fresh file prefix + number + extension, made with O_CREAT|O_EXCL; "" when
// none could be made.
std::string MakeTempFile(const std::string& prefix, const std::string& extension);

// The installation a course asks for, into the program's folder, with the
// product name of the course configuration.
void InstallPart(const std::string& product_name, const std::string& primary_url,
                 const std::string& secondary_url, const std::string& manual_target);

}  // namespace vork
