#include "design/LaunchdeckRegister.h"

#include "controls/bar/Launchdeck.h"
#include "controls/list/ShortcutList.h"
#include "design/LaunchdeckEditor.h"
#include "design/ShortcutItemsEditor.h"
#include "platform/core/ClassRegistry.h"
#include "platform/vcl/DsgnIntf.h"

using namespace ld;

extern "C" void Register()
{
    RegisterComponents("Launchdeck", {TLaunchdeck::StaticClass(), TShortcutList::StaticClass()});
    RegisterComponentEditor(TLaunchdeck::StaticClass(), ComponentEditorClass<TLaunchdeckEditor>());
    RegisterComponentEditor(TShortcutSheet::StaticClass(), ComponentEditorClass<TLaunchdeckEditor>());
    RegisterPropertyEditor(TShortcutItems::StaticClass(), TShortcutList::StaticClass(), "Items",
                           PropertyEditorClass<TShortcutItemsProperty>());
    RegisterNoIcon({TShortcutSheet::StaticClass()});
    RegisterClasses({TShortcutSheet::StaticClass()});
}
