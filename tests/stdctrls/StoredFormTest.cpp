// A stored form holding each standard control, in the layout of an items
// dialog: written, read back into a new form and written again, it gives the
// same bytes in the text form and in the binary form; and the controls'
// blocks read as the host writes them.
#include "platform/stream/Reader.h"
#include "platform/stream/Stream.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"
#include "tests/stdctrls/StdCtrlsTestSupport.h"

namespace ld {

// A dialog with published fields and handlers, bound by name when read.
class TStdDialog : public TForm {
    LD_CLASS(TStdDialog, TForm)
    explicit TStdDialog(TComponent* owner) : TForm(owner) {}
    void etCaptionChange(TObject*) { ++CaptionChanges; }
    void cbEnabledChange(TObject*) {}
    void btOKClick(TObject*) {}
    TEdit* etCaption = nullptr;
    TComboBox* cbEnabled = nullptr;
    Integer CaptionChanges = 0;
};

TClass TStdDialog::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TStdDialog>("TStdDialog", TForm::StaticClass())
        .Field("etCaption", &TStdDialog::etCaption)
        .Field("cbEnabled", &TStdDialog::cbEnabled)
        .Method("etCaptionChange", &TStdDialog::etCaptionChange)
        .Method("cbEnabledChange", &TStdDialog::cbEnabledChange)
        .Method("btOKClick", &TStdDialog::btOKClick);
    return &info;
}

