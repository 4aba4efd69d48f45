#include "tests/stream/TestComponents.h"

#include <algorithm>

#include "platform/stream/TextForm.h"

namespace ld::test {

const TEnumInfo& TestAlignInfo()
{
    static const TEnumInfo info{"TTestAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}};
    return info;
}

const TEnumInfo& TestOptionInfo()
{
    static const TEnumInfo info{"TTestOptions", {"toFlat", "toButtons", "toHot", "toItems", "toAnimated"}};
    return info;
}

const TEnumInfo& TestFontStyleInfo()
{
    static const TEnumInfo info{"TTestFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
    return info;
}

const TIntegerIdents& TestColorIdents()
{
    static const TIntegerIdents idents{
        "TTestColor", {{0x000000, "clBlack"}, {clTestBtnFace, "clBtnFace"}, {clTestWindowText, "clWindowText"}}};
    return idents;
}

TClass TTestFont::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TTestFont>("TTestFont", TPersistent::StaticClass())
                                       .Integer("Color", &TTestFont::GetColor, &TTestFont::SetColor)
                                       .Idents(TestColorIdents())
                                       .Integer("Height", &TTestFont::GetHeight, &TTestFont::SetHeight)
                                       .String("Name", &TTestFont::GetName, &TTestFont::SetName)
                                       .Set("Style", &TTestFont::GetStyle, &TTestFont::SetStyle, TestFontStyleInfo());
    return &info;
}

void TTestFont::Assign(TPersistent* source)
{
    if (auto* f = dynamic_cast<TTestFont*>(source)) {
        FColor = f->FColor;
        FHeight = f->FHeight;
        FName = f->FName;
        FStyle = f->FStyle;
        return;
    }
    inherited::Assign(source);
}

TClass TTestItems::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TTestItems>("TTestItems", TPersistent::StaticClass());
    return &info;
}

void TTestItems::DefineProperties(TFiler* filer)
{
    filer->DefineProperty("Items", TReaderProc(this, &TTestItems::ReadData), TWriterProc(this, &TTestItems::WriteData),
                          !Entries.empty());
}

void TTestItems::ReadData(TReader* reader)
{
    reader->ReadListBegin();
    Entries.clear();
    const std::string version = reader->ReadString();
    const Integer count = reader->ReadInteger();
    for (Integer i = 0; i < count; ++i) {
        TTestEntry e;
        e.Caption = reader->ReadString();
        e.ImageIndex = reader->ReadInteger();
        if (version == "1.7" || version == "1.13")
            e.Tag = reader->ReadInteger();
        if (version == "1.7")
            e.Enabled = reader->ReadBoolean();
        Entries.push_back(e);
    }
    reader->ReadListEnd();
}

void TTestItems::WriteData(TWriter* writer)
{
    writer->WriteListBegin();
    writer->WriteString("1.7");
    writer->WriteInteger(static_cast<Integer>(Entries.size()));
    for (const TTestEntry& e : Entries) {
        writer->WriteString(e.Caption);
        writer->WriteInteger(e.ImageIndex);
        writer->WriteInteger(e.Tag);
        writer->WriteBoolean(e.Enabled);
    }
    writer->WriteListEnd();
}

TClass TTestPanel::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TTestPanel>("TTestPanel", TCollectionItem::StaticClass())
                                       .String("Text", &TTestPanel::GetText, &TTestPanel::SetText)
                                       .Integer("Width", &TTestPanel::GetWidth, &TTestPanel::SetWidth);
    return &info;
}

TClass TTestControl::StaticClass()
{
    static const TClassInfo info =
        TClassBuilder<TTestControl>("TTestControl", TComponent::StaticClass())
            .Integer("Left", &TTestControl::GetLeft, &TTestControl::SetLeft)
            .Default(0)
            .Integer("Color", &TTestControl::GetColor, &TTestControl::SetColor)
            .Idents(TestColorIdents())
            .Stored(&TTestControl::IsColorStored)
            .String("Caption", &TTestControl::GetCaption, &TTestControl::SetCaption)
            .Boolean("Visible", &TTestControl::GetVisible, &TTestControl::SetVisible)
            .Default(true)
            .Enum("Align", &TTestControl::GetAlign, &TTestControl::SetAlign, TestAlignInfo())
            .Default(alNone)
            .Set("Options", &TTestControl::GetOptions, &TTestControl::SetOptions, TestOptionInfo())
            .Default(TTestOptions{toHot, toAnimated})
            .Object("Font", &TTestControl::GetFont, &TTestControl::SetFont)
            .Object("Items", &TTestControl::GetItems, nullptr)
            .Object("Lines", &TTestControl::GetLines, &TTestControl::SetLines)
            .Object("Panels", &TTestControl::GetPanels, nullptr)
            .Component("Buddy", &TTestControl::GetBuddy, &TTestControl::SetBuddy)
            .Event("OnClick", &TTestControl::GetOnClick, &TTestControl::SetOnClick);
    return &info;
}

