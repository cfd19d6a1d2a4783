// Loading an archive and saving settings with an allocation or a file
// operation failing at the n-th call, for every n the operation reaches: each
// run ends in an error or in success, never a crash; no descriptor is left
// open, nothing leaks (LeakSanitizer in the sanitizer build), the operation
// works again afterwards, and the settings file is always complete.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <string>

#include "archives/ark_writer.h"
#include "archives/file_stream.h"
#include "archives/file_vka.h"
#include "heap_meter.h"
#include "platform/errors.h"
#include "platform/fault_injection.h"
#include "users/reg.h"
#include "users/reg_file.h"

namespace vork::testing {
namespace {

namespace fs = std::filesystem;

int OpenDescriptors() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

class Scratch {
 public:
  Scratch() {
    path_ = fs::temp_directory_path() / ("vork-hardening-" + std::to_string(::getpid()));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~Scratch() { fs::remove_all(path_); }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  int Files() const {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(path_)) ++count;
    return count;
  }

 private:
  fs::path path_;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// How a failure is injected: arms the n-th call, and tells afterwards
// whether that call was reached.
struct Injection {
  const char* name;
  std::function<void(int64_t)> arm;
  std::function<bool()> reached;
};

Injection AllocationFailure() {
  return {"allocation", [](int64_t n) { FailAllocation(n); }, [] { return AllocationFailed(); }};
}

Injection FileFailure() {
  return {"file operation", [](int64_t n) { FailFileOperation(n); },
          [] { return FailFileOperation(0) == 0; }};
}

// Runs operation with the n-th call failing, n = 1, 2, ... until a run no
// longer reaches the failure; check runs after each. Answers the runs that
// failed.
int EveryFailurePoint(const Injection& injection, const std::function<void()>& operation,
                      const std::function<void(const std::string& error)>& check) {
  int failures = 0;
  for (int64_t n = 1; n < 100000; ++n) {
    std::string error;
    injection.arm(n);
    try {
      operation();
    } catch (const EVkError& e) {
      error = e.what();
    } catch (const std::bad_alloc&) {
      error = "out of memory";
    }
    const bool reached = injection.reached();
    injection.arm(0);
    check(error);
    if (!error.empty()) ++failures;
    if (!reached) {
      EXPECT_EQ(error, "") << "a run without an injected failure failed";
      return failures;
    }
  }
  ADD_FAILURE() << "the operation never finished";
  return failures;
}

class FaultInjection : public ::testing::TestWithParam<int> {
 protected:
  Injection Kind() const { return GetParam() == 0 ? AllocationFailure() : FileFailure(); }
  Scratch scratch;
};

TEST_P(FaultInjection, LoadingAnArchiveFailsCleanlyAtEveryStep) {
  const std::string path = scratch / "course.vka";
  const std::string text(3000, 't');
  {
    TKsArkWriter writer(std::make_shared<TKsFileStream>(path, TKsFileStream::Mode::Create), 2);
    writer.Add("scenes/a.txt", text);
    writer.Add("b.ogg", "OggS raw");
    writer.Add("pics/c.bmp", std::string(70000, 'p'));
    writer.Finish();
  }
  const int descriptors = OpenDescriptors();
  auto load = [&] {
    TVkFileVka archive(path);
    for (const std::string& name : archive.Names()) archive.Open(name)->ReadAll();
    if (archive.Open("scenes/a.txt")->ReadAll() != text) throw EVkError("read back wrong");
  };
  int failures = EveryFailurePoint(Kind(), load, [&](const std::string& error) {
    EXPECT_EQ(OpenDescriptors(), descriptors) << error;
    if (error.empty()) return;
    EXPECT_NE(error, "read back wrong");
    if (GetParam() == 1) {
      EXPECT_NE(error.find(path), std::string::npos) << error;
    }
  });
  std::printf("fault injection | archive load | %s failure | %d failing steps, each a clean error\n",
              Kind().name, failures);
  EXPECT_GT(failures, 2);
  EXPECT_NO_THROW(load());
}

TEST_P(FaultInjection, SavingSettingsKeepsTheFileComplete) {
  const std::string path = scratch / "learner.vkr";
  TVkReg settings(path);
  settings.WriteString("Name", "Ada");
  settings.WriteBool("Sound", true);
  for (int i = 0; i < 50; ++i) settings.WriteString("Score" + std::to_string(i), std::string(100, 'a' + i % 26));
  settings.Save();
  int round = 0;
  int failures = EveryFailurePoint(
      Kind(),
      [&] {
        settings.WriteString("Score7", "round " + std::to_string(++round));
        settings.Save();
      },
      [&](const std::string& error) {
        // The file holds either the store before the change or after it,
        // whole; the temporary file of a failed save is gone.
        TVkRegItems stored = DecodeRegFile(ReadFile(path), path);
        EXPECT_EQ(stored.Count(), 52u) << error;
        EXPECT_EQ(stored.Find("Name")->value, "Ada");
        EXPECT_EQ(scratch.Files(), 1) << error;
        if (GetParam() == 1 && !error.empty()) {
          EXPECT_TRUE(error.starts_with("Cannot ")) << error;
        }
      });
  std::printf("fault injection | settings save | %s failure | %d failing steps, file complete after each\n",
              Kind().name, failures);
  EXPECT_GT(failures, 0);
  TVkReg again(path);
  EXPECT_EQ(again.ReadString("Score7", ""), "round " + std::to_string(round));
}

INSTANTIATE_TEST_SUITE_P(AllocationAndFile, FaultInjection, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& param) {
                           return param.param == 0 ? "Allocation" : "FileOperation";
                         });

// A full disk or a file-size limit stops the write at any byte: the file
// keeps the previous store, whole.
TEST(SettingsOnAFullDisk, AFailedSaveLeavesThePreviousStore) {
  Scratch scratch;
  const std::string path = scratch / "learner.vkr";
  TVkReg settings(path);
  settings.WriteString("Name", "Ada");
  settings.Save();
  const std::string before = ReadFile(path);
  ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit old {};
  ::getrlimit(RLIMIT_FSIZE, &old);
  for (rlim_t limit : {rlim_t{0}, rlim_t{1}, rlim_t{8}, static_cast<rlim_t>(before.size())}) {
    struct rlimit small = old;
    small.rlim_cur = limit;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    try {
      settings.WriteString("Name", "Bartholomew the Younger");
      settings.Save();
    } catch (const EVkError& e) {
      error = e.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(error, "Cannot write \"" + path + "\": File too large") << "limit " << limit;
    EXPECT_EQ(ReadFile(path), before) << "limit " << limit;
    EXPECT_EQ(scratch.Files(), 1) << "limit " << limit;
  }
  ::signal(SIGXFSZ, SIG_DFL);
  settings.Save();
  EXPECT_EQ(TVkReg(path).ReadString("Name", ""), "Bartholomew the Younger");
}

}  // namespace
}  // namespace vork::testing
