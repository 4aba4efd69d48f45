// TObject, the root of every class: its class record (name, parent, published
// properties and methods), message dispatch, and freeing.
//
// A class declares itself with LD_CLASS(Self, Base) at the top of its body and
// defines Self::StaticClass() in its source file with its type-info table
// (TypeInfo.h). LD_CLASS also gives `inherited`, the base class, so that an
// override reads `inherited::Loaded();`.
#pragma once

#include <string>

#include "platform/core/TypeInfo.h"
#include "platform/core/Types.h"

namespace ld {

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject();

    static TClass StaticClass();
    virtual TClass ClassType() const { return StaticClass(); }
    const std::string& ClassName() const { return ClassType()->Name; }
    TClass ClassParent() const { return ClassType()->Parent; }
    bool InheritsFrom(TClass other) const { return ClassType()->InheritsFrom(other); }
    template <class T>
    bool Is() const { return InheritsFrom(T::StaticClass()); }

    // The published method Name of this object's class as a closure of signature
    // Closure, or an empty closure when there is none with that signature.
    TMethod MethodAddress(const std::string& name);
    // The published name of a method of this object's class, or "".
    std::string MethodName(const TMethodCode& code) const;
    // A handler that does nothing, of any event's signature: what an event is
    // bound to while its handler exists by name only (on a form being designed).
    template <class... Args>
    void NoHandler(Args...)
    {
    }

    // Hands a message to its handler; a class switches on Msg and passes what it
    // does not handle to its base class. Unhandled messages reach DefaultHandler.
    virtual void Dispatch(TMessage& message);
    virtual void DefaultHandler(TMessage& message);

    // Runs BeforeDestruction, then deletes. Prefer it to a plain delete: a component
    // is marked csDestroying before any of its destructors runs.
    void Free();
    virtual void AfterConstruction() {}
    virtual void BeforeDestruction() {}
};

// Frees an object that may be null.
inline void FreeObject(TObject* object)
{
    if (object != nullptr)
        object->Free();
}

template <class T>
void FreeAndNil(T*& object)
{
    T* doomed = object;
    object = nullptr;
    FreeObject(doomed);
}

#define LD_CLASS(Self, Base)                                       \
public:                                                            \
    using inherited = Base;                                        \
    static ::ld::TClass StaticClass();                             \
    ::ld::TClass ClassType() const override { return Self::StaticClass(); }

} // namespace ld