namespace test {
namespace {

template <class T>
T* Add(TStdDialog* form, TWinControl* parent, const std::string& name, TRect bounds)
{
    auto* c = new T(form);
    c->SetName(name);
    c->SetText("");  // named in code, it took its name as text
    c->SetBoundsRect(bounds);
    c->SetParent(parent);
    return c;
}

TButton* AddButton(TStdDialog* form, TWinControl* parent, const std::string& name, TRect bounds, const std::string& caption)
{
    auto* b = Add<TButton>(form, parent, name, bounds);
    b->SetCaption(caption);
    return b;
}

void Fill(TStdDialog* f)
{
    f->SetName("StdDialog");
    f->SetCaption("ShortcutList Items Editor");
    f->SetBorderStyle(bsDialog);
    f->SetClientWidth(403);
    f->SetClientHeight(189);
    auto* items = Add<TGroupBox>(f, f, "gbItems", Bounds(8, 4, 217, 141));
    items->SetCaption("&Items");
    AddButton(f, items, "btNewItem", Bounds(136, 34, 75, 25), "&New Item")->SetDefault(true);
    AddButton(f, items, "btDelete", Bounds(136, 70, 75, 25), "&Delete");
    auto* props = Add<TGroupBox>(f, f, "gbProperties", Bounds(232, 8, 165, 137));
    props->SetCaption("Item &Properties");
    const char* labels[] = {"Caption:", "Image Index:", "Tag:", "Enabled:"};
    const Integer widths[] = {39, 61, 22, 42};
    for (int i = 0; i < 4; ++i)
    {
        // The caption first: a label sizes itself to a new caption, then
        // keeps the bounds it is given, as the designer stored them.
        auto* label = Add<TLabel>(f, props, "Label" + std::to_string(i + 1), Rect(0, 0, 0, 0));
        label->SetCaption(labels[i]);
        label->SetBoundsRect(Bounds(8, 24 + 28 * i, widths[i], 13));
    }
    auto* caption = Add<TEdit>(f, props, "etCaption", Bounds(76, 20, 79, 21));
    caption->SetEnabled(false);
    caption->SetOnChange(TNotifyEvent(f, &TStdDialog::etCaptionChange));
    Add<TEdit>(f, props, "etImageIndex", Bounds(76, 48, 39, 21))->SetEnabled(false);
    auto* tag = Add<TEdit>(f, props, "etTag", Bounds(76, 76, 39, 21));
    tag->SetText("7");
    tag->SetMaxLength(5);
    auto* enabled = Add<TComboBox>(f, props, "cbEnabled", Bounds(76, 104, 79, 21));
    enabled->SetStyle(csDropDownList);
    enabled->SetItemHeight(13);
    enabled->GetItems()->Add("False");
    enabled->GetItems()->Add("True");
    enabled->SetOnChange(TNotifyEvent(f, &TStdDialog::cbEnabledChange));
    AddButton(f, f, "btOK", Bounds(156, 156, 75, 25), "OK")->SetOnClick(TNotifyEvent(f, &TStdDialog::btOKClick));
    auto* cancel = AddButton(f, f, "btCancel", Bounds(240, 156, 75, 25), "Cancel");
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    AddButton(f, f, "btApply", Bounds(324, 156, 75, 25), "Apply")->SetOnClick(TNotifyEvent(f, &TStdDialog::btOKClick));
    auto* memo = Add<TMemo>(f, f, "mmNotes", Bounds(8, 150, 140, 34));
    memo->GetLines()->Add("first line");
    memo->GetLines()->Add("second 'quoted' line");
    memo->SetWordWrap(false);
    memo->SetScrollBars(ssVertical);
    memo->SetParentFont(false);
    memo->GetFont()->SetStyle({fsBold});
}

std::string Binary(TComponent* root)
{
    TMemoryStream stream;
    WriteComponentToStream(&stream, root);
    std::string_view raw(reinterpret_cast<const char*>(stream.Memory()), size_t(stream.GetSize()));
    return std::string(StripResourceHeader(raw));
}

using StoredFormTest = StdCtrlsTest;

TEST_F(StoredFormTest, EachControlWritesAsTheHostDoesAndReadsBackByteForByte)
{
    auto* original = new TStdDialog(nullptr);
    Fill(original);
    const std::string binary = Binary(original);
    const std::string text = BinaryToText(binary);

    const char* expected[] = {
        "  object gbItems: TGroupBox\r\n    Left = 8\r\n    Top = 4\r\n    Width = 217\r\n    Height = 141\r\n"
        "    Caption = '&Items'\r\n    TabOrder = 0\r\n",
        "    object btNewItem: TButton\r\n      Left = 136\r\n      Top = 34\r\n      Width = 75\r\n      Height = 25\r\n"
        "      Caption = '&New Item'\r\n      Default = True\r\n      TabOrder = 0\r\n    end\r\n",
        "    object Label2: TLabel\r\n      Left = 8\r\n      Top = 52\r\n      Width = 61\r\n      Height = 13\r\n"
        "      Caption = 'Image Index:'\r\n    end\r\n",
        "    object etCaption: TEdit\r\n      Left = 76\r\n      Top = 20\r\n      Width = 79\r\n      Height = 21\r\n"
        "      Enabled = False\r\n      TabOrder = 0\r\n      OnChange = etCaptionChange\r\n    end\r\n",
        "    object etTag: TEdit\r\n      Left = 76\r\n      Top = 76\r\n      Width = 39\r\n      Height = 21\r\n"
        "      MaxLength = 5\r\n      TabOrder = 2\r\n      Text = '7'\r\n    end\r\n",
        "    object cbEnabled: TComboBox\r\n      Left = 76\r\n      Top = 104\r\n      Width = 79\r\n      Height = 21\r\n"
        "      Style = csDropDownList\r\n      ItemHeight = 13\r\n      TabOrder = 3\r\n      OnChange = cbEnabledChange\r\n"
        "      Items.Strings = (\r\n        'False'\r\n        'True')\r\n    end\r\n",
        "  object btCancel: TButton\r\n    Left = 240\r\n    Top = 156\r\n    Width = 75\r\n    Height = 25\r\n"
        "    Cancel = True\r\n    Caption = 'Cancel'\r\n    ModalResult = 2\r\n    TabOrder = 3\r\n  end\r\n",
        "  object mmNotes: TMemo\r\n",
        "    Font.Style = [fsBold]\r\n    Lines.Strings = (\r\n      'first line'\r\n      'second '#39'quoted'#39' line')\r\n"
        "    ParentFont = False\r\n    ScrollBars = ssVertical\r\n    TabOrder = 5\r\n    WordWrap = False\r\n  end\r\n",
    };
    for (const char* block : expected)
        EXPECT_NE(text.find(block), std::string::npos) << "missing:\n" << block << "\nin:\n" << text;

    auto* copy = new TStdDialog(nullptr);
    TStringStream input(text);
    ReadComponentFromStream(&input, copy);
    ASSERT_NE(copy->etCaption, nullptr);
    ASSERT_NE(copy->cbEnabled, nullptr);
    EXPECT_EQ(copy->etCaption->GetParent()->GetName(), "gbProperties");
    EXPECT_EQ(copy->cbEnabled->GetItems()->Count(), 2);
    EXPECT_EQ(BinaryToText(Binary(copy)), text);
    EXPECT_EQ(Binary(copy), binary);

    // Shown, the controls keep what was stored: nothing resizes itself.
    copy->Show();
    Backend->RunUntilIdle();
    EXPECT_EQ(copy->etCaption->GetHeight(), 21);
    const std::string shown = BinaryToText(Binary(copy));
    EXPECT_EQ(shown.substr(shown.find("  object")), text.substr(text.find("  object")));
    // Handlers were bound by name: typing into the caption edit reaches one.
    copy->etCaption->SetEnabled(true);
    copy->etCaption->SetFocus();
    Type("ab");
    EXPECT_EQ(copy->CaptionChanges, 2);
    delete copy;
    delete original;
}

TEST_F(StoredFormTest, AnUnknownPropertyOfAControlIsAReadErrorThatLeaksNothing)
{
    const std::string text = "object StdDialog: TStdDialog\r\n"
                             "  object etCaption: TEdit\r\n"
                             "    Left = 76\r\n"
                             "    Colour = clRed\r\n"
                             "  end\r\n"
                             "end\r\n";
    auto* form = new TStdDialog(nullptr);
    TStringStream input(text);
    try {
        ReadComponentFromStream(&input, form);
        ADD_FAILURE() << "read a property that does not exist";
    } catch (const EReadError& e) {
        EXPECT_NE(std::string(e.what()).find("Colour"), std::string::npos) << e.what();
    }
    EXPECT_EQ(form->etCaption, nullptr);
    EXPECT_EQ(form->GetControlCount(), 0);
    delete form;
}

} // namespace
} // namespace test
} // namespace ld
