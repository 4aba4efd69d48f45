#include "design/LaunchdeckRegister.h"

#include "controls/bar/Launchdeck.h"
#include "controls/list/ShortcutList.h"
#include "design/LaunchdeckEditor.h"
#include "platform/core/ClassRegistry.h"
#include "platform/vcl/DsgnIntf.h"

using namespace ld;

// The list's items editor registers here, between the component editors and
// RegisterNoIcon, once it exists.
extern "C" void Register()
{
    RegisterComponents("Launchdeck", {TLaunchdeck::StaticClass(), TShortcutList::StaticClass()});
    RegisterComponentEditor(TLaunchdeck::StaticClass(), ComponentEditorClass<TLaunchdeckEditor>());
    RegisterComponentEditor(TShortcutSheet::StaticClass(), ComponentEditorClass<TLaunchdeckEditor>());
    RegisterNoIcon({TShortcutSheet::StaticClass()});
    RegisterClasses({TShortcutSheet::StaticClass()});
}
