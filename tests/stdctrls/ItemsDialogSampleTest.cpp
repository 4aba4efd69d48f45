// The sample form in the items dialog's layout, as it lies in apps/samples:
// read from its text form, bound to its form class, written back byte for
// byte in both forms, and shown modal, closed by Enter, Escape and buttons.
#include <filesystem>

#include "apps/samples/ItemsDialogSample.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Stream.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"
#include "tests/stdctrls/StdCtrlsTestSupport.h"

namespace ld::test {
namespace {

using samples::TItemsDialogSample;

std::string Binary(TComponent* root)
{
    TMemoryStream stream;
    WriteComponentToStream(&stream, root);
    std::string_view raw(reinterpret_cast<const char*>(stream.Memory()), size_t(stream.GetSize()));
    return std::string(StripResourceHeader(raw));
}

class ItemsDialogSampleTest : public StdCtrlsTest {
protected:
    void SetUp() override
    {
        StdCtrlsTest::SetUp();
        Text = samples::ItemsDialogText();
        Dialog = samples::LoadItemsDialog(nullptr, Text);
    }
    void TearDown() override
    {
        FreeObject(Dialog);
        StdCtrlsTest::TearDown();
    }
    // Queues a step for the modal loop, one step per wait.
    void Then(std::function<void()> step) { Backend->Script(std::move(step)); }
    void ThenClick(TControl* c)
    {
        Then([this, c] {
            TPoint p = c->ClientToScreen({c->GetWidth() / 2, c->GetHeight() / 2});
            Backend->Click(p.X, p.Y);
        });
    }
    Integer CountOf(const std::string& handler) const
    {
        return Integer(std::count(Dialog->Calls.begin(), Dialog->Calls.end(), handler));
    }

