// Every host test runs in its own temporary world: a registry store, a data home for the
// file-type mirror and a current directory for task.lst, all removed afterwards. The real
// user's configuration is never touched.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "tests/common/page_test_util.h"

namespace tamvel::test {

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!LibraryAttached()) {
      ASSERT_TRUE(AttachLibrary());
    }
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = std::filesystem::absolute(
        ScratchFolder(std::string("host-") + test->test_suite_name() + "-" + test->name()));
    previous_directory_ = std::filesystem::current_path();
    std::filesystem::create_directories(root_ / "cwd");
    std::filesystem::current_path(root_ / "cwd");
    Remember("TAMVEL_REGISTRY_DIR", (root_ / "registry").string());
    Remember("XDG_DATA_HOME", (root_ / "data").string());
    Remember("XDG_CONFIG_HOME", (root_ / "config").string());
  }

  void TearDown() override {
    std::filesystem::current_path(previous_directory_);
    for (const auto &[name, value] : saved_) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  // Sets an environment variable for this test only.
  void Remember(const std::string &name, const std::string &value) {
    if (!saved_.count(name)) {
      const char *old = std::getenv(name.c_str());
      saved_[name] = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
    }
    setenv(name.c_str(), value.c_str(), 1);
  }

  std::filesystem::path RegistryDir() const { return root_ / "registry"; }
  std::filesystem::path DataHome() const { return root_ / "data"; }
  std::filesystem::path Root() const { return root_; }

  static std::string ReadFile(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static void WriteFile(const std::filesystem::path &path, const std::string &text) {
    std::ofstream(path, std::ios::binary) << text;
  }

 private:
  std::filesystem::path root_;
  std::filesystem::path previous_directory_;
  std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace tamvel::test
