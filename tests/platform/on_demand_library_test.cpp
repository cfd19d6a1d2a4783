// Libraries opened at their first use: a present one answers its
// functions, a missing library or function fails with a message that names
// it and what the player needed it for, and nothing is loaded before.

#include "platform/on_demand_library.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/errors.h"

namespace vork {
namespace {

std::string FailureOf(OnDemandLibrary& library, const char* function) {
  try {
    library.Find<void (*)()>(function);
  } catch (const EVkError& error) {
    return error.what();
  }
  return "(no failure)";
}

TEST(OnDemandLibrary, LoadsAtTheFirstLookUpAndFindsTheFunction) {
  // zlib: present wherever Qt is, and not linked into this test.
  ASSERT_EQ(::dlopen("libz.so.1", RTLD_NOW | RTLD_NOLOAD), nullptr);
  OnDemandLibrary library("libz.so.1", "testing");
  EXPECT_EQ(::dlopen("libz.so.1", RTLD_NOW | RTLD_NOLOAD), nullptr) << "nothing loads before it is needed";
  auto version = library.Find<const char* (*)()>("zlibVersion");
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(std::string(version()).substr(0, 2), "1.");
}

TEST(OnDemandLibrary, FailuresNameTheLibraryTheFunctionAndThePurpose) {
  OnDemandLibrary missing("libvork-not-there.so.7", "unpacking course parts");
  const std::string no_library = FailureOf(missing, "anything");
  EXPECT_NE(no_library.find("libvork-not-there.so.7"), std::string::npos) << no_library;
  EXPECT_NE(no_library.find("unpacking course parts"), std::string::npos) << no_library;
  // Still failing, and still saying why, when asked again.
  EXPECT_EQ(FailureOf(missing, "anything"), no_library);

  // An empty name would open the program itself, which has none of them.
  OnDemandLibrary unnamed("", "testing");
  EXPECT_NE(FailureOf(unnamed, "main").find("no library is named"), std::string::npos);

  OnDemandLibrary present("libz.so.1", "testing");
  const std::string no_function = FailureOf(present, "vork_no_such_function");
  EXPECT_NE(no_function.find("vork_no_such_function"), std::string::npos) << no_function;
}

TEST(OnDemandLibrary, ModulesLiveBesideTheRunningProgram) {
  const std::string path = OnDemandLibrary::BesideExecutable("libvork_printing.so");
  EXPECT_EQ(path, std::string(VORK_BINARY_DIR) + "/libvork_printing.so");
}

}  // namespace
}  // namespace vork
