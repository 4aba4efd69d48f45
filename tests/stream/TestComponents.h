// A small component family with every kind of published property, used by the
// stream tests: a form-like root, controls with parents, a nested font, a list
// of items stored through DefineProperties, a collection, strings and binary data.
#pragma once

#include <string>
#include <vector>

#include "platform/core/Classes.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Writer.h"

namespace ld::test {

enum TTestAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TTestOption { toFlat, toButtons, toHot, toItems, toAnimated };
using TTestOptions = TSet<TTestOption, uint8_t>;
enum TTestFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TTestFontStyles = TSet<TTestFontStyle, uint8_t>;

const TEnumInfo& TestAlignInfo();
const TEnumInfo& TestOptionInfo();
const TEnumInfo& TestFontStyleInfo();
const TIntegerIdents& TestColorIdents();

constexpr Integer clTestBtnFace = static_cast<Integer>(0x8000000F);
constexpr Integer clTestWindowText = static_cast<Integer>(0x80000008);

class TTestFont : public TPersistent {
    LD_CLASS(TTestFont, TPersistent)
    Integer GetColor() const { return FColor; }
    void SetColor(Integer v) { FColor = v; }
    Integer GetHeight() const { return FHeight; }
    void SetHeight(Integer v) { FHeight = v; }
    const std::string& GetName() const { return FName; }
    void SetName(const std::string& v) { FName = v; }
    TTestFontStyles GetStyle() const { return FStyle; }
    void SetStyle(TTestFontStyles v) { FStyle = v; }
    void Assign(TPersistent* source) override;

    Integer FColor = clTestWindowText;
    Integer FHeight = -11;
    std::string FName = "MS Sans Serif";
    TTestFontStyles FStyle;
};

// Items kept in the versioned stored form of a defined property "Items".
struct TTestEntry {
    std::string Caption;
    Integer ImageIndex = 0;
    Integer Tag = 0;
    bool Enabled = true;
    friend bool operator==(const TTestEntry&, const TTestEntry&) = default;
};

class TTestItems : public TPersistent {
    LD_CLASS(TTestItems, TPersistent)
    std::vector<TTestEntry> Entries;
    void ReadData(TReader* reader);
    void WriteData(TWriter* writer);

protected:
    void DefineProperties(TFiler* filer) override;
};

class TTestPanel : public TCollectionItem {
    LD_CLASS(TTestPanel, TCollectionItem)
    explicit TTestPanel(TCollection* c) : TCollectionItem(c) {}
    Integer GetWidth() const { return FWidth; }
    void SetWidth(Integer v) { FWidth = v; }
    const std::string& GetText() const { return FText; }
    void SetText(const std::string& v) { FText = v; }
    Integer FWidth = 50;
    std::string FText;
};

class TTestControl : public TComponent {
    LD_CLASS(TTestControl, TComponent)
    explicit TTestControl(TComponent* owner);
    ~TTestControl() override;

    TTestControl* GetParent() const { return FParent; }
    void SetParent(TTestControl* value);
    Integer GetLeft() const { return FLeft; }
    void SetLeft(Integer v) { FLeft = v; }
    Integer GetColor() const { return FColor; }
    void SetColor(Integer v) { FColor = v; }
    const std::string& GetCaption() const { return FCaption; }
    void SetCaption(const std::string& v) { FCaption = v; }
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool v) { FVisible = v; }
    TTestAlign GetAlign() const { return FAlign; }
    void SetAlign(TTestAlign v) { FAlign = v; }
    TTestOptions GetOptions() const { return FOptions; }
    void SetOptions(TTestOptions v) { FOptions = v; }
    TTestFont* GetFont() const { return FFont; }
    void SetFont(TTestFont* v) { FFont->Assign(v); }
    TTestItems* GetItems() const { return FItems; }
    TStringList* GetLines() const { return FLines; }
    void SetLines(TStringList* v) { FLines->Assign(v); }
    TCollection* GetPanels() const { return FPanels; }
    TTestControl* GetBuddy() const { return FBuddy; }
    void SetBuddy(TTestControl* v);
    TNotifyEvent GetOnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent v) { FOnClick = std::move(v); }
    bool IsColorStored() const { return FColor != clTestBtnFace; }

    bool HasParent() const override { return FParent != nullptr; }
    TComponent* GetParentComponent() const override { return FParent; }
    void SetParentComponent(TComponent* value) override { SetParent(dynamic_cast<TTestControl*>(value)); }
    void ReadState(TReader* reader) override;
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void SetChildOrder(TComponent* child, Integer order) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    // The raw bytes of a binary defined property "Data".
    std::string Data;
    std::vector<TTestControl*> Children;
    // What Loaded saw: was the buddy reference already resolved?
    bool LoadedSawBuddy = false;
    int LoadedCount = 0;

protected:
    void DefineProperties(TFiler* filer) override;

private:
    void ReadBinary(TStream* stream);
    void WriteBinary(TStream* stream);

    TTestControl* FParent = nullptr;
    Integer FLeft = 0;
    Integer FColor = clTestBtnFace;
    std::string FCaption;
    bool FVisible = true;
    TTestAlign FAlign = alNone;
    TTestOptions FOptions{toHot, toAnimated};
    TTestFont* FFont;
    TTestItems* FItems;
    TStringList* FLines;
    TCollection* FPanels;
    TTestControl* FBuddy = nullptr;
    TNotifyEvent FOnClick;
};

// A form: its children are the controls it owns that have no parent.
class TTestForm : public TTestControl {
    LD_CLASS(TTestForm, TTestControl)
    explicit TTestForm(TComponent* owner) : TTestControl(owner) {}
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void ButtonClick(TObject* sender) { Clicks.push_back(sender); }
    void OtherClick(TObject* sender) { Clicks.push_back(sender); }
    void Changing(TObject*, bool&) {}
    std::vector<TObject*> Clicks;
    TTestControl* Button1 = nullptr; // a published field
};

void RegisterTestClasses();
// Writes Root as a bare binary component stream.
std::string WriteBinary(TComponent* root);
// Reads a stream of any form into a new root.
TComponent* ReadRoot(const std::string& data);

} // namespace ld::test
