#pragma once
// An HTTP server on 127.0.0.1 for the tests of streamed media: it answers
// every request with one body. Not seekable (no ranges).

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace vork::testing {

class HttpServer {
 public:
  explicit HttpServer(std::string body);
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // "http://127.0.0.1:PORT" + path
  std::string Address(const std::string& path) const;

 private:
  void Serve();
  void Answer(int client);

  std::string body_;
  int listener_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace vork::testing
