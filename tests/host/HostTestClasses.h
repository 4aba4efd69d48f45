// Small classes for the host tests: a value object, a control that answers the
// design hit test as told and counts the mouse presses it gets, its
// descendant, and component editors that record what they are asked.
#pragma once

#include <string>
#include <vector>

#include "platform/vcl/Controls.h"
#include "platform/vcl/DsgnIntf.h"

namespace ld::test {

class TProbeValue : public TPersistent {
    LD_CLASS(TProbeValue, TPersistent)
    TProbeValue() = default;
    void Assign(TPersistent* source) override;
    Integer GetValue() const { return Value; }
    void SetValue(Integer value) { Value = value; }
    Integer Value = 0;
};

class TProbe : public TCustomControl {
    LD_CLASS(TProbe, TCustomControl)
    explicit TProbe(TComponent* owner);
    ~TProbe() override;
    void Dispatch(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;

    TProbeValue* GetValue() const { return FValue; }
    void SetValue(TProbeValue* value) { FValue->Assign(value); }
    TProbeValue* GetOther() const { return FOther; }
    void SetOther(TProbeValue* value) { FOther->Assign(value); }

    LRESULT HitTestAnswer = 0;
    Integer MouseDowns = 0;

private:
    TProbeValue* FValue;
    TProbeValue* FOther;
};

class TProbeChild : public TProbe {
    LD_CLASS(TProbeChild, TProbe)
    using TProbe::TProbe;
};

// Records verbs run; one verb per name given.
class TRecordingEditor : public TComponentEditor {
    LD_CLASS(TRecordingEditor, TComponentEditor)
    using TComponentEditor::TComponentEditor;
    static std::vector<std::string> Verbs;
    static std::vector<std::string> Log;
    void ExecuteVerb(Integer index) override;
    std::string GetVerb(Integer index) override { return Verbs.at(static_cast<size_t>(index)); }
    Integer GetVerbCount() override { return static_cast<Integer>(Verbs.size()); }
};

class TOtherEditor : public TComponentEditor {
    LD_CLASS(TOtherEditor, TComponentEditor)
    using TComponentEditor::TComponentEditor;
};

class TProbeValueProperty : public TClassProperty {
    LD_CLASS(TProbeValueProperty, TClassProperty)
    using TClassProperty::TClassProperty;
};

class TOtherValueProperty : public TClassProperty {
    LD_CLASS(TOtherValueProperty, TClassProperty)
    using TClassProperty::TClassProperty;
};

} // namespace ld::test
