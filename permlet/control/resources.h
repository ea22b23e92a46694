// The library's resources: string table, toolbox bitmap, property page
// dialog and version information. The server's platform builds them into the
// library's resource section; the registration and the property page take
// their texts from here.
#pragma once

#include <cstdint>

namespace permlet {

// String table.
inline constexpr int kIdsPermlet = 1;              // type name of the control
inline constexpr int kIdsPermletPpg = 2;           // type name of the property page
inline constexpr int kIdsPermletPpgCaption = 200;  // caption of the property page
// The text of a string resource, or nullptr.
constexpr const char* LoadStringResource(int id) {
  switch (id) {
    case kIdsPermlet:
      return "Permlet Control";
    case kIdsPermletPpg:
      return "Permlet Property Page";
    case kIdsPermletPpgCaption:
      return "General";
    default:
      return nullptr;
  }
}

inline constexpr int kIdbPermlet = 1;  // toolbox bitmap

// The property page's dialog: one line of static text and no fields.
struct DialogTemplate {
  int id;
  int width;  // dialog units
  int height;
  const char* fontName;
  int fontPoints;
  const char* staticText;
};
inline constexpr DialogTemplate kPropPageDialog = {
    200, 250,
    62,  "MS Sans Serif",
    8,   "TODO: Place controls to manipulate properties of Permlet Control on this dialog."};

// Miscellaneous status of the control class.
inline constexpr std::uint32_t kOleMiscRecomposeOnResize = 0x1;
inline constexpr std::uint32_t kOleMiscCantLinkInside = 0x10;
inline constexpr std::uint32_t kOleMiscInsideOut = 0x80;
inline constexpr std::uint32_t kOleMiscSetClientSiteFirst = 0x20000;
inline constexpr std::uint32_t kPermletMiscStatus = kOleMiscSetClientSiteFirst | kOleMiscInsideOut |
                                                    kOleMiscCantLinkInside |
                                                    kOleMiscRecomposeOnResize;

}  // namespace permlet
