// The registry store through the exported calls: a value written and read by one program, and
// written while a second process writes the same store, on a small store and on one of about
// 820 KB. The store lives in a folder of its own beside the benchmark (never the user's).
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "include/tamvel.h"
#include "platform/posix/registry_store.h"
#include "platform/posix/safe_file.h"
#include "src/pages/page_table.h"

namespace {

namespace registry = tamvel::posix::registry;

// A fresh store holding `filler` values of about 80 bytes each besides the benchmark's own.
bool FreshStore(int64_t filler) {
  if (!tamvel::LibraryAttached() && !tamvel::AttachLibrary()) return false;
  const std::filesystem::path folder = std::filesystem::absolute("registry-bench-store");
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  setenv("TAMVEL_REGISTRY_DIR", folder.c_str(), 1);
  registry::Key root;
  for (int64_t i = 0; i < filler; ++i) {
    std::vector<std::string> path;
    registry::SplitKeyPath("Software\\Nelvar Inc.\\Filler" + std::to_string(i / 100) + "\\Window",
                           path);
    registry::Key *key = &root;
    for (const std::string &name : path) {
      key = &key->children[registry::FoldName(name)];
      key->name = name;
    }
    const std::string name = "Value" + std::to_string(i);
    key->values[registry::FoldName(name)] = {name, REG_SZ, std::string(40, 'x')};
  }
  const std::string text = registry::Serialize(root);
  const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t *>(text.data()), text.size());
  return tamvel::posix::AtomicFile::WriteWhole((folder / "current-user.reg").string(), 0600,
                                               std::span(&bytes, 1));
}

void SetValues(benchmark::State &state, const char *section) {
  int i = 0;
  for (auto _ : state) {
    const std::string name = "V" + std::to_string(i++ % 100);
    if (SetNelvarReg("Bench", section, name.c_str(), "some value") != 0) {
      state.SkipWithError("SetNelvarReg failed");
      return;
    }
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_RegistrySetValue(benchmark::State &state) {
  if (!FreshStore(state.range(0))) return state.SkipWithError("no store");
  SetValues(state, "Alone");
}
BENCHMARK(BM_RegistrySetValue)->Arg(0)->Arg(12500)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_RegistryGetValue(benchmark::State &state) {
  if (!FreshStore(state.range(0)) || SetNelvarReg("Bench", "Read", "V", "some value") != 0) {
    return state.SkipWithError("no store");
  }
  char buffer[255];
  for (auto _ : state) {
    if (GetNelvarReg("Bench", "Read", "V", buffer) != 0) return state.SkipWithError("not read");
    benchmark::DoNotOptimize(buffer);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RegistryGetValue)->Arg(0)->Arg(12500)->Unit(benchmark::kMicrosecond)->UseRealTime();

// One program writes while a second process writes values of its own as fast as it can.
void BM_RegistrySetValueWithSecondWriter(benchmark::State &state) {
  if (!FreshStore(state.range(0))) return state.SkipWithError("no store");
  const pid_t writer = fork();
  if (writer == 0) {
    for (int i = 0;; ++i) {
      SetNelvarReg("Other", "Race", ("W" + std::to_string(i % 1000)).c_str(), "other value");
    }
  }
  if (writer < 0) return state.SkipWithError("no second process");
  SetValues(state, "Shared");
  kill(writer, SIGKILL);
  waitpid(writer, nullptr, 0);
}
BENCHMARK(BM_RegistrySetValueWithSecondWriter)
    ->Arg(0)
    ->Arg(12500)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

}  // namespace
