// The settings of every program, read from corvane.ini in the programs'
// folder. One field per key, named after it; the checker reads the file once
// per run and only reads the fields afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace settings {

struct CheckerSettings {
  bool MK_FOLDER_HEADER = false;                   // number flag
  bool FILE_HEADER = false;                        // yes/no
  bool MK_FO_HEADER_PARENT = false;                // yes/no
  float SHOW_ESTIMATION = 0;                       // decimal number
  bool DISABLE_INT_CRC = false;                    // yes/no
  std::int16_t ZIP_TIME_WAIT = 0;                  // whole number
  std::string MULTICD_KEYS;                        // text
  std::int16_t MK_PARENT = 0;                      // whole number
  bool UP_TWO_IF_MULTI = false;                    // yes/no
  std::string INC_MAKE_IN_PARENT;                  // template
  std::string COM_MAKE_IN_PARENT;                  // template
  std::string PARENT_PATH_OVERRIDE_C;              // text
  std::string PARENT_PATH_OVERRIDE_I;              // text
  bool APPEND_MSG_TO_SFV = false;                  // number flag
  bool DELETE_SFV_COMMENTS = false;                // yes/no
  bool KEEP_WSFV_COMP = false;                     // yes/no
  std::string SITECMD;                             // text
  bool ON_ERR_MK_FILE = false;                     // number flag
  bool ISSERVG6 = false;                           // yes/no
  bool DONT_HAVE_BAD_AND_MISSING = false;          // yes/no
  std::int16_t HANDLE_BAD_FILES = 0;               // whole number
  bool CREATE_MISSING = false;                     // yes/no
  bool DELETE_SFV_STATUS_ON_SFV_COMPLETE = false;  // yes/no
  bool DELETE_SFV_STATUS_ON_UPLOAD = false;        // yes/no
  bool SHOW_IND_STATUS_IN_MSG = false;             // number flag
  std::int16_t OUTPUT_WIDTH = 0;                   // whole number
  std::string MSGFILE;                             // text
  std::string BADMSG;                              // template
  std::string GOODMSG;                             // template
  std::string MP3BADMSG;                           // template
  std::string MP3GOODMSG;                          // template
  std::string SITENAME;                            // text
  std::string PERBAR_CHR;                          // text
  std::string PERBAR_NON;                          // text
  float PERBAR_LEN = 0;                            // decimal number
  bool DEL_NOT_CONTAIN = false;                    // number flag
  std::string DELKEYWORD;                          // text
  bool LOCK_FOLDER_IF_COMPLETE = false;            // yes/no
  bool LOCK_FILES_IF_COMPLETE = false;             // yes/no
  std::string LOCK_USER;                           // text
  std::string LOCK_GROUP;                          // text
  std::string LOCK_CHMOD;                          // text
  std::string CHMOD_SFVSTATUS;                     // text
  std::string CHMOD_SFVSTATUSU;                    // template
  std::string CHMOD_SFVSTATUSG;                    // template

  // Collected values.
  std::vector<std::string> messageLines;  // MSGLINE, in file order
  std::string sfvCommentBlock;            // ";" + APPEND_MSG + CR LF, per line
};

// The settings file's name and where it lies.
inline constexpr const char* kSettingsFileName = "corvane.ini";
std::string SettingsFilePath(const std::string& programFolder);

// Reads corvane.ini from the program folder. Throws platform::OsError when the
// file cannot be read.
CheckerSettings LoadSettings(platform::FileSystem& files, const std::string& programFolder);
// The same from lines already read (for tests and the other programs).
CheckerSettings LoadSettingsFromLines(const std::vector<std::string>& lines);

}  // namespace settings
