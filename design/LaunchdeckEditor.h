// TLaunchdeckEditor: the component editor of a bar and of its sheets. Its one
// verb, "New &Sheet", adds a sheet to the bar, names it, opens it and selects
// it; it is the only way a sheet is made at design time (sheets have no
// palette button). A double-click runs it too (the inherited Edit).
#pragma once

#include "platform/vcl/DsgnIntf.h"

namespace ld {

class TLaunchdeckEditor : public TComponentEditor {
    LD_CLASS(TLaunchdeckEditor, TComponentEditor)

    using TComponentEditor::TComponentEditor;

    void ExecuteVerb(Integer index) override;
    std::string GetVerb(Integer index) override;
    Integer GetVerbCount() override;
};

} // namespace ld
