#include "platform/core/Object.h"

namespace ld {

TObject::~TObject() = default;

TClass TObject::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TObject>("TObject", nullptr);
    return &info;
}

TMethod TObject::MethodAddress(const std::string& name)
{
    TMethod m;
    if (const TMethodEntry* entry = ClassType()->FindMethod(name)) {
        m.Data = this;
        m.Code = entry->Code;
        m.Name = entry->Name;
    }
    return m;
}

std::string TObject::MethodName(const TMethodCode& code) const
{
    const TMethodEntry* entry = ClassType()->FindMethodByCode(code);
    return entry ? entry->Name : std::string();
}

void TObject::Dispatch(TMessage& message) { DefaultHandler(message); }

void TObject::DefaultHandler(TMessage&) {}

void TObject::Free()
{
    BeforeDestruction();
    delete this;
}

} // namespace ld
