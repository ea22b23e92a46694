// The dispatch layer: calls by dispatch identifier with typed arguments,
// checked against the type library and handed to the control.
#include <cstdint>
#include <exception>
#include <new>
#include <string>
#include <string_view>

#include "permlet/control/module.h"
#include "permlet/control/permlet_ctrl.h"
#include "permlet/control/permlet_prop_page.h"
#include "permlet/control/type_library.h"
#include "platform/file_system.h"

namespace permlet {

namespace {

// Whether an argument can be taken as a parameter of `type`: texts as texts,
// 16-bit integers also from wider integers whose value fits.
bool Fits(const CvVariant& arg, CvVarType type) {
  if (type == kCvText) return arg.type == kCvText && (arg.text != nullptr || arg.textLength == 0);
  return (arg.type == kCvInt16 || arg.type == kCvInt32 || arg.type == kCvBool) &&
         arg.number >= INT16_MIN && arg.number <= INT16_MAX;
}

bool ArgumentsFit(const MemberInfo& member, const CvVariant* args) {
  for (std::size_t i = 0; i < member.params.size(); ++i) {
    if (!Fits(args[i], member.params[i].type)) return false;
  }
  return true;
}

std::string_view TextOf(const CvVariant& arg) { return {arg.text, arg.textLength}; }
std::int16_t Int16Of(const CvVariant& arg) { return static_cast<std::int16_t>(arg.number); }

struct ControlObject : CvDispatch {
  CPermletCtrl control{platform::SystemFileSystem()};
  std::string resultText;  // the text of the last result, kept for the caller

  ControlObject();
  ~ControlObject() { ObjectReleased(); }

  CvResult Call(const MemberInfo& member, std::uint16_t kind, const CvVariant* args,
                std::uint32_t argCount, CvVariant& result);
  CvResult Property(DispId property, std::uint16_t kind, const CvVariant* args,
                    std::uint32_t argCount, CvVariant& result);
  CvResult Method(const MemberInfo& member, const CvVariant* args, CvVariant& result);

  void ReturnText(const std::string& text, CvVariant& result) {
    resultText = text;
    result = {kCvText, 0, resultText.data(), static_cast<std::uint32_t>(resultText.size())};
  }
};

std::uint32_t ReleaseControl(CvDispatch* self) {
  delete static_cast<ControlObject*>(self);
  return 0;
}

CvResult InvokeControl(CvDispatch* self, std::int32_t dispId, std::uint16_t kind,
                       const CvVariant* args, std::uint32_t argCount, CvVariant* result) {
  const MemberInfo* member = FindMember(dispId);
  if (member == nullptr) return kCvMemberNotFound;
  if (argCount > 0 && args == nullptr) return kCvPointer;
  CvVariant ignored{kCvEmpty, 0, nullptr, 0};
  CvVariant& out = result != nullptr ? *result : ignored;
  out = ignored;
  try {
    return static_cast<ControlObject*>(self)->Call(*member, kind, args, argCount, out);
  } catch (const std::bad_alloc&) {
    return kCvOutOfMemory;
  } catch (const std::exception&) {
    return kCvFail;
  }
}

constexpr CvDispatchVtbl kControlVtbl = {ReleaseControl, InvokeControl};

ControlObject::ControlObject() : CvDispatch{&kControlVtbl} { ObjectCreated(); }

CvResult ControlObject::Call(const MemberInfo& member, std::uint16_t kind, const CvVariant* args,
                             std::uint32_t argCount, CvVariant& result) {
  if (member.kind == MemberKind::kProperty)
    return Property(static_cast<DispId>(member.dispId), kind, args, argCount, result);
  if ((kind & kCvMethod) == 0) return kCvMemberNotFound;
  if (argCount != member.params.size()) return kCvBadParamCount;
  return Method(member, args, result);
}

CvResult ControlObject::Property(DispId property, std::uint16_t kind, const CvVariant* args,
                                 std::uint32_t argCount, CvVariant& result) {
  if ((kind & kCvPropertyPut) != 0) {
    if (argCount != 1) return kCvBadParamCount;
    if (!Fits(args[0], kCvText)) return kCvTypeMismatch;
    control.SetProperty(property, TextOf(args[0]));
    return kCvOk;
  }
  if ((kind & kCvPropertyGet) == 0) return kCvMemberNotFound;
  if (argCount != 0) return kCvBadParamCount;
  ReturnText(control.GetProperty(property), result);
  return kCvOk;
}

CvResult ControlObject::Method(const MemberInfo& member, const CvVariant* args, CvVariant& result) {
  if (!ArgumentsFit(member, args)) return kCvTypeMismatch;
  switch (member.dispId) {
    case kDispSetFilePath:
      result = {kCvBool, control.SetFilePath(TextOf(args[0])) ? -1 : 0, nullptr, 0};
      break;
    case kDispChmod:
      result = {kCvInt32,
                control.Chmod(TextOf(args[0]), TextOf(args[1]), TextOf(args[2]), TextOf(args[3]),
                              Int16Of(args[4]), Int16Of(args[5])),
                nullptr, 0};
      break;
    case kDispBeginUpdate:
      result = {kCvInt32, control.BeginUpdate(), nullptr, 0};
      break;
    default:
      result = {kCvInt32, control.EndUpdate(), nullptr, 0};
      break;
  }
  return kCvOk;
}

// Makes an object of type T for the caller; the control may fail to open
// its file model's lock.
template <class T>
CvResult Make(CvDispatch** object) {
  try {
    *object = new T();
    return kCvOk;
  } catch (const std::bad_alloc&) {
    return kCvOutOfMemory;
  } catch (const std::exception&) {
    return kCvFail;
  }
}

}  // namespace

CvResult CreatePermletObject(const CvGuid& iid, CvDispatch** object) {
  if (!platform::SameGuid(iid, platform::kIidDispatch) && !platform::SameGuid(iid, kDPermletIid))
    return kCvNoInterface;
  return Make<ControlObject>(object);
}

CvResult CreatePropPageObject(const CvGuid& iid, CvDispatch** object) {
  if (!platform::SameGuid(iid, platform::kIidDispatch)) return kCvNoInterface;
  return Make<CPermletPropPage>(object);
}

}  // namespace permlet
