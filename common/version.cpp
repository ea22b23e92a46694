#include "common/version.h"

// The build passes the project version to this one file only.
std::string_view ProgramVersion() { return CORVANE_VERSION; }
