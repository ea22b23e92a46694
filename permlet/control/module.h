// The library's module state: how many objects and server locks are
// outstanding, which decides whether the library may be unloaded.
#pragma once

#include "platform/component.h"

namespace permlet {

void ObjectCreated();
void ObjectReleased();
// A class factory's LockServer: true takes a lock, false gives one back.
void LockModule(bool lock);
// Whether no object and no lock is outstanding (module_state.cpp).
bool CanUnloadNow();

// Makes an object of each class for interface `iid` (dispatch.cpp).
CvResult CreatePermletObject(const CvGuid& iid, CvDispatch** object);
CvResult CreatePropPageObject(const CvGuid& iid, CvDispatch** object);

}  // namespace permlet
