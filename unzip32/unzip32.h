// The UnZip library's published interface: the option record, the callback
// record and the single-call entry. The layouts are those of Info-ZIP's
// unzip32 library, so a program built against this header works with either.
// Callbacks are called on the caller's thread while the entry runs.
#pragma once

#include <cstdint>

#ifdef _WIN32
#define UZ_CALLBACK __stdcall
#ifdef UNZIP32_BUILDING
#define UZ_EXPORT extern "C" __declspec(dllexport)
#else
#define UZ_EXPORT extern "C" __declspec(dllimport)
#endif
#else
#define UZ_CALLBACK
#define UZ_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// The option record: 15 32-bit flags in the library's order, then the
// archive name and the extraction folder (null: the current folder).
struct DCL {
  std::int32_t ExtractOnlyNewer;
  std::int32_t SpaceToUnderscore;
  std::int32_t PromptToOverwrite;
  std::int32_t fQuiet;
  std::int32_t ncflag;  // write to standard output
  std::int32_t ntflag;  // test the archive
  std::int32_t nvflag;  // list the contents
  std::int32_t nfflag;  // freshen existing files
  std::int32_t nzflag;  // show the archive comment
  std::int32_t ndflag;  // honour folder names
  std::int32_t noflag;  // overwrite without asking
  std::int32_t naflag;  // convert line ends
  std::int32_t nZIflag;
  std::int32_t C_flag;  // match names without regard to case
  std::int32_t fPrivilege;
  const char* lpszZipFN;
  const char* lpszExtractDir;
};
inline constexpr int kDclFlagCount = 15;

typedef int(UZ_CALLBACK DLLPRNT)(char* text, std::uint32_t length);
typedef void(UZ_CALLBACK DLLSND)();
typedef int(UZ_CALLBACK DLLREPLACE)(char* fileName);
typedef int(UZ_CALLBACK DLLPASSWORD)(char* buffer, int size, const char* prompt,
                                     const char* memberName);
typedef void(UZ_CALLBACK DLLMESSAGE)(std::uint32_t uncompressedSize, std::uint32_t compressedSize,
                                     unsigned compressionFactor, unsigned month, unsigned day,
                                     unsigned year, unsigned hour, unsigned minute, char nameMark,
                                     const char* memberName, const char* method, std::uint32_t crc,
                                     char encrypted);
typedef int(UZ_CALLBACK DLLSERVICE)(const char* memberName, std::uint32_t size);

// The callback record: six callback addresses, then what the library reports
// back about the archive.
struct USERFUNCTIONS {
  DLLPRNT* print;
  DLLSND* sound;
  DLLREPLACE* replace;
  DLLPASSWORD* password;
  DLLMESSAGE* SendApplicationMessage;
  DLLSERVICE* ServCallBk;
  std::uint32_t TotalSizeComp;
  std::uint32_t TotalSize;
  std::uint32_t CompFactor;
  std::uint32_t NumMembers;
  std::uint16_t cchComment;
};

// Answers of the replace callback.
inline constexpr int IDM_REPLACE_NO = 100;
inline constexpr int IDM_REPLACE_YES = 102;

// Result codes of the entry.
inline constexpr int PK_OK = 0;
inline constexpr int PK_WARN = 1;    // e.g. an archive without members
inline constexpr int PK_ERR = 2;     // a member failed its test
inline constexpr int PK_BADERR = 3;  // the archive's structure is damaged
inline constexpr int PK_MEM = 4;     // a record beyond the library's limits
inline constexpr int PK_NOZIP = 9;   // no archive, or it cannot be opened
inline constexpr int PK_PARAM = 10;  // a request the library does not serve
inline constexpr int IZ_CTRLC = 80;  // the service callback asked to stop
inline constexpr int IZ_UNSUP = 81;  // encrypted, or an unknown method

// Works on one archive with the given options. This library serves the test
// mode (ntflag 1, nvflag optionally 1): every member is read in full and its
// CRC-32 checked; nothing is written. Member selection lists must be empty
// (counts 0). Returns PK_OK when every member passed.
UZ_EXPORT int UZ_CALLBACK Wiz_SingleEntryUnzip(int ifnc, char** ifnv, int xfnc, char** xfnv,
                                               DCL* lpDCL, USERFUNCTIONS* lpUserFunc);
