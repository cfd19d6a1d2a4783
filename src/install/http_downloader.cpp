#include "install/http_downloader.h"

#include <fcntl.h>
#include <unistd.h>

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <algorithm>
#include <cerrno>

#include "platform/errors.h"
#include "platform/qt/qt_text.h"

namespace vork {
namespace {

bool WriteAll(int fd, const char* bytes, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, bytes, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

}  // namespace

TVkHTTPDownloader::TVkHTTPDownloader(const std::string& url, const std::string& file_name,
                                     int64_t max_bytes)
    : network_(std::make_unique<QNetworkAccessManager>()), max_bytes_(max_bytes) {
  fd_ = ::open(file_name.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
  if (fd_ < 0) throw EVkError("Cannot write the download file \"" + file_name + "\".");
  QNetworkRequest request(QUrl(ToQString(url)));
  reply_ = network_->get(request);
  connect(reply_, &QNetworkReply::readyRead, this, &TVkHTTPDownloader::ReadBody);
  connect(reply_, &QNetworkReply::finished, this, &TVkHTTPDownloader::Finished);
}

TVkHTTPDownloader::~TVkHTTPDownloader() {
  if (reply_) {
    reply_->disconnect(this);
    reply_->abort();
    delete reply_;
  }
  if (fd_ >= 0) ::close(fd_);
}

void TVkHTTPDownloader::ReadBody() {
  if (failed_ || !reply_) return;
  if (content_length_ < 0) {
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    content_length_ = length.isValid() ? length.toLongLong() : 0;
  }
  const QByteArray bytes = reply_->readAll();
  received_ += bytes.size();
  const int64_t bound = content_length_ > 0 ? std::min(content_length_, max_bytes_) : max_bytes_;
  if (received_ > bound || !WriteAll(fd_, bytes.constData(), static_cast<size_t>(bytes.size()))) {
    Fail();
  }
}

void TVkHTTPDownloader::Fail() {
  failed_ = true;
  // abort() finishes the reply at once, which ends the download.
  if (reply_) reply_->abort();
}

void TVkHTTPDownloader::Finished() {
  if (!reply_) return;
  if (!failed_) ReadBody();
  status_code_ = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  reason_phrase_ =
      FromQString(reply_->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
  if (content_length_ < 0) {
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    content_length_ = length.isValid() ? length.toLongLong() : 0;
  }
  succeeded_ = !failed_ && reply_->error() == QNetworkReply::NoError && status_code_ == 200;
  if (::close(fd_) != 0) succeeded_ = false;
  fd_ = -1;
  busy_ = false;
  reply_->deleteLater();
  reply_ = nullptr;
}

}  // namespace vork
