#pragma once
// An HTTP/1.1 server on 127.0.0.1 for the tests of downloads and streamed
// media. It serves on a thread of its own, so it answers whether or not the
// code under test turns the event loop, and libmpv's own threads reach it
// too. One request per connection, no ranges.

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace vork::testing {

struct HttpResponse {
  int status = 200;
  std::string reason = "OK";
  std::string body;
  bool send_length = true;  // a Content-Length header
  bool stall = false;       // send the headers and half the body, then hold on
  bool cut = false;         // send the headers and half the body, then close
};

class HttpServer {
 public:
  HttpServer();
  // Serves body, with status 200, at every path not given its own response.
  explicit HttpServer(std::string body);
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  void Serve(const std::string& path, HttpResponse response);
  // "http://127.0.0.1:PORT" + path
  std::string Url(const std::string& path) const;
  uint16_t Port() const { return port_; }
  // The paths asked for, in order.
  std::vector<std::string> Requests() const;

 private:
  void Run();
  void Answer(int client);
  HttpResponse ResponseFor(const std::string& path);

  mutable std::mutex mutex_;
  std::map<std::string, HttpResponse> responses_;
  std::optional<HttpResponse> fallback_;
  std::vector<std::string> requests_;
  std::vector<int> stalled_;  // connections held open until the server ends
  int listener_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace vork::testing
