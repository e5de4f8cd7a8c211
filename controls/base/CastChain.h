// The one body of a control class's CastTo: the class answers its own cast name (`kCastName`) with
// itself and hands every other name to the class it derives from, so a cast to any ancestor (or an
// interface an ancestor answers) keeps working down the chain.
#pragma once

#include <cstring>

namespace SkinUI {

// `Base` is named by the caller, not deduced, because a class may deliberately skip a level.
template <class Base, class T> void* CastToSelfOrBase(T* self, const char* name)
{
    if (name != nullptr && std::strcmp(name, T::kCastName) == 0)
        return self;
    return self->Base::CastTo(name);
}

}  // namespace SkinUI