    std::string Text;
    TItemsDialogSample* Dialog = nullptr;
};

TEST_F(ItemsDialogSampleTest, ReadsIntoItsFieldsAndHandlersAndWritesBackByteForByte)
{
    TItemsDialogSample* d = Dialog;
    for (TComponent* c : std::initializer_list<TComponent*>{
             d->gbItems, d->gbProperties, d->tvItems, d->btNewItem, d->btDelete, d->Label1, d->Label2, d->etImageIndex,
             d->etCaption, d->btOK, d->btCancel, d->btApply, d->Label3, d->etTag, d->Label4, d->cbEnabled})
        ASSERT_NE(c, nullptr);
    EXPECT_EQ(d->tvItems->GetParent(), d->gbItems);
    EXPECT_EQ(d->btDelete->GetParent(), d->gbItems);
    EXPECT_EQ(d->cbEnabled->GetParent(), d->gbProperties);
    EXPECT_EQ(d->btApply->GetParent(), d);
    EXPECT_EQ(d->GetClientWidth(), 403);
    EXPECT_EQ(d->GetClientHeight(), 189);
    EXPECT_EQ(d->GetCaption(), "ShortcutList Items Editor");
    EXPECT_EQ(d->cbEnabled->GetItems()->Count(), 2);
    EXPECT_EQ(d->cbEnabled->GetItemIndex(), -1);
    EXPECT_FALSE(d->etCaption->GetEnabled());
    EXPECT_TRUE(d->cbEnabled->GetEnabled());
    EXPECT_TRUE(d->tvItems->GetReadOnly());
    // OK and Apply are bound to the one handler.
    EXPECT_EQ(d->btApply->GetOnClick(), d->btOK->GetOnClick());

    const std::string binary = TextToBinary(Text);
    EXPECT_EQ(Binary(d), binary);
    EXPECT_EQ(BinaryToText(Binary(d)), Text);
    // The binary form reads into the same dialog.
    TItemsDialogSample* fromBinary = samples::LoadItemsDialog(nullptr, binary);
    EXPECT_EQ(Binary(fromBinary), binary);
    FreeObject(fromBinary);
}

TEST_F(ItemsDialogSampleTest, EnterClicksNewItemUnlessTheFocusIsOnAnotherButton)
{
    TWinControl* focusAtStart = nullptr;
    bool stillOpen = false;
    Then([&] {
        focusAtStart = FindControl(GetFocus());
        Backend->SaveScreenshot(OutputPath("items-dialog-sample.png"));
        Backend->Key(VK_RETURN);
    });
    Then([&] {
        stillOpen = Dialog->GetVisible();
        Dialog->btOK->SetFocus();
    });
    Then([&] { Backend->Key(VK_RETURN); });
    EXPECT_EQ(Dialog->ShowModal(), mrOk);
    EXPECT_TRUE(Backend->ScriptDone());
    EXPECT_EQ(focusAtStart, Dialog->tvItems);  // the first in tab order
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(CountOf("FormShow"), 1);
    EXPECT_EQ(CountOf("btNewItemClick"), 1);
    EXPECT_EQ(CountOf("btOKClick"), 1);
    EXPECT_FALSE(Dialog->GetVisible());
}

TEST_F(ItemsDialogSampleTest, EscapeCancelsAndApplyKeepsItOpenUntilCancelOrOk)
{
    Then([&] { Backend->Key(VK_ESCAPE); });
    EXPECT_EQ(Dialog->ShowModal(), mrCancel);
    EXPECT_EQ(CountOf("btOKClick"), 0);

    bool openAfterApply = false;
    ThenClick(Dialog->btApply);
    Then([&] { openAfterApply = Dialog->GetVisible(); });
    ThenClick(Dialog->btCancel);
    EXPECT_EQ(Dialog->ShowModal(), mrCancel);
    EXPECT_TRUE(openAfterApply);
    EXPECT_EQ(CountOf("btOKClick"), 1);

    ThenClick(Dialog->btOK);
    EXPECT_EQ(Dialog->ShowModal(), mrOk);
    EXPECT_EQ(CountOf("btOKClick"), 2);
    EXPECT_EQ(CountOf("FormShow"), 3);
    EXPECT_TRUE(Backend->ScriptDone());
}

TEST_F(ItemsDialogSampleTest, TabWalksTheStoredTabOrderPastTheDisabledEditsAndAltKeysReachTheirControls)
{
    // Each step notes where the focus is, then presses the next key: input
    // is handled once the step is over.
    std::vector<std::string> seen;
    auto noteThen = [&](std::function<void()> press) {
        Then([&, press] {
            TWinControl* c = FindControl(GetFocus());
            seen.push_back(c ? c->GetName() : "none");
            press();
        });
    };
    for (int i = 0; i < 7; ++i)
        noteThen([&] { Backend->Key(VK_TAB); });
    // Alt+P: the group box gives the focus to its first child that takes it.
    noteThen([&] { Backend->KeyWith(VK_MENU, 'P'); });
    // Alt+N clicks New Item and leaves the focus where it was.
    noteThen([&] { Backend->KeyWith(VK_MENU, 'N'); });
    noteThen([&] { Backend->Key(VK_ESCAPE); });
    EXPECT_EQ(Dialog->ShowModal(), mrCancel);
    const std::vector<std::string> expected = {"tvItems", "btNewItem", "btDelete", "cbEnabled", "btOK",
                                               "btCancel", "btApply", "tvItems", "cbEnabled", "cbEnabled"};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(CountOf("btNewItemClick"), 1);
}

TEST_F(ItemsDialogSampleTest, KeysTypedBeforeTheDialogOpensReachIt)
{
    // A button behind that opens the dialog; the click and the keys after it
    // are all waiting before the click is handled, as when a person types ahead.
    auto* opener = new TButton(Form);
    opener->SetBounds(10, 10, 80, 25);
    opener->SetParent(Form);
    TModalResult result = mrNone;
    opener->SetOnClick(TNotifyEvent::Lambda([&](TObject*) { result = Dialog->ShowModal(); }));
    Backend->RunUntilIdle();
    bool waited = false;
    // Should the keys go astray, the dialog's loop waits: close it to tell.
    Then([&] {
        waited = true;
        Dialog->SetModalResult(mrAbort);
    });
    TPoint at = opener->ClientToScreen({40, 12});
    Backend->Click(at.X, at.Y);
    Backend->Key(VK_TAB);     // to New Item
    Backend->Key(VK_TAB);     // to Delete
    Backend->Key(VK_SPACE);   // clicks it
    Backend->Key(VK_ESCAPE);  // closes the dialog
    Backend->RunUntilIdle();
    EXPECT_FALSE(waited);
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(CountOf("btDeleteClick"), 1);
}

TEST_F(ItemsDialogSampleTest, ShownItIsCentredAndAStoredFormThatNamesAnUnknownHandlerIsRefused)
{
    Dialog->Show();
    Backend->RunUntilIdle();
    // Stored at 301, 300; the centring wins.
    TRect r = Dialog->GetBoundsRect();
    const Integer screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(r.Left, (screenW - (r.Right - r.Left)) / 2);
    EXPECT_EQ(r.Top, (screenH - (r.Bottom - r.Top)) / 2);

    std::string broken = Text;
    const std::string handler = "OnClick = btDeleteClick";
    broken.replace(broken.find(handler), handler.size(), "OnClick = btRemoveClick");
    try {
        FreeObject(samples::LoadItemsDialog(nullptr, broken));
        ADD_FAILURE() << "bound a handler the class does not publish";
    } catch (const EReadError& e) {
        EXPECT_NE(std::string(e.what()).find("btRemoveClick"), std::string::npos) << e.what();
    }
}

} // namespace
} // namespace ld::test
