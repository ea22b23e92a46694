// The keys of corvane.ini, in the order of the updater's layout, with the kind
// of value each takes and the field of CheckerSettings it fills. The loader
// and the updater both work from this one table.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "settings/checker_settings.h"

namespace settings {

enum class SettingKind {
  kNumberFlag,     // on when the number at the start of the value is not 0
  kYesNo,          // True/False or a number; anything else is rejected
  kWholeNumber,    // rounded halves to even into -32768..32767, else rejected
  kDecimalNumber,  // a 32-bit float, else rejected
  kText,           // as written
  kTemplate,       // as written, expanded when used
  kCommentLine,    // APPEND_MSG: repeatable, adds ";" + value + CR LF
  kMessageLine,    // MSGLINE: repeatable template, adds one line
};

using SettingField =
    std::variant<bool CheckerSettings::*, std::int16_t CheckerSettings::*, float CheckerSettings::*,
                 std::string CheckerSettings::*, std::vector<std::string> CheckerSettings::*>;

struct SettingKey {
  std::string_view name;  // upper case, as lines are compared
  SettingKind kind;
  SettingField field;
};

#define CORVANE_SETTING(key, kind) \
  SettingKey { #key, SettingKind::kind, &CheckerSettings::key }

inline constexpr auto kSettingKeys = std::to_array<SettingKey>({
    CORVANE_SETTING(MK_FOLDER_HEADER, kNumberFlag),
    CORVANE_SETTING(FILE_HEADER, kYesNo),
    CORVANE_SETTING(MK_FO_HEADER_PARENT, kYesNo),
    CORVANE_SETTING(SHOW_ESTIMATION, kDecimalNumber),
    CORVANE_SETTING(DISABLE_INT_CRC, kYesNo),
    CORVANE_SETTING(ZIP_TIME_WAIT, kWholeNumber),
    CORVANE_SETTING(MULTICD_KEYS, kText),
    CORVANE_SETTING(MK_PARENT, kWholeNumber),
    CORVANE_SETTING(UP_TWO_IF_MULTI, kYesNo),
    CORVANE_SETTING(INC_MAKE_IN_PARENT, kTemplate),
    CORVANE_SETTING(COM_MAKE_IN_PARENT, kTemplate),
    CORVANE_SETTING(PARENT_PATH_OVERRIDE_C, kText),
    CORVANE_SETTING(PARENT_PATH_OVERRIDE_I, kText),
    CORVANE_SETTING(APPEND_MSG_TO_SFV, kNumberFlag),
    SettingKey{"APPEND_MSG", SettingKind::kCommentLine, &CheckerSettings::sfvCommentBlock},
    CORVANE_SETTING(DELETE_SFV_COMMENTS, kYesNo),
    CORVANE_SETTING(KEEP_WSFV_COMP, kYesNo),
    CORVANE_SETTING(SITECMD, kText),
    CORVANE_SETTING(ON_ERR_MK_FILE, kNumberFlag),
    CORVANE_SETTING(ISSERVG6, kYesNo),
    CORVANE_SETTING(DONT_HAVE_BAD_AND_MISSING, kYesNo),
    CORVANE_SETTING(HANDLE_BAD_FILES, kWholeNumber),
    CORVANE_SETTING(CREATE_MISSING, kYesNo),
    CORVANE_SETTING(DELETE_SFV_STATUS_ON_SFV_COMPLETE, kYesNo),
    CORVANE_SETTING(DELETE_SFV_STATUS_ON_UPLOAD, kYesNo),
    CORVANE_SETTING(SHOW_IND_STATUS_IN_MSG, kNumberFlag),
    CORVANE_SETTING(OUTPUT_WIDTH, kWholeNumber),
    CORVANE_SETTING(MSGFILE, kText),
    SettingKey{"MSGLINE", SettingKind::kMessageLine, &CheckerSettings::messageLines},
    CORVANE_SETTING(BADMSG, kTemplate),
    CORVANE_SETTING(GOODMSG, kTemplate),
    CORVANE_SETTING(MP3BADMSG, kTemplate),
    CORVANE_SETTING(MP3GOODMSG, kTemplate),
    CORVANE_SETTING(SITENAME, kText),
    CORVANE_SETTING(PERBAR_CHR, kText),
    CORVANE_SETTING(PERBAR_NON, kText),
    CORVANE_SETTING(PERBAR_LEN, kDecimalNumber),
    CORVANE_SETTING(DEL_NOT_CONTAIN, kNumberFlag),
    CORVANE_SETTING(DELKEYWORD, kText),
    CORVANE_SETTING(LOCK_FOLDER_IF_COMPLETE, kYesNo),
    CORVANE_SETTING(LOCK_FILES_IF_COMPLETE, kYesNo),
    CORVANE_SETTING(LOCK_USER, kText),
    CORVANE_SETTING(LOCK_GROUP, kText),
    CORVANE_SETTING(LOCK_CHMOD, kText),
    CORVANE_SETTING(CHMOD_SFVSTATUS, kText),
    CORVANE_SETTING(CHMOD_SFVSTATUSU, kTemplate),
    CORVANE_SETTING(CHMOD_SFVSTATUSG, kTemplate),
});

#undef CORVANE_SETTING

// The table entry of an upper-cased key, or nullptr for a key not in it.
const SettingKey* FindSettingKey(std::string_view upperName);

// Stores one line's value in its key's field, converted by the key's kind.
// False when the kind rejects the value: the field then keeps what it held.
bool ApplySetting(CheckerSettings& settings, const SettingKey& key, const std::string& value);
// The two rules applied once the last line is read.
void ApplyPostLoadRules(CheckerSettings& settings);

}  // namespace settings
