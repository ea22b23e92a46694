// The component services of the platform: a registry that maps class
// identifiers to the libraries that implement them, creation of an object by
// class identifier, and calls by dispatch identifier with typed arguments.
//
// Both sides include this header: the host programs use the C++ part below,
// and a component library implements the C part (its exports and the two
// object tables), so nothing but plain C types crosses between them.
//
// The registry of this platform is the file "components.reg" in the folder of
// the running program: the registration tool beside the programs writes it,
// and every program of that folder reads it. One installation thus has one
// registry, as one machine has one on the server's platform, and installations
// (and test folders) never see each other's registrations.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

extern "C" {

// A class or interface identifier, laid out as the component services' GUID.
struct CvGuid {
  std::uint32_t data1;
  std::uint16_t data2;
  std::uint16_t data3;
  std::uint8_t data4[8];
};

// Result codes, as HRESULT: 0 success, negative failure.
typedef std::int32_t CvResult;

// The type of a typed value; the numbers are those of VARIANT.
enum CvVarType : std::int32_t {
  kCvEmpty = 0,
  kCvInt16 = 2,
  kCvInt32 = 3,
  kCvText = 8,
  kCvBool = 11
};

// A typed argument or result of a dispatch call. Texts are 8-bit byte strings
// of `textLength` bytes; they are not copied by the callee.
struct CvVariant {
  std::int32_t type;    // CvVarType
  std::int32_t number;  // kCvInt16, kCvInt32; kCvBool: 0 false, else true
  const char* text;     // kCvText
  std::uint32_t textLength;
};

// What a dispatch call does with its member; the numbers are those of DISPATCH_*.
enum CvInvokeKind : std::uint16_t { kCvMethod = 1, kCvPropertyGet = 2, kCvPropertyPut = 4 };

struct CvDispatch;
struct CvDispatchVtbl {
  std::uint32_t (*Release)(CvDispatch* self);
  // Calls member `dispId`. args[0] is the first argument (IDispatch passes
  // them in reverse; this table does not). A text in *result stays valid until
  // the next call on the object or its release.
  CvResult (*Invoke)(CvDispatch* self, std::int32_t dispId, std::uint16_t kind,
                     const CvVariant* args, std::uint32_t argCount, CvVariant* result);
};
struct CvDispatch {
  const CvDispatchVtbl* vtbl;
};

struct CvClassFactory;
struct CvClassFactoryVtbl {
  std::uint32_t (*Release)(CvClassFactory* self);
  CvResult (*CreateInstance)(CvClassFactory* self, const CvGuid* iid, CvDispatch** object);
  CvResult (*LockServer)(CvClassFactory* self, std::int32_t lock);
};
struct CvClassFactory {
  const CvClassFactoryVtbl* vtbl;
};

// The exports of a component library, found by these names:
//   DllGetClassObject, DllCanUnloadNow, DllRegisterServer, DllUnregisterServer.
typedef CvResult (*CvGetClassObjectFn)(const CvGuid* clsid, const CvGuid* iid,
                                       CvClassFactory** factory);
typedef CvResult (*CvServerFn)(void);

}  // extern "C"

#ifdef _WIN32
#define CV_EXPORT extern "C" __declspec(dllexport)
#else
#define CV_EXPORT extern "C" __attribute__((visibility("default")))
#endif

inline constexpr CvResult kCvOk = 0;
inline constexpr CvResult kCvFalse = 1;
inline constexpr CvResult kCvNoInterface = static_cast<CvResult>(0x80004002);
inline constexpr CvResult kCvPointer = static_cast<CvResult>(0x80004003);
inline constexpr CvResult kCvFail = static_cast<CvResult>(0x80004005);
inline constexpr CvResult kCvOutOfMemory = static_cast<CvResult>(0x8007000E);
inline constexpr CvResult kCvClassNotAvailable = static_cast<CvResult>(0x80040111);
inline constexpr CvResult kCvNoAggregation = static_cast<CvResult>(0x80040110);
inline constexpr CvResult kCvMemberNotFound = static_cast<CvResult>(0x80020003);
inline constexpr CvResult kCvTypeMismatch = static_cast<CvResult>(0x80020005);
inline constexpr CvResult kCvBadParamCount = static_cast<CvResult>(0x8002000E);
inline constexpr CvResult kCvSelfRegTypeLib = static_cast<CvResult>(0x80040200);
inline constexpr CvResult kCvSelfRegClass = static_cast<CvResult>(0x80040201);

