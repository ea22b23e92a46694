#include "checker/run/run_error.h"

#include <new>

RunFailure CurrentFailure() {
  try {
    throw;
  } catch (const platform::OsError& error) {
    return {error.number(), error.what()};
  } catch (const std::bad_alloc&) {
    return {platform::kOutOfMemory, platform::ClassicDescription(platform::kOutOfMemory)};
  } catch (const std::exception& error) {
    return {kInternalError, error.what()};
  } catch (...) {
    return {kInternalError, "Internal error"};
  }
}
