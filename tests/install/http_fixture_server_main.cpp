// http_fixture_server FOLDER PORT_FILE [SECONDS]: serves the files of FOLDER
// on 127.0.0.1 for a course test, writes the port it listens on to
// PORT_FILE, and ends after SECONDS (20 by default).

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <string>

#include "install/scratch_folder.h"
#include "install/test_http_server.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: http_fixture_server FOLDER PORT_FILE [SECONDS]\n", stderr);
    return 2;
  }
  QCoreApplication app(argc, argv);
  vork::test::TestHttpServer server;
  for (const auto& entry : std::filesystem::directory_iterator(argv[1]))
    if (entry.is_regular_file())
      server.Serve("/" + entry.path().filename().string(),
                   {200, "OK", vork::test::ReadFile(entry.path().string())});
  const std::string url = server.Url("/");
  const std::string port = url.substr(url.rfind(':') + 1, url.size() - url.rfind(':') - 2);
  const std::string partial = std::string(argv[2]) + ".part";
  vork::test::WriteFile(partial, port + "\n");
  std::filesystem::rename(partial, argv[2]);
  QTimer::singleShot((argc > 3 ? std::stoi(argv[3]) : 20) * 1000, &app, &QCoreApplication::quit);
  return QCoreApplication::exec();
}
