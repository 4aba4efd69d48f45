// TPersistent: an object that can be assigned from another and stored in a form
// file through its published properties and its DefineProperties.
#pragma once

#include <string>

#include "platform/core/Object.h"

namespace ld {

class TFiler;

class TPersistent : public TObject {
    LD_CLASS(TPersistent, TObject)

    // Copies Source into this object. The default asks Source to AssignTo this;
    // when neither side knows the other, EConvertError "Cannot assign a %s to a %s".
    virtual void Assign(TPersistent* source);
    // The dotted name an object inspector shows (Form1.Font).
    virtual std::string GetNamePath() const;

protected:
    virtual void AssignTo(TPersistent* dest);
    // Adds stored values that are not published properties (TFiler::DefineProperty).
    virtual void DefineProperties(TFiler* filer);
    // The object this one belongs to, for GetNamePath.
    virtual TPersistent* GetOwner() const { return nullptr; }
    [[noreturn]] void AssignError(TPersistent* source);

    friend class TFiler;
    friend class TReader;
    friend class TWriter;
};

} // namespace ld
