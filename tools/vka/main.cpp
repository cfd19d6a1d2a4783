// vka: builds, lists and extracts resource archives, and bundles a course
// image into a copy of the player.

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "archives/ark_reader.h"
#include "archives/ark_writer.h"
#include "archives/embedded_resources.h"
#include "archives/file_stream.h"
#include "platform/errors.h"
#include "platform/path_resolver.h"
#include "cli/tool_command_line.h"

namespace fs = std::filesystem;

namespace vork {
namespace {

constexpr ToolDescription kTool{"vka", R"(Usage: vka pack DIR OUT.vka [--method N]
  or:  vka list ARCHIVE
  or:  vka extract ARCHIVE DIR [NAME]...
  or:  vka cat ARCHIVE NAME
  or:  vka bundle PLAYER IMAGE OUT
Build, list and unpack resource archives; bundle a course image into a copy
of the player.

  pack       pack every file under DIR (--method 0-3, default 2)
  list       list the resources: size, a tab, the name
  extract    unpack all or the named resources into DIR
  cat        write one resource to standard output
  bundle     write a course executable: PLAYER carrying IMAGE as its
             BYTECODE_BIN resource (and IMAGE's source map beside it, if
             there is one, as SOURCE_MAP)
      --help       display this help and exit
      --version    output version information and exit

Exit status: 0 on success, 1 on a failure, 2 on a usage error.
)"};

struct UsageFault {
  std::string message;
};

std::unique_ptr<TKsArkReader> OpenArchive(const std::string& path) {
  return std::make_unique<TKsArkReader>(std::make_shared<TKsFileStream>(path));
}

std::string ReadFile(const std::string& path) {
  TKsFileStream stream(path);
  return stream.ReadAll();
}

int ParseMethod(const std::string& text) {
  int method = -1;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), method);
  if (error != std::errc() || end != text.data() + text.size() || method < 0 || method > 3)
    throw UsageFault{"--method takes 0, 1, 2 or 3, not \"" + text + "\""};
  return method;
}

int Pack(const std::vector<std::string>& args) {
  std::vector<std::string> plain;
  int method = 2;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--method") {
      if (i + 1 == args.size()) throw UsageFault{"--method needs a number"};
      method = ParseMethod(args[++i]);
    } else {
      plain.push_back(args[i]);
    }
  }
  if (plain.size() != 2) throw UsageFault{"pack takes DIR and OUT.vka"};
  fs::path root = plain[0];
  if (!fs::is_directory(root)) throw EVkError("\"" + plain[0] + "\" is not a directory");
  fs::path out = fs::absolute(plain[1]);

  std::vector<std::pair<std::string, fs::path>> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file() || fs::absolute(entry.path()) == out) continue;
    files.emplace_back(entry.path().lexically_relative(root).generic_string(), entry.path());
  }
  std::sort(files.begin(), files.end());

  TKsArkWriter writer(std::make_shared<TKsFileStream>(out.string(), TKsFileStream::Mode::Create),
                      method);
  for (const auto& [name, path] : files) writer.Add(name, ReadFile(path.string()));
  writer.Finish();
  return 0;
}

int List(const std::vector<std::string>& args) {
  if (args.size() != 1) throw UsageFault{"list takes ARCHIVE"};
  auto reader = OpenArchive(args[0]);
  for (size_t i = 0; i < reader->Count(); ++i)
    std::cout << reader->Item(i).size << '\t' << reader->Name(i) << '\n';
  return 0;
}

// A name is extracted only when it stays inside the target folder: relative,
// and without ".." components ("\" counts as a separator too).
bool StaysInside(const std::string& name) {
  std::string path = WithForwardSlashes(name);
  if (path.empty() || path.front() == '/') return false;
  size_t start = 0;
  while (start <= path.size()) {
    size_t slash = std::min(path.find('/', start), path.size());
    if (path.compare(start, slash - start, "..") == 0 && slash - start == 2) return false;
    start = slash + 1;
  }
  return true;
}

int Extract(const std::vector<std::string>& args) {
  if (args.size() < 2) throw UsageFault{"extract takes ARCHIVE and DIR"};
  auto reader = OpenArchive(args[0]);
  std::vector<std::string> names(args.begin() + 2, args.end());
  if (names.empty())
    for (size_t i = 0; i < reader->Count(); ++i) names.push_back(reader->Name(i));
  int status = 0;
  for (const auto& name : names) {
    if (!StaysInside(name)) {
      std::cerr << "vka: refusing to extract \"" << name << "\": it would land outside \""
                << args[1] << "\"\n";
      status = 1;
      continue;
    }
    fs::path target = fs::path(args[1]) / WithForwardSlashes(name);
    fs::create_directories(target.parent_path());
    std::string data = reader->Open(name)->ReadAll();
    TKsFileStream out(target.string(), TKsFileStream::Mode::Create);
    if (out.Write(data.data(), data.size()) != data.size())
      throw EVkError("Cannot write \"" + target.string() + "\"");
  }
  return status;
}

int Cat(const std::vector<std::string>& args) {
  if (args.size() != 2) throw UsageFault{"cat takes ARCHIVE and NAME"};
  std::string data = OpenArchive(args[0])->Open(args[1])->ReadAll();
  std::cout.write(data.data(), static_cast<std::streamsize>(data.size()));
  return std::cout.good() ? 0 : 1;
}

int Bundle(const std::vector<std::string>& args) {
  if (args.size() != 3) throw UsageFault{"bundle takes PLAYER, IMAGE and OUT"};
  std::vector<EmbeddedResource> resources = {{"BYTECODE_BIN", ReadFile(args[1])}};
  // The compiler writes the image's source map beside it.
  fs::path map = args[1];
  map.replace_extension(".vkmap");
  if (map != fs::path(args[1]) && fs::is_regular_file(map)) resources.push_back({"SOURCE_MAP", ReadFile(map.string())});
  WriteWithEmbeddedResources(args[0], args[2], resources);
  return 0;
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) throw UsageFault{"missing command"};
  std::vector<std::string> rest(args.begin() + 1, args.end());
  const std::string& command = args[0];
  if (command == "pack") return Pack(rest);
  if (command == "list") return List(rest);
  if (command == "extract") return Extract(rest);
  if (command == "cat") return Cat(rest);
  if (command == "bundle") return Bundle(rest);
  throw UsageFault{"unknown command \"" + command + "\""};
}

}  // namespace
}  // namespace vork

int main(int argc, char** argv) {
  if (const auto answered = vork::AnswerHelpOrVersion(vork::kTool, argc, argv)) return *answered;
  try {
    return vork::Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const vork::UsageFault& error) {
    return vork::UsageError(vork::kTool, error.message);
  } catch (const std::exception& error) {
    std::cerr << "vka: " << error.what() << "\n";
    return 1;
  }
}
