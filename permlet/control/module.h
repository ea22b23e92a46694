// The library's module state: how many objects and server locks are
// outstanding, which decides whether the library may be unloaded.
#pragma once

#include "platform/component.h"

namespace permlet {

void ObjectCreated();
void ObjectReleased();

// Makes an object of each class for interface `iid` (dispatch.cpp).
CvResult CreatePermletObject(const CvGuid& iid, CvDispatch** object);
CvResult CreatePropPageObject(const CvGuid& iid, CvDispatch** object);

}  // namespace permlet
