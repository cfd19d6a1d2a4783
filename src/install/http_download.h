#pragma once
// What the installer sees of a download that runs in the network module: its
// progress and its outcome. The player holds downloads through this
// interface only, so it needs nothing of the module's own types (their type
// information lives in the module, which the player does not link).

#include <cstdint>
#include <string>

namespace vork {

class HttpDownload {
 public:
  virtual ~HttpDownload() = default;

  virtual bool Busy() const = 0;
  virtual bool Succeeded() const = 0;
  virtual int64_t Received() const = 0;
  // 0 or less when the server sent no length.
  virtual int64_t ContentLength() const = 0;
  virtual int StatusCode() const = 0;
  virtual const std::string& ReasonPhrase() const = 0;
};

}  // namespace vork
