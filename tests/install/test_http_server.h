#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for download tests. It runs on the
// test's own thread: the code under test keeps the event loop turning while
// it downloads, which is also what serves the requests.

#include <QObject>
#include <QTcpServer>
#include <map>
#include <string>
#include <vector>

namespace vork::test {

struct HttpResponse {
  int status = 200;
  std::string reason = "OK";
  std::string body;
  bool send_length = true;  // a Content-Length header
  bool stall = false;       // send the headers and half the body, then hold on
};

class TestHttpServer : public QObject {
  Q_OBJECT

 public:
  TestHttpServer();
  void Serve(const std::string& path, HttpResponse response) { responses_[path] = std::move(response); }
  std::string Url(const std::string& path) const;
  // The paths asked for, in order.
  const std::vector<std::string>& Requests() const { return requests_; }

 private:
  void Accept();
  void Answer(QTcpSocket* socket);

  QTcpServer server_;
  std::map<std::string, HttpResponse> responses_;
  std::vector<std::string> requests_;
};

}  // namespace vork::test
