// The host's side of a dispatch call and the text form of identifiers; both
// only use the tables of component.h, so they serve every platform.
#include "platform/component.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "platform/os_error.h"

namespace platform {

namespace {

[[noreturn]] void ThrowCallFailure(CvResult result) {
  switch (result) {
    case kCvMemberNotFound:
      throw OsError(kMemberNotSupported, "Object doesn't support this property or method");
    case kCvBadParamCount:
      throw OsError(kWrongArgumentCount,
                    "Wrong number of arguments or invalid property assignment");
    case kCvTypeMismatch:
      throw OsError(kTypeMismatch);
    default:
      throw OsError(kAutomationError, "Automation error");
  }
}

CvVariant ToCv(const Variant& value) {
  return {value.type, value.number, value.text.data(),
          static_cast<std::uint32_t>(value.text.size())};
}

Variant FromCv(const CvVariant& value) {
  Variant result;
  result.type = static_cast<CvVarType>(value.type);
  result.number = value.number;
  if (value.type == kCvText && value.text != nullptr)
    result.text.assign(value.text, value.textLength);
  return result;
}

}  // namespace

std::string FormatGuid(const CvGuid& guid) {
  char text[39];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(guid.data1), guid.data2, guid.data3, guid.data4[0],
                guid.data4[1], guid.data4[2], guid.data4[3], guid.data4[4], guid.data4[5],
                guid.data4[6], guid.data4[7]);
  return text;
}

ComponentObject::ComponentObject(std::shared_ptr<LoadedLibrary> library, CvDispatch* object)
    : library_(std::move(library)), object_(object) {}

// The object goes first; the library may unload once nothing of it is left.
ComponentObject::~ComponentObject() { object_->vtbl->Release(object_); }

Variant ComponentObject::Invoke(std::int32_t dispId, CvInvokeKind kind,
                                const std::vector<Variant>& args) {
  std::vector<CvVariant> cvArgs;
  cvArgs.reserve(args.size());
  for (const Variant& arg : args) cvArgs.push_back(ToCv(arg));
  CvVariant result{kCvEmpty, 0, nullptr, 0};
  const CvResult outcome = object_->vtbl->Invoke(
      object_, dispId, kind, cvArgs.data(), static_cast<std::uint32_t>(cvArgs.size()), &result);
  if (outcome < 0) ThrowCallFailure(outcome);
  return FromCv(result);
}

}  // namespace platform
