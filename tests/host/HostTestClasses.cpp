#include "tests/host/HostTestClasses.h"

namespace ld::test {

void TProbeValue::Assign(TPersistent* source)
{
    if (auto* other = dynamic_cast<TProbeValue*>(source)) {
        Value = other->Value;
        return;
    }
    inherited::Assign(source);
}

TClass TProbeValue::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TProbeValue>("TProbeValue", TPersistent::StaticClass())
                                       .Integer("Value", &TProbeValue::GetValue, &TProbeValue::SetValue).Default(0);
    return &info;
}

TClass TProbe::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TProbe>("TProbe", TCustomControl::StaticClass())
                                       .Object("Value", &TProbe::GetValue, &TProbe::SetValue)
                                       .Object("Other", &TProbe::GetOther, &TProbe::SetOther);
    return &info;
}

TProbe::TProbe(TComponent* owner) : TCustomControl(owner), FValue(new TProbeValue), FOther(new TProbeValue)
{
    SetBounds(0, 0, 50, 30);
}

TProbe::~TProbe()
{
    // Leaves the parent while still wholly a windowed control, as controls of
    // this class library do.
    SetParent(nullptr);
    delete FValue;
    delete FOther;
}

void TProbe::Dispatch(TMessage& message)
{
    if (message.Msg == CM_DESIGNHITTEST) {
        message.Result = HitTestAnswer;
        return;
    }
    inherited::Dispatch(message);
}

void TProbe::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y)
{
    ++MouseDowns;
    inherited::MouseDown(button, shift, x, y);
}

TClass TProbeChild::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TProbeChild>("TProbeChild", TProbe::StaticClass());
    return &info;
}

std::vector<std::string> TRecordingEditor::Verbs;
std::vector<std::string> TRecordingEditor::Log;

void TRecordingEditor::ExecuteVerb(Integer index)
{
    Log.push_back(GetComponent()->GetName() + ":" + std::to_string(index));
}

TClass TRecordingEditor::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TRecordingEditor>("TRecordingEditor", TComponentEditor::StaticClass());
    return &info;
}

TClass TOtherEditor::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TOtherEditor>("TOtherEditor", TComponentEditor::StaticClass());
    return &info;
}

TClass TProbeValueProperty::StaticClass()
{
    static const TClassInfo info =
        TClassBuilder<TProbeValueProperty>("TProbeValueProperty", TClassProperty::StaticClass());
    return &info;
}

TClass TOtherValueProperty::StaticClass()
{
    static const TClassInfo info =
        TClassBuilder<TOtherValueProperty>("TOtherValueProperty", TClassProperty::StaticClass());
    return &info;
}

} // namespace ld::test
