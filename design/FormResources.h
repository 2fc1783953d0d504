#pragma once
// The text forms and images that travel inside the library as Qt resources.
#include <string>

// The text of the resource at Path (":/lxTreeView/..."); EReadError naming What when
// the library holds no such resource.
std::string FormResource(const char* Path, const std::string& What);

#include "platform/framework/Classes.h"
#include "platform/framework/SysUtils.h"

// The component of that name and class that a form read from its layout; EReadError
// naming the layout (What) when it has none.
template <class T>
T* FindLayoutComponent(TComponent* Form, const char* Name, const std::string& What)
{
    auto* found = dynamic_cast<T*>(Form->FindComponent(Name));
    if (!found)
        throw EReadError(What + " has no " + Name);
    return found;
}
