// One QApplication for the whole test program: the audio players' waits
// run Qt event loops, and PlayAudio works on a real stage.

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "media_tests";
    static char* argv[] = {name, nullptr};
    application_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { application_.reset(); }

 private:
  std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] ::testing::Environment* const qt_environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
