// The control's type library PERMLETLib: its identifiers, its interfaces and
// the members of the dispatch interface with their dispatch identifiers.
// Callers bind to the identifiers and the argument order: they never change.
#pragma once

#include <cstdint>
#include <span>

#include "platform/component.h"

namespace permlet {

inline constexpr CvGuid kLibId = platform::GuidLiteral("{58A6311B-FE0B-49B3-B014-8688FA50D77A}");
inline constexpr CvGuid kDPermletIid =
    platform::GuidLiteral("{7A39B829-F630-4261-B58B-E40EDA6B9320}");
inline constexpr CvGuid kDPermletEventsIid =
    platform::GuidLiteral("{A76AE382-05BD-4931-B154-B001BE79AC6D}");
inline constexpr CvGuid kPermletClsid =
    platform::GuidLiteral("{0FC45993-7C08-4B1D-9FCC-3633210FCAF9}");
inline constexpr CvGuid kPermletPropPageClsid =
    platform::GuidLiteral("{53101AB9-ABDD-44A1-BFCE-8C550076E3C8}");

struct TypeLibraryInfo {
  const char* name;
  int majorVersion;
  int minorVersion;
  std::uint32_t locale;
  const char* helpText;
  const char* helpFile;
};
inline constexpr TypeLibraryInfo kTypeLibrary = {
    "PERMLETLib", 1, 0, 0x409, "Permlet ActiveX Control module", "Permlet.hlp"};

enum DispId : std::int32_t {
  kDispOwner = 1,
  kDispGroup = 2,
  kDispMode = 3,
  kDispFree = 4,
  kDispComplete = 5,
  kDispErrormsg = 6,
  kDispSetFilePath = 7,
  kDispChmod = 8,
  kDispBeginUpdate = 9,
  kDispEndUpdate = 10,
};

enum class MemberKind { kProperty, kMethod };

struct ParamInfo {
  const char* name;
  CvVarType type;
};

struct MemberInfo {
  std::int32_t dispId;
  const char* name;
  MemberKind kind;
  CvVarType type;  // of the property, or the method's result
  std::span<const ParamInfo> params;
};

struct InterfaceInfo {
  CvGuid iid;
  const char* name;
  const char* helpText;
  std::span<const MemberInfo> members;
};

// _DPermlet and _DPermletEvents (which has no events).
extern const InterfaceInfo kDPermlet;
extern const InterfaceInfo kDPermletEvents;

// The class Permlet: creatable, a control, with _DPermlet as its default
// interface and _DPermletEvents as its default source.
struct CoClassInfo {
  CvGuid clsid;
  const char* name;
  const char* helpText;
};
inline constexpr CoClassInfo kPermletClass = {kPermletClsid, "Permlet", "Permlet Control"};

// The member of _DPermlet with `dispId`, or nullptr.
const MemberInfo* FindMember(std::int32_t dispId);

}  // namespace permlet
