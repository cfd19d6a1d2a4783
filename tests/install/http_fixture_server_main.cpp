// http_fixture_server FOLDER PORT_FILE [SECONDS]: serves the files of FOLDER
// on 127.0.0.1 for a course test, writes the port it listens on to
// PORT_FILE, and ends after SECONDS (20 by default).

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "install/scratch_folder.h"
#include "support/http_server.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: http_fixture_server FOLDER PORT_FILE [SECONDS]\n", stderr);
    return 2;
  }
  vork::testing::HttpServer server;
  for (const auto& entry : std::filesystem::directory_iterator(argv[1]))
    if (entry.is_regular_file())
      server.Serve("/" + entry.path().filename().string(),
                   {200, "OK", vork::testing::ReadFile(entry.path().string())});
  const std::string port = std::to_string(server.Port());
  const std::string partial = std::string(argv[2]) + ".part";
  vork::testing::WriteFile(partial, port + "\n");
  std::filesystem::rename(partial, argv[2]);
  std::this_thread::sleep_for(std::chrono::seconds(argc > 3 ? std::stoi(argv[3]) : 20));
  return 0;
}
