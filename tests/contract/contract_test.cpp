// The contract test: see contract.h. One test per page state. A state is made in a process of
// its own, which then forks one child per call; the child's exit status, or the signal that
// ended it, is the verdict. Under the asan preset a sanitizer report ends the child.
//
//   TAMVEL_CONTRACT=full        every case (tools/contract-full.sh); default: the CI subset
//   TAMVEL_CONTRACT_CALLS=A,B   only these calls
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "include/tamvel_linux.h"
#include "src/pages/page_table.h"
#include "tests/contract/contract.h"

namespace tamvel::contract {

namespace {

constexpr int kPassed = 0x5a;  // a child that returned from its call exits with this
// A call that spends this long on the processor, or waits this long, is taken for a hang.
constexpr unsigned kCallCpuSeconds = 10;
constexpr unsigned kCallSeconds = 120;
constexpr unsigned kStateSeconds = 300;
// The CI subset: every call in every state, each argument's values spread over the states
// (a case is run in one state out of kSubsetSpread, all of them in the recording state).
constexpr size_t kSubsetSpread = 4;

struct Case {
  const Call *call;
  std::vector<size_t> picks;  // index into ValuesOf(kind) per argument
};

// Each argument through all its values with the others ordinary, then every argument hostile
// at once (the i-th value of each table).
std::vector<Case> CasesOf(const Call &call) {
  std::vector<Case> cases;
  const size_t count = call.kinds.size();
  cases.push_back({&call, std::vector<size_t>(count, 0)});
  size_t longest = 0;
  for (size_t i = 0; i < count; ++i) {
    const size_t size = ValuesOf(call.kinds[i]).size();
    longest = std::max(longest, size);
    for (size_t v = 1; v < size; ++v) {
      cases.push_back({&call, std::vector<size_t>(count, 0)});
      cases.back().picks[i] = v;
    }
  }
  if (count > 1) {
    for (size_t v = 1; v < longest; ++v) {
      Case all{&call, {}};
      for (Kind kind : call.kinds) all.picks.push_back(v % ValuesOf(kind).size());
      cases.push_back(all);
    }
  }
  return cases;
}

bool Selected(const Call &call) {
  const char *only = std::getenv("TAMVEL_CONTRACT_CALLS");
  if (only == nullptr || *only == '\0') return true;
  std::stringstream list(only);
  for (std::string name; std::getline(list, name, ',');) {
    if (name == call.name) return true;
  }
  return false;
}

bool FullRun() {
  const char *mode = std::getenv("TAMVEL_CONTRACT");
  return mode != nullptr && std::string(mode) == "full";
}

std::string Verdict(int status) {
  if (WIFEXITED(status)) {
    if (WEXITSTATUS(status) == kPassed) return "";
    return "the process ended with status " + std::to_string(WEXITSTATUS(status)) +
           " (a sanitizer report, or the call ended the process)";
  }
  if (WIFSIGNALED(status)) {
    if (WTERMSIG(status) == SIGALRM || WTERMSIG(status) == SIGXCPU) {
      return "no return within " + std::to_string(kCallCpuSeconds) + " s of processor time or " +
             std::to_string(kCallSeconds) + " s (a hang)";
    }
    return std::string("killed by signal ") + strsignal(WTERMSIG(status));
  }
  return "stopped";
}

std::string Tail(const std::string &path, size_t lines) {
  std::ifstream in(path);
  std::vector<std::string> all;
  for (std::string line; std::getline(in, line);) all.push_back(line);
  std::string text;
  for (size_t i = all.size() > lines ? all.size() - lines : 0; i < all.size(); ++i) {
    text += "    | " + all[i] + "\n";
  }
  return text;
}

Arguments ArgumentsOf(const Case &c) {
  Arguments arguments;
  for (size_t i = 0; i < c.picks.size(); ++i) {
    arguments.values.push_back(&ValuesOf(c.call->kinds[i])[c.picks[i]]);
  }
  return arguments;
}

struct Outcome {
  std::string failure;   // "" when the call returned
  double seconds = 0.0;  // processor time of the child
};

Outcome RunCase(const Case &c) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    const int log = open("case.log", O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(log, 1);
    dup2(log, 2);
    const Arguments arguments = ArgumentsOf(c);
    ResetScratchFiles();
    const rlimit cpu{kCallCpuSeconds, kCallCpuSeconds + 1};
    setrlimit(RLIMIT_CPU, &cpu);
    alarm(kCallSeconds);
    c.call->invoke(arguments);
    std::fflush(nullptr);
    _exit(kPassed);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child) return {"fork or wait failed"};
  const double seconds =
      static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
      static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
  const std::string verdict = Verdict(status);
  return {verdict.empty() ? verdict : verdict + "\n" + Tail("case.log", 40), seconds};
}

// The state process: makes the state, then runs its share of the cases. Writes one report
// per failed case to `report` and returns how many cases ran.
int RunState(size_t state_index, std::FILE *report) {
  const PageState &state = PageStates()[state_index];
  std::FILE *log = std::fopen("state.log", "w");
  alarm(kStateSeconds);
  if (!AttachLibrary()) return -1;
  state.make(log);
  BuildValues();
  alarm(0);
  std::fclose(log);
  int ran = 0;
  size_t number = 0;
  std::vector<std::pair<double, std::string>> slowest;  // the slowest calls, for the log
  for (const Call &call : Calls()) {
    if (!Selected(call)) continue;
    for (const Case &c : CasesOf(call)) {
      ++number;
      if (!FullRun() && state_index != 1 && number % kSubsetSpread != state_index % kSubsetSpread) {
        continue;
      }
      ++ran;
      const Outcome outcome = RunCase(c);
      const std::string call_text = Describe(call, ArgumentsOf(c));
      slowest.emplace_back(outcome.seconds, call_text);
      std::sort(slowest.rbegin(), slowest.rend());
      if (slowest.size() > 5) slowest.pop_back();
      if (outcome.failure.empty()) continue;
      std::fprintf(report, "%s;\n  %s\n", call_text.c_str(), outcome.failure.c_str());
      std::fflush(report);
    }
  }
  std::FILE *times = std::fopen("slowest.txt", "w");
  for (const auto &[seconds, text] : slowest)
    std::fprintf(times, "  %.2f s  %s\n", seconds, text.c_str());
  std::fclose(times);
  return ran;
}

class Contract : public ::testing::TestWithParam<size_t> {};

TEST_P(Contract, EveryCallWithHostileArguments) {
  const size_t state_index = GetParam();
  const std::filesystem::path root = NewScratchFolder("contract-" + std::to_string(state_index));
  const std::filesystem::path previous = std::filesystem::current_path();
  const auto started = std::chrono::steady_clock::now();
  std::fflush(nullptr);
  const pid_t state = fork();
  if (state == 0) {
    IsolateIn(root);
    std::FILE *report = std::fopen("report.txt", "w");
    std::FILE *count = std::fopen("count.txt", "w");
    const int ran = RunState(state_index, report);
    std::fprintf(count, "%d\n", ran);
    std::fclose(count);
    std::fclose(report);
    _exit(ran < 0 ? 2 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(state, &status, 0), state);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  int ran = 0;
  std::ifstream(root / "count.txt") >> ran;
  std::printf("state \"%s\": %d calls in %.1f s; the slowest (processor time):\n%s",
              PageStates()[state_index].name, ran, seconds,
              Tail((root / "slowest.txt").string(), 5).c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "making the state \"" << PageStates()[state_index].name
      << "\" failed: " << Verdict(status == 0 ? kPassed << 8 : status) << "\n"
      << Tail((root / "state.log").string(), 400);
  std::ifstream report(root / "report.txt");
  std::string text((std::istreambuf_iterator<char>(report)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(text.empty()) << "In the state \"" << PageStates()[state_index].name << "\" ("
                            << PageStates()[state_index].how << "\n"
                            << Tail((root / "state.log").string(), 400) << "):\n"
                            << text;
  std::filesystem::current_path(previous);
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
}

INSTANTIATE_TEST_SUITE_P(PageStates, Contract, ::testing::Range<size_t>(0, 5),
                         [](const ::testing::TestParamInfo<size_t> &info) {
                           std::string name = PageStates()[info.param].name;
                           std::replace(name.begin(), name.end(), ' ', '_');
                           return name;
                         });

}  // namespace
}  // namespace tamvel::contract
