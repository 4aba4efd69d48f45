// Forms and controls through stored forms: parents from the reader, the tab
// order stored, what a form stores (and what it leaves to its parent), a form
// class reading its own stored form, and bad stored forms.
#include <fstream>
#include <sstream>

#include "platform/core/ClassRegistry.h"
#include "platform/stream/Reader.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"
#include "tests/vcl/FormTestClasses.h"
#include "tests/vcl/VclTestSupport.h"

extern "C" ld::TClass TestModuleDialogClass();

namespace ld::test {
namespace {

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The text form of what WriteComponentToStream stores.
std::string StoredText(TComponent* root)
{
    TMemoryStream stored;
    WriteComponentToStream(&stored, root);
    stored.SetPosition(0);
    TMemoryStream text;
    ObjectResourceToText(&stored, &text);
    return text.DataString();
}

TForm* ReadNewForm(const std::string& data)
{
    auto* form = new TForm(nullptr);
    TStringStream stream(data);
    try {
        ReadComponentFromStream(&stream, form);
    } catch (...) {
        form->Free();
        throw;
    }
    return form;
}

std::string Names(const std::vector<TWinControl*>& list)
{
    std::string s;
    for (TWinControl* c : list)
        s += (s.empty() ? "" : " ") + c->GetName();
    return s;
}

class FormStreamTest : public VclTest {
protected:
    void SetUp() override
    {
        VclTest::SetUp();
        RegisterFormTestClasses();
    }
};

TEST_F(FormStreamTest, ControlsReadBackGetTheirParentsAndTheirStoredTabOrder)
{
    auto* source = new TForm(nullptr);
    source->SetName("Source");
    auto* box = new TTestBox(source);
    box->SetName("Box");
    box->SetBounds(10, 10, 200, 100);
    box->SetParent(source);
    TTestBox* inner[3];
    for (int i = 0; i < 3; ++i) {
        inner[i] = new TTestBox(source);
        inner[i]->SetName("Inner" + std::to_string(i));
        inner[i]->SetBounds(5, 5 + 30 * i, 50, 25);
        inner[i]->SetParent(box);
    }
    // Tab order against the order of creation: 2, 0, 1.
    inner[2]->SetTabOrder(0);
    inner[1]->SetTabOrder(2);
    const std::string text = StoredText(source);
    source->Free();

    TForm* form = ReadNewForm(text);
    auto* readBox = dynamic_cast<TTestBox*>(form->FindComponent("Box"));
    ASSERT_NE(readBox, nullptr);
    EXPECT_EQ(readBox->GetParent(), form);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(dynamic_cast<TControl*>(form->FindComponent("Inner" + std::to_string(i)))->GetParent(), readBox);
    std::vector<TWinControl*> order;
    readBox->GetTabOrderList(order);
    EXPECT_EQ(Names(order), "Inner2 Inner0 Inner1");
    EXPECT_EQ(StoredText(form), text);
    form->Free();
}

TEST_F(FormStreamTest, StoredTabOrdersAreSortedOnceAllSiblingsAreRead)
{
    // Stored in the order C, B, A with tab orders 0, 1, 2 reversed by the text.
    const std::string text = "object F: TForm\r\n"
                             "  object A: TTestBox\r\n    TabOrder = 2\r\n  end\r\n"
                             "  object B: TTestBox\r\n    TabOrder = 1\r\n  end\r\n"
                             "  object C: TTestBox\r\n    TabOrder = 0\r\n  end\r\n"
                             "end\r\n";
    TForm* form = ReadNewForm(text);
    std::vector<TWinControl*> order;
    form->GetTabOrderList(order);
    EXPECT_EQ(Names(order), "C B A");
    form->Free();
}

TEST_F(FormStreamTest, ValuesTakenFromTheParentAreNotStored)
{
    auto* box = new TTestBox(Form);
    box->SetName("Box");
    box->SetParent(Form);
    auto* child = new TTestBox(Form);
    child->SetName("Child");
    child->SetParent(box);
    box->SetShowHint(true);
    box->SetCtl3D(false);
    box->SetColor(clYellow);
    EXPECT_TRUE(child->GetShowHint());
    EXPECT_FALSE(child->GetCtl3D());
    const std::string text = StoredText(Form);
    const std::string childText = text.substr(text.find("object Child"));
    EXPECT_EQ(childText.find("ShowHint"), std::string::npos) << childText;
    EXPECT_EQ(childText.find("Ctl3D"), std::string::npos) << childText;
    EXPECT_EQ(childText.find("Color"), std::string::npos) << childText;
    const std::string boxText = text.substr(text.find("object Box"));
    EXPECT_NE(boxText.find("Color = clYellow"), std::string::npos) << boxText;
    EXPECT_NE(boxText.find("Ctl3D = False"), std::string::npos) << boxText;
    EXPECT_NE(boxText.find("ShowHint = True"), std::string::npos) << boxText;

    TForm* read = ReadNewForm(text);
    auto* readChild = dynamic_cast<TTestBox*>(read->FindComponent("Child"));
    ASSERT_NE(readChild, nullptr);
    EXPECT_TRUE(readChild->GetParentShowHint());
    EXPECT_TRUE(readChild->GetParentCtl3D());
    EXPECT_TRUE(readChild->GetParentColor());
    EXPECT_TRUE(readChild->GetShowHint());
    EXPECT_FALSE(readChild->GetCtl3D());
    EXPECT_EQ(readChild->GetColor(), clYellow);
    read->Free();
}

TEST_F(FormStreamTest, AControlMadeFromItsClassRecordStillForgetsAFreedPopupMenu)
{
    // Made as the reader makes them: such a control hears only of what it watches.
    auto* box = static_cast<TTestBox*>(CreateComponent(TTestBox::StaticClass(), Form));
    auto* menu = new TPopupMenu(Form);
    auto* other = new TPopupMenu(nullptr);
    box->SetPopupMenu(menu);
    menu->Free();
    EXPECT_EQ(box->GetPopupMenu(), nullptr);
    box->SetPopupMenu(other);
    other->Free();
    EXPECT_EQ(box->GetPopupMenu(), nullptr);
    box->Free();
}

TEST_F(FormStreamTest, HandingAControlAnEqualFontIsNoChange)
{
    TProbe* probe = AddProbe("P", Bounds(0, 0, 10, 10));
    ClearEvents();
    auto* other = new TForm(nullptr);
    probe->SetParent(other);
    EXPECT_EQ(Events(), std::vector<std::string>{"P.ParentFontChanged"}) << "the same font came with the new parent";
    ClearEvents();
    other->GetFont()->SetHeight(-20);
    EXPECT_EQ(Events(), (std::vector<std::string>{"P.ParentFontChanged", "P.FontChanged"}));
    EXPECT_TRUE(probe->GetParentFont());
    probe->SetParent(Form);
    delete other;
}

TEST_F(FormStreamTest, AFormStoresWhatTheHostStores)
{
    auto* dialog = new TForm(nullptr);
    dialog->SetName("Dialog");
    dialog->SetBounds(301, 300, 300, 200);
    dialog->SetBorderStyle(bsDialog);
    dialog->SetClientWidth(403);
    dialog->SetClientHeight(189);
    dialog->SetCaption("D");
    dialog->SetPosition(poScreenCenter);
    EXPECT_EQ(dialog->GetClientWidth(), 403);
    const std::string expected = "object Dialog: TForm\r\n"
                                 "  Left = 301\r\n"
                                 "  Top = 300\r\n"
                                 "  BorderStyle = bsDialog\r\n"
                                 "  Caption = 'D'\r\n"
                                 "  ClientHeight = 189\r\n"
                                 "  ClientWidth = 403\r\n"
                                 "  Color = clBtnFace\r\n"
                                 "  Font.Charset = DEFAULT_CHARSET\r\n"
                                 "  Font.Color = clWindowText\r\n"
                                 "  Font.Height = -11\r\n"
                                 "  Font.Name = 'MS Sans Serif'\r\n"
                                 "  Font.Style = []\r\n"
                                 "  OldCreateOrder = False\r\n"
                                 "  Position = poScreenCenter\r\n"
                                 "  PixelsPerInch = 96\r\n"
                                 "  TextHeight = 13\r\n" // a digit of the default font, as in the host
                                 "end\r\n";
    EXPECT_EQ(StoredText(dialog), expected);
    // A sizeable form keeps its outer size, unless it does not scroll.
    dialog->SetBorderStyle(bsSizeable);
    std::string text = StoredText(dialog);
    EXPECT_NE(text.find("  Width = "), std::string::npos);
    EXPECT_EQ(text.find("ClientWidth"), std::string::npos);
    EXPECT_EQ(text.find("AutoScroll"), std::string::npos);
    dialog->SetAutoScroll(false);
    text = StoredText(dialog);
    EXPECT_NE(text.find("  AutoScroll = False\r\n"), std::string::npos);
    EXPECT_NE(text.find("  ClientWidth = "), std::string::npos);
    EXPECT_EQ(text.find("  Width = "), std::string::npos);
    dialog->Free();
}

TEST_F(FormStreamTest, AFormClassReadsItsOwnStoredFormThenRunsOnCreate)
{
    TTestDialog::Destroyed = 0;
    auto* dialog = static_cast<TTestDialog*>(CreateComponent(TTestDialog::StaticClass(), nullptr));
    EXPECT_TRUE(dialog->CreateSawFields);
    EXPECT_EQ(dialog->GetName(), "TestDialog");
    EXPECT_EQ(dialog->GetCaption(), "Test Dialog");
    EXPECT_EQ(dialog->GetBorderStyle(), bsDialog);
    EXPECT_EQ(dialog->GetClientWidth(), 403);
    EXPECT_EQ(dialog->GetClientHeight(), 189);
    ASSERT_NE(dialog->Ok, nullptr);
    EXPECT_EQ(dialog->Ok->GetParent(), dialog);
    EXPECT_EQ(dialog->First->GetParent(), dialog->Group);
    EXPECT_TRUE(dialog->Ok->GetDefault());
    EXPECT_EQ(dialog->Cancel->GetModalResult(), mrCancel);
    dialog->Ok->Click();
    EXPECT_EQ(dialog->OkClicks, 1);
    std::vector<TWinControl*> order;
    dialog->GetTabOrderList(order);
    EXPECT_EQ(Names(order), "Ok Cancel Group First Second");
    // It writes back exactly what it was read from.
    EXPECT_EQ(StoredText(dialog), FileText(LD_VCL_RESOURCES "/TestDialog.dfm"));
    // Removing a control clears its field.
    dialog->Second->Free();
    EXPECT_EQ(dialog->Second, nullptr);
    dialog->Free();
    EXPECT_EQ(TTestDialog::Destroyed, 1);

    // The application's CreateForm makes it the same way.
    TCustomForm* main = Application->GetMainForm();
    auto* made = Application->CreateForm<TTestDialog>();
    EXPECT_TRUE(made->CreateSawFields);
    EXPECT_EQ(made->Owner(), Application);
    Application->SetMainForm(main);
    made->Free();
    // A plain new builds the class without its stored form.
    auto* bare = new TTestDialog(nullptr);
    EXPECT_EQ(bare->ComponentCount(), 0);
    delete bare;
}

TEST_F(FormStreamTest, AFormStoredVisibleShowsOnceReadAndShowAndShowModalStillWork)
{
    // Made from its class: the stored Visible shows it once OnCreate has run.
    auto* made = static_cast<TTestShownForm*>(CreateComponent(TTestShownForm::StaticClass(), nullptr));
    Backend->RunUntilIdle();
    EXPECT_EQ(made->Steps, (std::vector<std::string>{"create", "show"}));
    EXPECT_TRUE(made->GetVisible());
    EXPECT_TRUE(IsWindowVisible(made->GetHandle()));
    EXPECT_EQ(Screen->GetActiveForm(), made);
    // On the screen it cannot become modal; Show on it brings it to the front.
    EXPECT_THROW(made->ShowModal(), EInvalidOperation);
    Form->BringToFront();
    ASSERT_NE(GetWindow(GetDesktopWindow(), GW_CHILD), made->GetHandle());
    made->Show();
    EXPECT_EQ(GetWindow(GetDesktopWindow(), GW_CHILD), made->GetHandle());
    made->Free();

    // Read into a form from its text: shown once read. Hidden, it runs modal.
    TForm* read = ReadNewForm("object Stored: TForm\r\n  Caption = 'Stored'\r\n  Visible = True\r\nend\r\n");
    Backend->RunUntilIdle();
    EXPECT_TRUE(IsWindowVisible(read->GetHandle()));
    read->Hide();
    bool shownWhileModal = false;
    Backend->Script([&] {
        shownWhileModal = IsWindowVisible(read->GetHandle());
        read->SetModalResult(mrOk);
    });
    EXPECT_EQ(read->ShowModal(), mrOk);
    EXPECT_TRUE(shownWhileModal);
    read->Free();
}

TEST_F(FormStreamTest, AFormClassReadsTheStoredFormOfTheModuleThatHoldsIt)
{
    TComponent* dialog = CreateComponent(TestModuleDialogClass(), nullptr);
    EXPECT_EQ(static_cast<TForm*>(dialog)->GetCaption(), "From the module");
    EXPECT_NE(dialog->FindComponent("Panel"), nullptr);
    dialog->Free();
}

TEST_F(FormStreamTest, AFormClassWithABadOrMissingStoredFormIsNotMade)
{
    try {
        CreateComponent(TTestBrokenDialog::StaticClass(), nullptr);
        FAIL() << "no error";
    } catch (const EReadError& e) {
        EXPECT_NE(e.Message().find("Colour"), std::string::npos) << e.Message();
        EXPECT_NE(e.Message().find("at byte"), std::string::npos) << e.Message();
    }
    EXPECT_THROW(CreateComponent(TTestBareForm::StaticClass(), nullptr), EResNotFound);
    EXPECT_EQ(Screen->GetFormCount(), 1);
}

TEST_F(FormStreamTest, AnUnknownPropertyOrClassNamesItsLineAndLeavesNothingBehind)
{
    const std::string text = FileText(LD_VCL_RESOURCES "/TestDialog.dfm");
    auto failure = [&](const std::string& from, const std::string& to) {
        std::string bad = text;
        bad.replace(bad.find(from), from.size(), to);
        auto* dialog = new TTestDialog(nullptr);
        std::string message = "no error";
        try {
            TStringStream stream(bad);
            ReadComponentFromStream(&stream, dialog);
        } catch (const EReadError& e) {
            message = e.Message();
        }
        // What was read before the failure is the dialog's and goes with it.
        dialog->Free();
        return message;
    };
    const std::string property = failure("Default = True", "Defolt = True");
    EXPECT_NE(property.find("Error reading Ok.Defolt: Property Defolt does not exist (on line 50)"), std::string::npos)
        << property;
    const std::string cls = failure("Cancel: TTestButton", "Cancel: TNoButton");
    EXPECT_EQ(cls, "Class TNoButton not found (on line 55)");
    const std::string nested = failure("First: TTestBox", "First: TNoBox");
    EXPECT_EQ(nested, "Class TNoBox not found (on line 35)");
    EXPECT_EQ(Screen->GetFormCount(), 1);
}

} // namespace
} // namespace ld::test

