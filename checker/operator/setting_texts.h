// How the operator's tools name the kinds of settings and show their values:
// the settings check prints them, and the settings reference lists them (a
// test holds the reference to these texts).
#pragma once

#include <string>
#include <string_view>

#include "settings/setting_keys.h"

// "number flag", "yes/no", ... "template, repeatable".
std::string_view KindName(settings::SettingKind kind);

// The value `key` holds in `settings`: "on" or "off", a number, a text in
// double quotes or "empty", and for a repeatable key the number of lines
// ("no lines", "1 line", "3 lines").
std::string ValueText(const settings::CheckerSettings& settings, const settings::SettingKey& key);

// `text` between double quotes.
std::string Quoted(std::string_view text);
