// vkrun: runs a bytecode image on the console (no window).
//   vkrun IMAGE [--count]
// --count prints the number of executed instructions to standard error.
// Exit status 0 when the start routine (or stop) ended, 1 on a fault.

#include <iostream>
#include <string>

#include "vkrun/console_runner.h"

int main(int argc, char** argv) {
  std::string path;
  bool count = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--count") {
      count = true;
    } else if (path.empty()) {
      path = argument;
    } else {
      path.clear();
      break;
    }
  }
  if (path.empty()) {
    std::cerr << "usage: vkrun IMAGE [--count]\n";
    return 2;
  }
  try {
    const auto result = vork::RunOnConsole(vork::ReadImageFile(path), std::cout, count);
    std::cout.flush();
    if (count) std::cerr << "instructions: " << result.instructions << "\n";
    return 0;
  } catch (const std::exception& e) {
    std::cout.flush();
    std::cerr << "error: " << e.what() << "\n";
    return 1;
  }
}
