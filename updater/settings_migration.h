// Carries an old corvane.ini over to the sectioned layout: the banner, the
// nine sections in their fixed order, every current key with the value the
// old file gave it (or nothing), lines ended by CR LF.
#pragma once

#include <string>
#include <vector>

namespace updater {

// The new file's bytes, from the old file's lines (line ends removed).
std::string MigrateSettings(const std::vector<std::string>& oldLines);

}  // namespace updater
