#pragma once
// TVkHTTPDownloader: one HTTP GET whose body streams into a file. It works
// through the event loop (Qt Network), so whoever waits for it must keep
// processing events.
//
// A body that grows past its announced length, or past kMaxDownloadBytes
// when none was announced, stops the download as failed: a server must not
// be able to fill the disk.

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <string>

#include "install/http_download.h"

class QNetworkAccessManager;
class QNetworkReply;

namespace vork {

constexpr int64_t kMaxDownloadBytes = int64_t{2} << 30;

class TVkHTTPDownloader : public QObject, public HttpDownload {
  Q_OBJECT

 public:
  // Truncates file_name (which must exist: it is a file the caller reserved)
  // and starts the request. Throws EVkError when the file cannot be opened.
  TVkHTTPDownloader(const std::string& url, const std::string& file_name,
                    int64_t max_bytes = kMaxDownloadBytes);
  ~TVkHTTPDownloader() override;

  bool Busy() const override { return busy_; }
  bool Succeeded() const override { return succeeded_; }
  int64_t Received() const override { return received_; }
  int64_t ContentLength() const override { return content_length_; }
  int StatusCode() const override { return status_code_; }
  const std::string& ReasonPhrase() const override { return reason_phrase_; }

 private:
  void ReadBody();
  void Finished();
  void Fail();

  std::unique_ptr<QNetworkAccessManager> network_;
  QPointer<QNetworkReply> reply_;
  int fd_ = -1;
  bool busy_ = true;
  bool succeeded_ = false;
  bool failed_ = false;
  int64_t received_ = 0;
  int64_t content_length_ = -1;
  int64_t max_bytes_;
  int status_code_ = 0;
  std::string reason_phrase_;
};

}  // namespace vork
