// A package whose Register registers one of everything (a class of its own on
// the palette, which registers its ancestors for streaming too, a class
// without an icon, a component editor and a property editor) and then fails:
// the environment must take all of it away again.
#include "platform/vcl/Controls.h"
#include "platform/vcl/DsgnIntf.h"

using namespace ld;

namespace {

class TBrokenControl : public TCustomControl {
    LD_CLASS(TBrokenControl, TCustomControl)
public:
    using TCustomControl::TCustomControl;
};

TClass TBrokenControl::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TBrokenControl>("TBrokenControl", TCustomControl::StaticClass());
    return &info;
}

} // namespace

extern "C" void Register()
{
    RegisterComponents("Broken", {TBrokenControl::StaticClass()});
    RegisterNoIcon({TCustomControl::StaticClass()});
    RegisterComponentEditor(TComponent::StaticClass(), ComponentEditorClass<TComponentEditor>());
    RegisterPropertyEditor(TPersistent::StaticClass(), nullptr, "", PropertyEditorClass<TClassProperty>());
    RegisterComponents("Broken", {nullptr});
}
