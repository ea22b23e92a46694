// A client of the permission control, made as the checker makes it (through
// the component registry, by class identifier) and called by dispatch
// identifier:
//   chmod_client FOLDER PREFIX COUNT
// gives FOLDER's files PREFIX-0 to PREFIX-(COUNT-1) the owner PREFIX, one
// Chmod each. Exit status 0 when every call went through, 1 otherwise.
#include <cstdlib>
#include <exception>
#include <string>

#include "platform/component.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  const std::string folder = argv[1], prefix = argv[2];
  const int count = std::atoi(argv[3]);
  try {
    auto control =
        platform::CreateComponent(platform::GuidLiteral("{0FC45993-7C08-4B1D-9FCC-3633210FCAF9}"),
                                  platform::GuidLiteral("{7A39B829-F630-4261-B58B-E40EDA6B9320}"));
    using platform::Variant;
    for (int i = 0; i < count; ++i) {
      const std::string path = folder + platform::kSeparatorText + prefix + "-" + std::to_string(i);
      control->Invoke(8, kCvMethod,
                      {Variant::Text("554"), Variant::Text(prefix), Variant::Text("grp"),
                       Variant::Text(path), Variant::Int16(0), Variant::Int16(0)});
    }
  } catch (const std::exception&) {
    return 1;
  }
  return 0;
}
