// One player's session with a learner, for the tests that run it under
// other accounts:
//   users_store_session DIR NAME UMASK KEY VALUE   open, list, write, save, close
//   users_store_session DIR NAME UMASK --hold      open, then wait to be killed
// Lists the store as "name=value" lines before writing (and "held" once it
// holds the learner). Exits 3 with the
// error when the learner cannot be opened or saved.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <string>

#include "platform/deferred_saves.h"
#include "users/user.h"

int main(int argc, char** argv) {
  if (argc != 5 && argc != 6) {
    std::fprintf(stderr, "usage: %s DIR NAME UMASK (KEY VALUE | --hold)\n", argv[0]);
    return 2;
  }
  ::umask(static_cast<mode_t>(std::stoul(argv[3], nullptr, 8)));
  try {
    vork::TVkUser user(argv[2], argv[1]);
    for (const vork::TVkRegItem& item : user.Settings().Items())
      std::printf("%s=%s\n", item.name.c_str(), item.value.c_str());
    if (std::string(argv[4]) == "--hold") {
      std::printf("held\n");
      std::fflush(stdout);
      for (;;) ::pause();
    }
    user.Settings().WriteString(argv[4], argv[5]);
    if (!vork::SaveDeferredChanges()) return 3;
  } catch (const std::exception& error) {
    std::printf("refused: %s\n", error.what());
    return 3;
  }
  return 0;
}
