#include "permlet/control/type_library.h"

namespace permlet {

namespace {

constexpr ParamInfo kSetFilePathParams[] = {{"fullpath", kCvText}};
constexpr ParamInfo kChmodParams[] = {{"mode", kCvText},      {"uname", kCvText},
                                      {"gname", kCvText},     {"fullpath", kCvText},
                                      {"complete", kCvInt16}, {"free", kCvInt16}};

constexpr MemberInfo kDPermletMembers[] = {
    {kDispOwner, "owner", MemberKind::kProperty, kCvText, {}},
    {kDispGroup, "group", MemberKind::kProperty, kCvText, {}},
    {kDispMode, "mode", MemberKind::kProperty, kCvText, {}},
    {kDispFree, "free", MemberKind::kProperty, kCvText, {}},
    {kDispComplete, "complete", MemberKind::kProperty, kCvText, {}},
    {kDispErrormsg, "errormsg", MemberKind::kProperty, kCvText, {}},
    {kDispSetFilePath, "SetFilePath", MemberKind::kMethod, kCvBool, kSetFilePathParams},
    {kDispChmod, "Chmod", MemberKind::kMethod, kCvInt32, kChmodParams},
    {kDispBeginUpdate, "BeginUpdate", MemberKind::kMethod, kCvInt32, {}},
    {kDispEndUpdate, "EndUpdate", MemberKind::kMethod, kCvInt32, {}},
};

}  // namespace

const InterfaceInfo kDPermlet = {kDPermletIid, "_DPermlet",
                                 "Dispatch interface for Permlet Control", kDPermletMembers};
const InterfaceInfo kDPermletEvents = {
    kDPermletEventsIid, "_DPermletEvents", "Event interface for Permlet Control", {}};

const MemberInfo* FindMember(std::int32_t dispId) {
  for (const MemberInfo& member : kDPermlet.members) {
    if (member.dispId == dispId) return &member;
  }
  return nullptr;
}

}  // namespace permlet
