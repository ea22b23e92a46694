// The settings key nearest to a key the table lacks, for the settings check.
#pragma once

#include <string_view>

// The key of the table with the fewest single-character edits (insert,
// delete, replace) from `upperKey`; the first in table order on a tie.
std::string_view NearestSettingKey(std::string_view upperKey);
