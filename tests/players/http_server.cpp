#include "players/http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace vork::testing {

HttpServer::HttpServer(std::string body) : body_(std::move(body)) {
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 4) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    throw std::runtime_error("the test's HTTP server cannot listen on 127.0.0.1");
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

HttpServer::~HttpServer() {
  stopping_ = true;
  thread_.join();
  ::close(listener_);
}

std::string HttpServer::Address(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void HttpServer::Serve() {
  while (!stopping_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (::poll(&waiting, 1, 50) <= 0) continue;
    const int client = ::accept(listener_, nullptr, nullptr);
    if (client < 0) continue;
    Answer(client);
    ::close(client);
  }
}

void HttpServer::Answer(int client) {
  // The request itself does not matter: every path gets the one body.
  std::string request;
  char buffer[1024];
  while (request.find("\r\n\r\n") == std::string::npos) {
    const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
    if (got <= 0) return;
    request.append(buffer, static_cast<size_t>(got));
  }
  const std::string header = "HTTP/1.1 200 OK\r\nContent-Type: video/mpeg\r\nContent-Length: " +
                             std::to_string(body_.size()) + "\r\nConnection: close\r\n\r\n";
  if (::send(client, header.data(), header.size(), MSG_NOSIGNAL) < 0) return;
  ::send(client, body_.data(), body_.size(), MSG_NOSIGNAL);
}

}  // namespace vork::testing