namespace ld::test {
namespace {

// A form of many controls, in groups, stored and read into a new form with
// every window made: each control in its place and in its tab order.
void MakeManyControls(TForm* form, Integer groups, Integer each)
{
    for (Integer g = 0; g < groups; ++g) {
        auto* group = new TTestBox(form);
        group->SetName("G" + std::to_string(g));
        group->SetBounds(4 * g, 0, 100, 100);
        group->SetParent(form);
        for (Integer i = 0; i < each; ++i) {
            auto* box = new TTestBox(form);
            box->SetName("B" + std::to_string(g) + "_" + std::to_string(i));
            box->SetBounds(0, i, 10, 10);
            box->SetTabStop(true);
            box->SetParent(group);
            box->SetTabOrder(0); // reversed against the stored order
        }
    }
}

TEST_F(FormStreamTest, AFormOfManyControlsReadsBackWhole)
{
    const Integer groups = 40, each = 50;
    auto* source = new TForm(nullptr);
    source->SetName("Many");
    MakeManyControls(source, groups, each);
    TMemoryStream stored;
    WriteComponentToStream(&stored, source);
    source->Free();

    stored.SetPosition(0);
    auto* form = new TForm(nullptr);
    ReadComponentFromStream(&stored, form);
    form->Show();
    ASSERT_EQ(form->ComponentCount(), groups * (each + 1));
    for (Integer g = 0; g < groups; g += 13) {
        auto* group = dynamic_cast<TTestBox*>(form->FindComponent("G" + std::to_string(g)));
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->GetParent(), form);
        EXPECT_EQ(group->GetTabOrder(), g);
        ASSERT_EQ(group->GetControlCount(), each);
        for (Integer i = 0; i < each; i += 7) {
            auto* box = dynamic_cast<TTestBox*>(form->FindComponent("B" + std::to_string(g) + "_" + std::to_string(i)));
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->GetParent(), group);
            EXPECT_EQ(box->GetTabOrder(), each - 1 - i);
            EXPECT_TRUE(box->HandleAllocated());
        }
    }
    form->Free();
}

} // namespace
} // namespace ld::test
