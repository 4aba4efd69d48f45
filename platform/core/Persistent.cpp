#include "platform/core/Persistent.h"

#include "platform/core/SysUtils.h"

namespace ld {

TClass TPersistent::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TPersistent>("TPersistent", TObject::StaticClass());
    return &info;
}

void TPersistent::Assign(TPersistent* source)
{
    if (source != nullptr)
        source->AssignTo(this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest)
{
    dest->AssignError(this);
}

void TPersistent::AssignError(TPersistent* source)
{
    const std::string sourceName = source != nullptr ? source->ClassName() : std::string("nil");
    throw EConvertError(Format("Cannot assign a %s to a %s", {sourceName, ClassName()}));
}

void TPersistent::DefineProperties(TFiler*) {}

std::string TPersistent::GetNamePath() const
{
    std::string path = ClassName();
    if (TPersistent* owner = GetOwner()) {
        const std::string ownerPath = owner->GetNamePath();
        if (!ownerPath.empty())
            path = ownerPath + "." + path;
    }
    return path;
}

} // namespace ld
