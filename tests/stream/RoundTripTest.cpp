#include <gtest/gtest.h>

#include <memory>

#include "platform/stream/TextForm.h"
#include "tests/stream/TestComponents.h"

using namespace ld;
using namespace ld::test;

namespace {

struct FormDeleter {
    void operator()(TComponent* c) const { FreeObject(c); }
};
using FormPtr = std::unique_ptr<TComponent, FormDeleter>;

TTestControl* Control(TComponent* owner, const std::string& name, TTestControl* parent)
{
    auto* c = new TTestControl(owner);
    c->SetName(name);
    c->SetParent(parent);
    return c;
}

// A form with nested controls and every kind of stored value.
TTestForm* BuildForm()
{
    auto* form = new TTestForm(nullptr);
    form->SetName("Form1");
    form->SetCaption("Launchdeck");
    form->GetFont()->SetHeight(-13);
    form->GetFont()->SetStyle({fsBold, fsUnderline});
    auto* bar = Control(form, "Bar", form);
    bar->SetAlign(alLeft);
    bar->SetOptions({toButtons});
    bar->SetColor(0x00FF00);
    auto* sheet1 = Control(form, "Sheet1", bar);
    sheet1->SetCaption(std::string("Mail\r\n'quoted'\x01") + std::string(300, 'x'));
    auto* list = Control(form, "Button1", sheet1);
    list->GetItems()->Entries = {{"Mail", 0, 0, true}, {"Notes", 1, 5, false}};
    list->GetLines()->Add("one");
    list->GetLines()->Add("");
    list->SetOnClick(TNotifyEvent(form, &TTestForm::ButtonClick));
    list->Data = std::string("\x00\x01\xFF", 3) + std::string(70, '\x7F');
    list->SetTag(-70000);
    auto* p1 = static_cast<TTestPanel*>(list->GetPanels()->Add());
    p1->SetText("Ready");
    list->GetPanels()->Add();
    auto* sheet2 = Control(form, "Sheet2", bar);
    sheet2->SetVisible(false);
    sheet2->SetLeft(1 << 20);
    sheet2->SetBuddy(list); // a reference to a component read earlier
    bar->SetBuddy(sheet2);  // and to one read later
    Control(form, "Loose", nullptr)->SetColor(clTestBtnFace);
    return form;
}

} // namespace

class StreamRoundTrip : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
};

