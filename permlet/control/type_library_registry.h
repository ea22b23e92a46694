// Registration of the type library PERMLETLib with its two interfaces, done
// the way the platform's component services do it. Both throw on failure.
#pragma once

#include <string>

namespace permlet {

// `libraryPath` is the control library, which carries the type library.
void RegisterTypeLibrary(const std::string& libraryPath);
// Fails when version 1.0 is not registered.
void UnregisterTypeLibrary();

}  // namespace permlet
