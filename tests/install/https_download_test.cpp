// Downloads over https from a TLS server on 127.0.0.1 with a certificate
// made for the tests: refused while nothing vouches for the certificate,
// fetched once the test trusts it. The server runs on the event loop that
// the downloader's waiting turns.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>

#include "install/http_downloader.h"
#include "install/scratch_folder.h"

namespace vork::testing {
namespace {

QByteArray Fixture(const char* name) {
  QFile file(QString(VORK_SOURCE_DIR "/tests/install/tls/") + name);
  if (!file.open(QIODevice::ReadOnly)) ADD_FAILURE() << "missing fixture " << name;
  return file.readAll();
}

// Answers every request with body, over TLS, one request a connection.
class LoopbackTlsServer {
 public:
  explicit LoopbackTlsServer(QByteArray body) : body_(std::move(body)) {
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(Certificate());
    tls.setPrivateKey(QSslKey(Fixture("loopback.key"), QSsl::Rsa));
    server_.setSslConfiguration(tls);
    QObject::connect(&server_, &QSslServer::pendingConnectionAvailable, [this] {
      while (auto* socket = qobject_cast<QSslSocket*>(server_.nextPendingConnection())) Answer(socket);
    });
    EXPECT_TRUE(server_.listen(QHostAddress::LocalHost));
  }
  static QSslCertificate Certificate() { return QSslCertificate(Fixture("loopback.crt")); }
  std::string Url(const std::string& path) const {
    return "https://127.0.0.1:" + std::to_string(server_.serverPort()) + path;
  }

 private:
  void Answer(QSslSocket* socket) {
    QObject::connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QSslSocket::readyRead, socket, [this, socket] {
      if (!socket->readAll().contains("\r\n\r\n")) return;
      socket->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body_.size()) +
                    "\r\nConnection: close\r\n\r\n" + body_);
      socket->disconnectFromHost();
    });
  }

  QByteArray body_;
  QSslServer server_;
};

bool Download(const std::string& url, const std::string& file) {
  TVkHTTPDownloader downloader(url, file);
  while (downloader.Busy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  return downloader.Succeeded();
}

TEST(HttpsDownload, OnlyFromAServerWhoseCertificateIsTrusted) {
  ASSERT_TRUE(QSslSocket::supportsSsl()) << "no TLS backend for Qt Network";
  LoopbackTlsServer server("lesson pack bytes");
  ScratchFolder folder;
  const std::string file = folder / "download";
  WriteFile(file, "");
  EXPECT_FALSE(Download(server.Url("/part.rar"), file));
  EXPECT_EQ(ReadFile(file), "");

  const QSslConfiguration usual = QSslConfiguration::defaultConfiguration();
  QSslConfiguration trusting = usual;
  trusting.addCaCertificate(LoopbackTlsServer::Certificate());
  QSslConfiguration::setDefaultConfiguration(trusting);
  EXPECT_TRUE(Download(server.Url("/part.rar"), file));
  QSslConfiguration::setDefaultConfiguration(usual);
  EXPECT_EQ(ReadFile(file), "lesson pack bytes");
}

}  // namespace
}  // namespace vork::testing
