// A package whose Register registers a component editor and then fails: the
// environment must take the editor away again.
#include "platform/vcl/DsgnIntf.h"

using namespace ld;

extern "C" void Register()
{
    RegisterComponentEditor(TComponent::StaticClass(), ComponentEditorClass<TComponentEditor>());
    RegisterComponents("Broken", {nullptr});
}
