#include "support/http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace vork::testing {

namespace {

// A client that sends no complete request within this time is dropped, so
// that it cannot hold up the others.
constexpr int kRequestTimeoutMs = 2000;

bool SendAll(int client, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t sent = ::send(client, data, size, MSG_NOSIGNAL);
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<size_t>(sent);
  }
  return true;
}

// The path of "GET /path HTTP/1.1", or "" when the request is incomplete.
std::string ReadRequestPath(int client) {
  std::string request;
  char buffer[1024];
  while (request.find("\r\n\r\n") == std::string::npos) {
    pollfd readable{client, POLLIN, 0};
    if (::poll(&readable, 1, kRequestTimeoutMs) <= 0) return {};
    const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
    if (got <= 0) return {};
    request.append(buffer, static_cast<size_t>(got));
  }
  const size_t start = request.find(' ');
  const size_t end = start == std::string::npos ? start : request.find(' ', start + 1);
  return end == std::string::npos ? "/" : request.substr(start + 1, end - start - 1);
}

}  // namespace

HttpServer::HttpServer() {
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 16) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    throw std::runtime_error("the test's HTTP server cannot listen on 127.0.0.1");
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Run(); });
}

HttpServer::HttpServer(std::string body) : HttpServer() {
  std::lock_guard lock(mutex_);
  fallback_ = HttpResponse{200, "OK", std::move(body)};
}

HttpServer::~HttpServer() {
  stopping_ = true;
  thread_.join();
  for (int client : stalled_) ::close(client);
  ::close(listener_);
}

void HttpServer::Serve(const std::string& path, HttpResponse response) {
  std::lock_guard lock(mutex_);
  responses_[path] = std::move(response);
}

std::string HttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> HttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void HttpServer::Run() {
  while (!stopping_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (::poll(&waiting, 1, 50) <= 0) continue;
    const int client = ::accept(listener_, nullptr, nullptr);
    if (client >= 0) Answer(client);
  }
}

HttpResponse HttpServer::ResponseFor(const std::string& path) {
  std::lock_guard lock(mutex_);
  requests_.push_back(path);
  if (auto found = responses_.find(path); found != responses_.end()) return found->second;
  return fallback_.value_or(HttpResponse{404, "Not Found", "no such file"});
}

void HttpServer::Answer(int client) {
  const std::string path = ReadRequestPath(client);
  if (path.empty()) {
    ::close(client);
    return;
  }
  const HttpResponse response = ResponseFor(path);
  std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " + response.reason + "\r\n";
  if (response.send_length) head += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
  head += "Connection: close\r\n\r\n";
  const bool half = response.stall || response.cut;
  const size_t body_bytes = half ? response.body.size() / 2 : response.body.size();
  if (SendAll(client, head.data(), head.size())) SendAll(client, response.body.data(), body_bytes);
  if (response.stall) stalled_.push_back(client);
  else ::close(client);
}

}  // namespace vork::testing