TClass TTestForm::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TTestForm>("TTestForm", TTestControl::StaticClass())
                                       .Method("ButtonClick", &TTestForm::ButtonClick)
                                       .Method("OtherClick", &TTestForm::OtherClick)
                                       .Method("Changing", &TTestForm::Changing)
                                       .Field("Button1", &TTestForm::Button1);
    return &info;
}

TTestControl::TTestControl(TComponent* owner)
    : TComponent(owner), FFont(new TTestFont), FItems(new TTestItems), FLines(new TStringList),
      FPanels(new TCollection(TTestPanel::StaticClass()))
{
}

TTestControl::~TTestControl()
{
    SetParent(nullptr);
    for (TTestControl* c : Children)
        c->FParent = nullptr;
    delete FFont;
    delete FItems;
    delete FLines;
    delete FPanels;
}

void TTestControl::SetParent(TTestControl* value)
{
    if (FParent == value)
        return;
    if (FParent != nullptr)
        FParent->Children.erase(std::find(FParent->Children.begin(), FParent->Children.end(), this));
    FParent = value;
    if (FParent != nullptr)
        FParent->Children.push_back(this);
}

void TTestControl::SetBuddy(TTestControl* v)
{
    FBuddy = v;
    if (v != nullptr)
        v->FreeNotification(this);
}

void TTestControl::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FBuddy)
        FBuddy = nullptr;
}

void TTestControl::ReadState(TReader* reader)
{
    SetParent(dynamic_cast<TTestControl*>(reader->Parent()));
    inherited::ReadState(reader);
}

void TTestControl::GetChildren(const TGetChildProc& proc, TComponent*)
{
    for (TTestControl* c : Children)
        proc(c);
}

void TTestControl::SetChildOrder(TComponent* child, Integer order)
{
    auto it = std::find(Children.begin(), Children.end(), child);
    if (it == Children.end())
        return;
    Children.erase(it);
    Children.insert(Children.begin() + std::clamp<Integer>(order, 0, static_cast<Integer>(Children.size())),
                    static_cast<TTestControl*>(child));
}

void TTestControl::Loaded()
{
    inherited::Loaded();
    ++LoadedCount;
    LoadedSawBuddy = FBuddy != nullptr;
}

void TTestControl::DefineProperties(TFiler* filer)
{
    inherited::DefineProperties(filer);
    filer->DefineBinaryProperty("Data", TStreamProc(this, &TTestControl::ReadBinary),
                                TStreamProc(this, &TTestControl::WriteBinary), !Data.empty());
}

void TTestControl::ReadBinary(TStream* stream)
{
    Data.assign(static_cast<size_t>(stream->GetSize()), '\0');
    stream->ReadBuffer(Data.data(), stream->GetSize());
}

void TTestControl::WriteBinary(TStream* stream) { stream->WriteBuffer(Data.data(), static_cast<Int64>(Data.size())); }

void TTestForm::GetChildren(const TGetChildProc& proc, TComponent* root)
{
    // Children with a parent are written by that parent.
    TTestControl::GetChildren(proc, root);
    for (Integer i = 0; i < ComponentCount(); ++i) {
        TComponent* c = Components(i);
        if (!c->HasParent() && std::find(Children.begin(), Children.end(), c) == Children.end())
            proc(c);
    }
}

void RegisterTestClasses()
{
    RegisterClasses({TTestControl::StaticClass(), TTestForm::StaticClass(), TTestPanel::StaticClass()});
}

std::string WriteBinary(TComponent* root)
{
    TMemoryStream stream;
    {
        TWriter writer(&stream);
        writer.WriteRootComponent(root);
    }
    return stream.DataString();
}

TComponent* ReadRoot(const std::string& data)
{
    TStringStream stream(data);
    return ReadComponentFromStream(&stream, nullptr);
}

} // namespace ld::test
