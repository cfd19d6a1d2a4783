#pragma once
// The one failure inside the sound library: an error code of oggaudio.h with a
// message for the diagnostic log. It never leaves the library; the C entry
// points turn it into their answer and the code OggGetError reports.

#include <stdexcept>
#include <string>

namespace vork {

class SoundError : public std::runtime_error {
 public:
  SoundError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
  int Code() const { return code_; }

 private:
  int code_;
};

}  // namespace vork
