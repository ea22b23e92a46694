#include "checker/operator/setting_texts.h"

#include <type_traits>

#include "common/numtext.h"

namespace {

using settings::SettingKind;

std::string LineCount(std::size_t count) {
  if (count == 0) return "no lines";
  return numtext::FormatInteger(static_cast<std::int64_t>(count)) +
         (count == 1 ? " line" : " lines");
}

// The SFV comment block holds one line ended by CR LF per APPEND_MSG line.
std::size_t CommentLineCount(const std::string& block) {
  std::size_t count = 0;
  for (std::size_t at = block.find("\r\n"); at != std::string::npos;
       at = block.find("\r\n", at + 2))
    ++count;
  return count;
}

}  // namespace

std::string_view KindName(SettingKind kind) {
  switch (kind) {
    case SettingKind::kNumberFlag:
      return "number flag";
    case SettingKind::kYesNo:
      return "yes/no";
    case SettingKind::kWholeNumber:
      return "whole number";
    case SettingKind::kDecimalNumber:
      return "decimal number";
    case SettingKind::kText:
      return "text";
    case SettingKind::kTemplate:
      return "template";
    case SettingKind::kCommentLine:
      return "text, repeatable";
    case SettingKind::kMessageLine:
      return "template, repeatable";
  }
  return "";
}

std::string ValueText(const settings::CheckerSettings& settings, const settings::SettingKey& key) {
  return std::visit(
      [&](auto field) -> std::string {
        const auto& value = settings.*field;
        using Value = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<Value, bool>) {
          return value ? "on" : "off";
        } else if constexpr (std::is_same_v<Value, std::int16_t>) {
          return numtext::FormatInteger(value);
        } else if constexpr (std::is_same_v<Value, float>) {
          return numtext::FormatSingle(value);
        } else if constexpr (std::is_same_v<Value, std::string>) {
          if (key.kind == SettingKind::kCommentLine) return LineCount(CommentLineCount(value));
          return value.empty() ? "empty" : Quoted(value);
        } else {
          return LineCount(value.size());
        }
      },
      key.field);
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }
