// Sample releases for previewing templates: a checker run's state as the
// verification pass leaves it, made in memory only. The settings check
// expands the templates for them, and the settings reference's examples are
// expanded for them too.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "checker/run/check_run.h"
#include "checker/run/permissions.h"
#include "platform/file_system.h"

// Release "Some.Release" of five files, 15125.4 KB each, uploaded by alice
// (group staff) and bob (group users); this run's uploader is alice.
enum class SampleState {
  kOneOfFive,         // 1 good, 4 missing; alice 1 file, bob none
  kFourOfFiveOneBad,  // 4 good, 1 bad; alice 3 files, bob 1
  kComplete,          // 5 good; alice 3 files, bob 2
  kNoFiles,           // an SFV that lists no file: complete, and every count 0
};
// The states a preview shows.
inline constexpr std::array kPreviewStates = {
    SampleState::kOneOfFive, SampleState::kFourOfFiveOneBad, SampleState::kComplete};

// "1 of 5 good", "4 of 5 good, 1 bad", "complete", "no files listed".
std::string_view SampleStateName(SampleState state);

// The preview's permission control. Expanding a template changes no
// permission; a change asked of it is taken and has no effect.
class PreviewPermissions final : public PermissionControl {
 public:
  void Chmod(const std::string&, const std::string&, const std::string&, const std::string&,
             std::int16_t, std::int16_t) override {}
  int EndUpdate() override { return 0; }
};

// The run of a sample state with `settings`, ready for ExpandTemplate. It
// holds `files` as every run does; nothing is read or written through it.
struct SampleRun {
  SampleRun(const settings::CheckerSettings& settings, platform::FileSystem& files,
            SampleState state);
  SampleRun(const SampleRun&) = delete;
  SampleRun& operator=(const SampleRun&) = delete;

  PreviewPermissions permissions;  // made before `run`, which refers to it
  CheckRun run;
};
