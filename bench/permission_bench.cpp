// The permission file at scale: loading and saving a file of N entries (the
// time per entry stays flat when both are linear in the file's size), and n
// Chmods into one folder through the real control, each on its own (n reloads
// and saves) or in one update (one of each).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "permlet/aclfile/permission_file.h"
#include "platform/component.h"
#include "platform/file_system.h"
#include "platform/platform.h"

namespace {

platform::FileSystem& files = platform::SystemFileSystem();

// A folder of its own in the shared temporary folder, emptied when done.
class BenchFolder {
 public:
  explicit BenchFolder(const std::string& name)
      : path_(std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
              platform::kSeparatorText + "corvane-bench-" + name) {
    if (files.FolderExists(path_)) files.DeleteTree(path_);
    files.CreateFolder(path_);
  }
  ~BenchFolder() { files.DeleteTree(path_); }
  std::string operator/(const std::string& name) const {
    return path_ + platform::kSeparatorText + name;
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

void LoadAndSave(benchmark::State& state) {
  const auto entries = static_cast<std::size_t>(state.range(0));
  BenchFolder folder("acl-" + std::to_string(entries));
  std::mt19937 random(entries);
  std::string text;
  for (std::size_t i = 0; i < entries; ++i) {
    text.append("RD2 ").append(std::to_string(random())).append("=user");
    text.append(std::to_string(i % 97)).append("|grp|554|1|0|\r\n");
  }
  files.WriteWholeFile(folder / permlet::PermissionFile::kPermFileName, text);
  for (auto _ : state) {
    permlet::PermissionFile file(files);
    file.AutoChoosePermFile(folder.path());
    benchmark::DoNotOptimize(file.SavePermFile());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * entries));
}
BENCHMARK(LoadAndSave)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Arg(80000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

// n Chmods into one folder of n files; range(1) is 1 for one update.
void Chmods(benchmark::State& state) {
  const auto changes = static_cast<int>(state.range(0));
  const bool inOneUpdate = state.range(1) != 0;
  BenchFolder folder("chmod-" + std::to_string(changes) + "-" + std::to_string(inOneUpdate));
  std::vector<std::string> paths;
  for (int i = 0; i < changes; ++i) {
    paths.push_back(folder / "f");
    paths.back().append(std::to_string(i));
    files.WriteWholeFile(paths.back(), "");
  }
  // Made as the checker makes it, from the registry of the program folder.
  auto control =
      platform::CreateComponent(platform::GuidLiteral("{0FC45993-7C08-4B1D-9FCC-3633210FCAF9}"),
                                platform::GuidLiteral("{7A39B829-F630-4261-B58B-E40EDA6B9320}"));
  using platform::Variant;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string acl = folder / permlet::PermissionFile::kPermFileName;
    if (files.FileExists(acl)) files.DeleteFile(acl, true);
    state.ResumeTiming();
    if (inOneUpdate) control->Invoke(9, kCvMethod, {});
    for (const std::string& path : paths) {
      control->Invoke(8, kCvMethod,
                      {Variant::Text("554"), Variant::Text("bob"), Variant::Text("grp"),
                       Variant::Text(path), Variant::Int16(0), Variant::Int16(0)});
    }
    if (inOneUpdate) control->Invoke(10, kCvMethod, {});
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * changes));
}
BENCHMARK(Chmods)
    ->ArgsProduct({{100, 1000}, {0, 1}})
    ->ArgNames({"n", "update"})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