TEST_F(StreamRoundTrip, TreeReadsBackEqual)
{
    FormPtr original(BuildForm());
    const std::string binary = WriteBinary(original.get());
    FormPtr copy(ReadRoot(binary));
    auto* form = dynamic_cast<TTestForm*>(copy.get());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->GetName(), "Form1");
    EXPECT_EQ(form->GetCaption(), "Launchdeck");
    EXPECT_EQ(form->GetFont()->GetHeight(), -13);
    EXPECT_EQ(form->GetFont()->GetStyle(), (TTestFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(form->GetFont()->GetName(), "MS Sans Serif");
    ASSERT_EQ(form->ComponentCount(), 5);

    auto* bar = dynamic_cast<TTestControl*>(form->FindComponent("Bar"));
    auto* sheet1 = dynamic_cast<TTestControl*>(form->FindComponent("Sheet1"));
    auto* sheet2 = dynamic_cast<TTestControl*>(form->FindComponent("Sheet2"));
    auto* list = dynamic_cast<TTestControl*>(form->FindComponent("Button1"));
    auto* loose = dynamic_cast<TTestControl*>(form->FindComponent("Loose"));
    ASSERT_TRUE(bar && sheet1 && sheet2 && list && loose);
    // Owners, parents and child order.
    for (Integer i = 0; i < form->ComponentCount(); ++i)
        EXPECT_EQ(form->Components(i)->Owner(), form);
    EXPECT_EQ(bar->GetParent(), form);
    EXPECT_EQ(bar->Children, (std::vector<TTestControl*>{sheet1, sheet2}));
    EXPECT_EQ(list->GetParent(), sheet1);
    EXPECT_EQ(loose->GetParent(), form); // read as a child of the form, as a control would be
    // Values.
    EXPECT_EQ(bar->GetAlign(), alLeft);
    EXPECT_EQ(bar->GetOptions(), TTestOptions{toButtons});
    EXPECT_EQ(bar->GetColor(), 0x00FF00);
    EXPECT_EQ(sheet1->GetCaption(), std::string("Mail\r\n'quoted'\x01") + std::string(300, 'x'));
    EXPECT_FALSE(sheet2->GetVisible());
    EXPECT_EQ(sheet2->GetLeft(), 1 << 20);
    EXPECT_EQ(list->GetTag(), -70000);
    EXPECT_EQ(list->GetItems()->Entries, (std::vector<TTestEntry>{{"Mail", 0, 0, true}, {"Notes", 1, 5, false}}));
    ASSERT_EQ(list->GetLines()->Count(), 2);
    EXPECT_EQ(list->GetLines()->Strings(0), "one");
    EXPECT_EQ(list->Data, std::string("\x00\x01\xFF", 3) + std::string(70, '\x7F'));
    ASSERT_EQ(list->GetPanels()->Count(), 2);
    EXPECT_EQ(static_cast<TTestPanel*>(list->GetPanels()->Items(0))->GetText(), "Ready");
    // References both ways, resolved before Loaded.
    EXPECT_EQ(sheet2->GetBuddy(), list);
    EXPECT_EQ(bar->GetBuddy(), sheet2);
    EXPECT_TRUE(bar->LoadedSawBuddy);
    for (Integer i = 0; i < form->ComponentCount(); ++i) {
        auto* c = static_cast<TTestControl*>(form->Components(i));
        EXPECT_EQ(c->LoadedCount, 1) << c->GetName();
        EXPECT_FALSE(c->ComponentState().Contains(csLoading));
        EXPECT_FALSE(c->ComponentState().Contains(csReading));
    }
    // The handler is bound to the new form by name, and the field is set.
    EXPECT_EQ(list->GetOnClick().MethodName(), "ButtonClick");
    list->GetOnClick()(list);
    EXPECT_EQ(form->Clicks, (std::vector<TObject*>{list}));
    EXPECT_EQ(form->Button1, list);
    // Writing the copy gives the same bytes.
    EXPECT_EQ(WriteBinary(form), binary);
}

TEST_F(StreamRoundTrip, TextFormRoundTripsByteForByte)
{
    FormPtr original(BuildForm());
    const std::string binary = WriteBinary(original.get());
    const std::string text = BinaryToText(binary);
    EXPECT_EQ(TextToBinary(text), binary);
    FormPtr fromText(ReadRoot(text));
    EXPECT_EQ(WriteBinary(fromText.get()), binary);
}

TEST_F(StreamRoundTrip, DefaultsAreNotWrittenAndIdentsAreNames)
{
    FormPtr form(new TTestForm(nullptr));
    form->SetName("F");
    auto* c = Control(form.get(), "C", static_cast<TTestControl*>(form.get()));
    c->SetColor(clTestWindowText);
    c->SetLeft(200);
    const std::string text = BinaryToText(WriteBinary(form.get()));
    EXPECT_EQ(text, "object F: TTestForm\r\n"
                    "  Font.Color = clWindowText\r\n"
                    "  Font.Height = -11\r\n"
                    "  Font.Name = 'MS Sans Serif'\r\n"
                    "  Font.Style = []\r\n"
                    "  object C: TTestControl\r\n"
                    "    Left = 200\r\n"
                    "    Color = clWindowText\r\n"
                    "    Font.Color = clWindowText\r\n"
                    "    Font.Height = -11\r\n"
                    "    Font.Name = 'MS Sans Serif'\r\n"
                    "    Font.Style = []\r\n"
                    "  end\r\n"
                    "end\r\n");
    // Exact bytes of the child: 200 needs an Int16; an ident for the colour.
    const std::string binary = WriteBinary(form.get());
    const std::string child = std::string("\x0CTTestControl\x01" "C", 15) + "\x04Left" + std::string("\x03\xC8\x00", 3) +
                              "\x05" "Color" + "\x07\x0C" "clWindowText";
    EXPECT_NE(binary.find(child), std::string::npos);
}

TEST_F(StreamRoundTrip, ItemsStoredFormMatchesTheWorkedExample)
{
    FormPtr form(new TTestForm(nullptr));
    form->SetName("F");
    auto* list = Control(form.get(), "List", static_cast<TTestControl*>(form.get()));
    list->GetItems()->Entries = {{"Mail", 0, 0, true}, {"Notes", 1, 0, true}};
    const std::string text = BinaryToText(WriteBinary(form.get()));
    EXPECT_NE(text.find("    Items.Items = (\r\n"
                        "      '1.7'\r\n"
                        "      2\r\n"
                        "      'Mail'\r\n"
                        "      0\r\n"
                        "      0\r\n"
                        "      True\r\n"
                        "      'Notes'\r\n"
                        "      1\r\n"
                        "      0\r\n"
                        "      True)\r\n"),
              std::string::npos)
        << text;
    // An empty collection of items writes nothing.
    list->GetItems()->Entries.clear();
    EXPECT_EQ(BinaryToText(WriteBinary(form.get())).find("Items.Items"), std::string::npos);
}

TEST_F(StreamRoundTrip, ReadingIntoAnExistingRootKeepsItAndSetsFields)
{
    FormPtr original(BuildForm());
    const std::string binary = WriteBinary(original.get());
    TTestForm form(nullptr);
    TPointerStream stream(binary.data(), static_cast<Int64>(binary.size()));
    TReader reader(&stream);
    EXPECT_EQ(reader.ReadRootComponent(&form), &form);
    EXPECT_EQ(form.GetName(), "Form1");
    ASSERT_NE(form.Button1, nullptr);
    EXPECT_EQ(form.Button1->GetName(), "Button1");
    EXPECT_EQ(stream.GetPosition(), stream.GetSize());
}

TEST_F(StreamRoundTrip, SampleFormFileRoundTripsThroughText)
{
    TMemoryStream file;
    file.LoadFromFile(LD_SAMPLE_DIR "/Sample.dfm");
    const std::string data = file.DataString();
    ASSERT_EQ(DetectFormat(data), TStreamFormat::Resource);
    const std::string_view binary = StripResourceHeader(data);
    const std::string text = BinaryToText(binary);
    const std::string back = TextToBinary(text);
    EXPECT_EQ(ResourceHeader(RootClassName(back), static_cast<uint32_t>(back.size())) + back, data);
    EXPECT_NE(text.find("  Font.Height = -11\r\n"), std::string::npos);
    EXPECT_NE(text.find("OnShow = FormShow"), std::string::npos);
}
