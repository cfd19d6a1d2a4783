#pragma once
// Functions looked up in a shared library opened with dlopen. Header-only,
// so that the sound library (itself opened this way) can use it too.

#include <dlfcn.h>

namespace vork {

// Sets `function` to the library's function `name`; null when the library
// itself is null or has no such function. True when it was found.
template <typename Function>
bool FindFunction(void* library, const char* name, Function& function) {
  function = library ? reinterpret_cast<Function>(::dlsym(library, name)) : nullptr;
  return function != nullptr;
}

}  // namespace vork
