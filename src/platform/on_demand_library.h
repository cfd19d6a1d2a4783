#pragma once
// A shared library opened the first time one of its functions is needed,
// not when the program starts: what a course may never use (unpacking,
// sound decoding, the network, printing) stays out of every start. C
// libraries are linked through forwarding functions with the library's own
// names and signatures (VORK_ON_DEMAND), each finding its real function here
// on its first call; the player's own modules beside the executable are
// reached through one entry point each. Header-only: the sound library, a
// shared object of its own, uses it too.

#include <dlfcn.h>

#include <unistd.h>

#include <mutex>
#include <string>
#include <utility>

#include "platform/errors.h"

namespace vork {

class OnDemandLibrary {
 public:
  // file: a soname as the dynamic loader looks it up ("libarchive.so.13")
  // or a path; purpose says what the player needs it for, in the failure
  // message.
  OnDemandLibrary(std::string file, const char* purpose) : file_(std::move(file)), purpose_(purpose) {}

  // The path of the player's module `name` beside the running executable,
  // where the build and an installation both put it.
  static std::string BesideExecutable(const std::string& name) {
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    const std::string executable(path, length > 0 ? static_cast<size_t>(length) : 0);
    return executable.substr(0, executable.rfind('/') + 1) + name;
  }

  // The function `name` of the library, loading it first. Throws EVkError
  // naming the library when it or the function cannot be found.
  template <typename Function>
  Function Find(const char* name) {
    void* symbol = ::dlsym(Handle(), name);
    if (!symbol) Fail(std::string("it has no function ") + name);
    return reinterpret_cast<Function>(symbol);
  }

 private:
  void* Handle() {
    std::lock_guard<std::mutex> hold(mutex_);
    // dlopen would answer the program itself for an empty name.
    if (file_.empty()) Fail("no library is named");
    if (!handle_) {
      // Never closed: the forwarders keep the addresses they found.
      handle_ = ::dlopen(file_.c_str(), RTLD_NOW | RTLD_LOCAL);
      if (!handle_) {
        const char* reason = ::dlerror();
        Fail(reason ? reason : "it cannot be loaded");
      }
    }
    return handle_;
  }

  [[noreturn]] void Fail(const std::string& reason) const {
    throw EVkError("Cannot use " + file_ + ", which the player needs for " + purpose_ + ": " + reason + ".");
  }

  const std::string file_;
  const char* purpose_;
  void* handle_ = nullptr;
  std::mutex mutex_;
};

}  // namespace vork

// Defines the forwarder `result function params`, which calls the
// library's own function of that name with `args` (the parameters' names in
// parentheses). Used inside extern "C" after the library's header, so the
// forwarder takes the declaration's place.
#define VORK_ON_DEMAND(library, result, function, params, args)                                \
  result function params {                                                                     \
    static const auto real = (library).Find<decltype(&function)>(#function);                 \
    return real args;                                                                          \
  }
