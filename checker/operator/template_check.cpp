// The templates of a settings file expanded for the sample releases, in
// memory only: what each one gives, and which would end a run with the error
// log.
#include <optional>
#include <set>

#include "checker/operator/sample_run.h"
#include "checker/operator/setting_texts.h"
#include "checker/operator/settings_check.h"
#include "checker/run/phases.h"
#include "checker/run/run_error.h"
#include "common/strings.h"
#include "settings/setting_keys.h"

namespace {

// Where the run expands each template: in the complete state or in the
// incomplete ones, with which complete flag, and whether the expansion names
// a folder or file (a header or a parent entry). The message lines are
// expanded in every state, with the flag off.
struct TemplateUse {
  std::string_view key;
  bool complete;
  bool completeFlag;
  bool isName;
};
constexpr TemplateUse kTemplateUses[] = {
    {"BADMSG", false, false, true},
    {"MP3BADMSG", false, false, true},
    {"INC_MAKE_IN_PARENT", false, false, true},
    {"CHMOD_SFVSTATUSU", false, false, false},
    {"CHMOD_SFVSTATUSG", false, false, false},
    {"GOODMSG", true, true, true},
    {"MP3GOODMSG", true, true, true},
    {"COM_MAKE_IN_PARENT", true, false, true},
};

struct Expansion {
  std::optional<std::string> text;  // nullopt: the expansion failed
  RunFailure failure;
};

Expansion Expand(CheckRun& run, const std::string& text, bool completeFlag) {
  try {
    return {ExpandTemplate(run, text, completeFlag), {}};
  } catch (...) {
    return {std::nullopt, CurrentFailure()};
  }
}

// A label in a column wide enough for the longest key.
std::string Padded(std::string label) {
  constexpr std::size_t kWidth = 20;
  if (label.size() < kWidth) label.append(kWidth - label.size(), ' ');
  return label;
}

// The lines of an expansion (the ranking block has one per uploader), the
// first after `lead` and the others below it.
std::string Indented(const std::string& text, const std::string& lead) {
  return lead + strings::ReplaceAll(text, "\r\n", "\n" + std::string(lead.size(), ' ')) + "\n";
}

class TemplateChecker {
 public:
  TemplateChecker(platform::FileSystem& files, SettingsReading& reading)
      : files_(files), r_(reading) {}

  void CheckState(SampleState state, std::string& preview) {
    SampleRun sample(r_.settings, files_, state);
    CheckRun& run = sample.run;
    const bool complete = run.releaseComplete;
    const std::string stateName(SampleStateName(state));
    preview += stateName + ":\n";
    for (const TemplateUse& use : kTemplateUses) {
      const std::string& text = TemplateText(use.key);
      if (use.complete != complete || text.empty()) continue;
      const Expansion expansion = Expand(run, text, use.completeFlag);
      const std::string label = std::string(use.key);
      preview += Indented(Shown(expansion), "  " + Padded(label + ":"));
      Judge(label, r_.LineOf(use.key), expansion, use.isName, stateName);
    }
    std::string messageFile;
    for (std::size_t i = 0; i < r_.settings.messageLines.size(); ++i) {
      const Expansion expansion = Expand(run, r_.settings.messageLines[i], false);
      if (!expansion.text || !expansion.text->empty()) {
        messageFile += Indented(Shown(expansion), "    ");
      }
      Judge("MSGLINE", r_.messageLineNumbers[i], expansion, false, stateName);
    }
    if (!messageFile.empty()) preview += "  message file:\n" + messageFile;
  }

  // A release whose SFV lists no file is complete with every count 0, and
  // every template that gets that far divides by the count.
  void CheckEmptyRelease() {
    SampleRun sample(r_.settings, files_, SampleState::kNoFiles);
    bool divides = false;
    for (const TemplateUse& use : kTemplateUses) {
      if (use.complete && !TemplateText(use.key).empty()) {
        divides |= DividesByZero(Expand(sample.run, TemplateText(use.key), use.completeFlag));
      }
    }
    for (const std::string& line : r_.settings.messageLines) {
      divides |= DividesByZero(Expand(sample.run, line, false));
    }
    if (divides) {
      r_.findings.push_back(
          {0, false,
           "a release whose SFV lists no files makes every template that gets past \"%@\" "
           "fail with a division by zero; its run ends with the error log"});
    }
  }

 private:
  const std::string& TemplateText(std::string_view key) const {
    return r_.settings.*
           std::get<std::string settings::CheckerSettings::*>(settings::FindSettingKey(key)->field);
  }
  static bool DividesByZero(const Expansion& expansion) {
    return !expansion.text && expansion.failure.number == platform::kDivisionByZero;
  }
  static std::string Shown(const Expansion& expansion) {
    return expansion.text ? *expansion.text : "fails: " + expansion.failure.description;
  }

  // One finding per template line: the first sample state that shows it.
  void Judge(const std::string& label, int line, const Expansion& expansion, bool isName,
             const std::string& stateName) {
    std::string problem;
    if (!expansion.text) {
      problem = label + " fails for \"" + stateName + "\": " + expansion.failure.description +
                "; the run ends with the error log";
    } else if (isName && !expansion.text->empty()) {
      if (const std::string refused = NameProblem(*expansion.text); !refused.empty()) {
        problem = label + " gives " + Quoted(*expansion.text) + " for \"" + stateName +
                  "\", which cannot name a folder or file: " + refused;
      }
    }
    if (!problem.empty() && judged_.insert(line).second) {
      r_.findings.push_back({line, true, std::move(problem)});
    }
  }

  platform::FileSystem& files_;
  SettingsReading& r_;
  std::set<int> judged_;
};

}  // namespace

void CheckTemplates(platform::FileSystem& files, SettingsReading& reading, std::string& preview) {
  TemplateChecker checker(files, reading);
  for (SampleState state : kPreviewStates) checker.CheckState(state, preview);
  checker.CheckEmptyRelease();
}
