// Whole starts as a learner feels them: from exec until the main window has
// been painted once and the process has ended, for the program on a copy of
// the bundled program directory and for an empty QMainWindow, in turn. Both
// end after their first painting (QUILLMERE_EXIT_AFTER_SHOW). Reports the
// medians, their ratio and the peak resident memory of each.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace {
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRunsEach = 20;
constexpr int kRunLimitMs = 60000;

struct TRun {
  double ms = 0;
  double peakMb = 0;
  bool ok = false;
};

// A folder of its own, removed with everything in it.
class TScratchFolder {
 public:
  explicit TScratchFolder(const fs::path& parent) {
    const std::string pattern = (parent / "qm-startup-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) != nullptr) path_ = name.data();  // mode 0700
  }
  ~TScratchFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;

  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

// The parent's environment plus the exit switch; without a display the
// offscreen platform, for both programs alike. A desktop session has its
// runtime folder (where the program keeps its locks) in memory; where none is
// set, one in memory stands in for it, or every lock taken at the start
// would wait for a disk sync that a learner never waits for.
std::vector<std::string> ChildEnvironment(const fs::path& runtimeFolder) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) env.emplace_back(*e);
  env.emplace_back("QUILLMERE_EXIT_AFTER_SHOW=1");
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr &&
      std::getenv("QT_QPA_PLATFORM") == nullptr)
    env.emplace_back("QT_QPA_PLATFORM=offscreen");
  if (std::getenv("XDG_RUNTIME_DIR") == nullptr && !runtimeFolder.empty())
    env.emplace_back("XDG_RUNTIME_DIR=" + runtimeFolder.string());
  return env;
}

TRun RunOnce(const std::string& program, const std::vector<std::string>& env) {
  std::vector<char*> envp;
  for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  std::string arg0 = program;
  char* argv[] = {arg0.data(), nullptr};

  // The programs' chatter would disturb the report.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

  TRun run;
  pid_t pid = 0;
  const auto start = Clock::now();
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return run;
  // A program that waits for the learner (a message box) never ends by
  // itself: it is ended after a while and the run fails.
  const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  if (pidfd >= 0) {
    pollfd ended{pidfd, POLLIN, 0};
    if (poll(&ended, 1, kRunLimitMs) == 0) kill(pid, SIGKILL);
    close(pidfd);
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return run;
  run.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  run.peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void BM_StartupRatio(benchmark::State& state) {
  // A copy of the program directory: the program runs portable there and
  // nothing in the build changes.
  const TScratchFolder copy(fs::temp_directory_path());
  std::error_code ec;
  if (!copy.Path().empty()) fs::copy(QM_PROGRAM_DIR, copy.Path() / "bin", fs::copy_options::recursive, ec);
  if (copy.Path().empty() || ec) {
    state.SkipWithError("cannot copy the program directory");
    return;
  }
  const fs::path dir = copy.Path() / "bin";
  const std::string program = (dir / "quillmere").string();
  const std::string empty = QM_EMPTY_WINDOW;
  const fs::path settings = dir / "Quillmere.Ini";
  const std::string settingsBefore = FileBytes(settings);
  const TScratchFolder runtime(fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path());
  const std::vector<std::string> env = ChildEnvironment(runtime.Path());

  // Once each unmeasured: libraries and files into the page cache.
  if (!RunOnce(empty, env).ok || !RunOnce(program, env).ok) {
    state.SkipWithError("a program did not start and end cleanly (a message box at the start?)");
    return;
  }
  std::vector<double> emptyMs, mainMs, emptyMb, mainMb;
  for (auto _ : state) {
    const TRun e = RunOnce(empty, env);
    const TRun m = RunOnce(program, env);
    if (!e.ok || !m.ok) {
      state.SkipWithError("a program did not start and end cleanly (a message box at the start?)");
      return;
    }
    emptyMs.push_back(e.ms);
    mainMs.push_back(m.ms);
    emptyMb.push_back(e.peakMb);
    mainMb.push_back(m.peakMb);
    state.SetIterationTime((e.ms + m.ms) / 1000.0);
  }
  if (FileBytes(settings) != settingsBefore) {
    state.SkipWithError("the program wrote its settings file");
    return;
  }
  state.counters["empty_ms"] = Median(emptyMs);
  state.counters["main_ms"] = Median(mainMs);
  state.counters["ratio"] = Median(mainMs) / Median(emptyMs);
  state.counters["empty_peak_MB"] = Median(emptyMb);
  state.counters["main_peak_MB"] = Median(mainMb);
}
// "ratio" (the medians' ratio) must stay at or below 1.5.
BENCHMARK(BM_StartupRatio)->Iterations(kRunsEach)->UseManualTime()->Unit(benchmark::kMillisecond);
}  // namespace

BENCHMARK_MAIN();