namespace platform {

// Classic error numbers of component use.
inline constexpr int kCannotCreateObject = 429;  // "ActiveX component can't create object"
inline constexpr int kMemberNotSupported = 438;  // "Object doesn't support this property or method"
inline constexpr int kAutomationError = 440;     // "Automation error"
inline constexpr int kWrongArgumentCount =
    450;  // "Wrong number of arguments or invalid property assignment"

namespace guid_detail {
constexpr int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
// The value of `digits` hex digits at `at`, or -1.
constexpr std::int64_t HexField(std::string_view text, std::size_t at, std::size_t digits) {
  std::int64_t value = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    int digit = HexValue(text[at + i]);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}
}  // namespace guid_detail

// "{0FC45993-7C08-4B1D-9FCC-3633210FCAF9}" (braces required, any case).
constexpr std::optional<CvGuid> ParseGuid(std::string_view text) {
  if (text.size() != 38 || text[0] != '{' || text[37] != '}' || text[9] != '-' || text[14] != '-' ||
      text[19] != '-' || text[24] != '-')
    return std::nullopt;
  CvGuid guid{};
  const std::int64_t d1 = guid_detail::HexField(text, 1, 8);
  const std::int64_t d2 = guid_detail::HexField(text, 10, 4);
  const std::int64_t d3 = guid_detail::HexField(text, 15, 4);
  if (d1 < 0 || d2 < 0 || d3 < 0) return std::nullopt;
  guid.data1 = static_cast<std::uint32_t>(d1);
  guid.data2 = static_cast<std::uint16_t>(d2);
  guid.data3 = static_cast<std::uint16_t>(d3);
  constexpr std::size_t kByteAt[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (std::size_t i = 0; i < 8; ++i) {
    const std::int64_t byte = guid_detail::HexField(text, kByteAt[i], 2);
    if (byte < 0) return std::nullopt;
    guid.data4[i] = static_cast<std::uint8_t>(byte);
  }
  return guid;
}

// An identifier written in its source form, checked when compiled.
consteval CvGuid GuidLiteral(std::string_view text) { return ParseGuid(text).value(); }

constexpr bool SameGuid(const CvGuid& a, const CvGuid& b) {
  if (a.data1 != b.data1 || a.data2 != b.data2 || a.data3 != b.data3) return false;
  for (int i = 0; i < 8; ++i) {
    if (a.data4[i] != b.data4[i]) return false;
  }
  return true;
}

// Upper-case text form with braces, as the registry keys hold it.
std::string FormatGuid(const CvGuid& guid);

inline constexpr CvGuid kIidClassFactory = GuidLiteral("{00000001-0000-0000-C000-000000000046}");
inline constexpr CvGuid kIidDispatch = GuidLiteral("{00020400-0000-0000-C000-000000000046}");

// ---- Registry --------------------------------------------------------------
// Keys are paths of the registry's own form, such as
// "CLSID\{0FC45993-7C08-4B1D-9FCC-3633210FCAF9}\InprocServer32"; they are
// compared without regard to case.
struct RegistryValue {
  RegistryValue(std::string keyPath, std::string text, std::string valueName = {})
      : key(std::move(keyPath)), value(std::move(text)), name(std::move(valueName)) {}

  std::string key;
  std::string value;
  // A named value of the key; empty for the key's own (default) value. The
  // registry file of POSIX keeps a named value as a key below `key`.
  std::string name;
};

// The registry file of POSIX: "components.reg" in the program folder.
std::string ComponentRegistryPath();

std::optional<std::string> ReadRegistryValue(const std::string& key);
// Sets each value, adding keys that do not exist. Throws OsError.
void WriteRegistryValues(const std::vector<RegistryValue>& values);
// Removes each key with all keys below it. Throws OsError.
void DeleteRegistryKeys(const std::vector<std::string>& keys);

// The full path of the library or program that holds `address`, for a
// library that registers itself.
std::string ModulePath(const void* address);

// ---- Hosting ---------------------------------------------------------------
// A typed value on the host's side, owning its text.
struct Variant {
  CvVarType type = kCvEmpty;
  std::int32_t number = 0;
  std::string text;

  static Variant Text(std::string value) { return {kCvText, 0, std::move(value)}; }
  static Variant Int16(std::int16_t value) { return {kCvInt16, value, {}}; }
  static Variant Int32(std::int32_t value) { return {kCvInt32, value, {}}; }
};

class LoadedLibrary;

// An object created from the registry, released when destroyed.
class ComponentObject {
 public:
  ComponentObject(std::shared_ptr<LoadedLibrary> library, CvDispatch* object);
  ~ComponentObject();
  ComponentObject(const ComponentObject&) = delete;
  ComponentObject& operator=(const ComponentObject&) = delete;

  // Calls member `dispId` with `args` in their natural order. Throws OsError
  // when the object refuses the call: 438 unknown member, 450 wrong number of
  // arguments, 13 type mismatch, 440 any other failure.
  Variant Invoke(std::int32_t dispId, CvInvokeKind kind, const std::vector<Variant>& args);

 private:
  std::shared_ptr<LoadedLibrary> library_;
  CvDispatch* object_;
};

// Creates an object of class `clsid` offering interface `iid`, loading the
// library that the registry names for the class. Throws OsError 429 when the
// class is not registered or the library cannot make the object; its
// description gives the system's reason after "ActiveX component can't create
// object: ".
std::unique_ptr<ComponentObject> CreateComponent(const CvGuid& clsid, const CvGuid& iid);

// The program an operator runs in a library's folder, with the library's
// name, to register it: the system's own on Windows, the programs' permreg
// (which writes ComponentRegistryPath()) elsewhere.
#ifdef _WIN32
inline constexpr const char* kRegistrationTool = "regsvr32";
#else
inline constexpr const char* kRegistrationTool = "permreg";
#endif

// Loads a library and calls its DllRegisterServer (or DllUnregisterServer),
// returning the library's result. Throws OsError kFileNotFound when the
// library cannot be loaded and kMemberNotSupported when it lacks the export,
// each with the system's reason as description.
CvResult RegisterServer(const std::string& libraryPath, bool unregister);

}  // namespace platform
