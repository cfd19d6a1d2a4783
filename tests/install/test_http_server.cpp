#include "install/test_http_server.h"

#include <QTcpSocket>
#include <stdexcept>

namespace vork::test {

TestHttpServer::TestHttpServer() {
  if (!server_.listen(QHostAddress::LocalHost, 0)) throw std::runtime_error("cannot listen");
  connect(&server_, &QTcpServer::newConnection, this, &TestHttpServer::Accept);
}

std::string TestHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + path;
}

void TestHttpServer::Accept() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Answer(socket); });
  }
}

void TestHttpServer::Answer(QTcpSocket* socket) {
  QByteArray received = socket->property("request").toByteArray() + socket->readAll();
  socket->setProperty("request", received);
  if (!received.contains("\r\n\r\n")) return;
  const QList<QByteArray> words = received.left(received.indexOf("\r\n")).split(' ');
  const std::string path = words.size() >= 2 ? words[1].toStdString() : "/";
  requests_.push_back(path);
  auto found = responses_.find(path);
  HttpResponse response =
      found != responses_.end() ? found->second : HttpResponse{404, "Not Found", "no such file"};
  std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " + response.reason + "\r\n";
  if (response.send_length) head += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
  head += "Connection: close\r\n\r\n";
  socket->write(head.data(), static_cast<qint64>(head.size()));
  if (response.stall) {
    socket->write(response.body.data(), static_cast<qint64>(response.body.size() / 2));
    return;
  }
  socket->write(response.body.data(), static_cast<qint64>(response.body.size()));
  socket->disconnectFromHost();
}

}  // namespace vork::test
