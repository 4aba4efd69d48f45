// Editing an item's caption in place through real keys: where the editor goes
// in each style, what applies and what drops the text, one editor at a time,
// and the edited item leaving its collection before the editor's message.
#include "tests/list/ListTestSupport.h"

#include "controls/shared/ShortcutEdit.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/win/MessageQueue.h"

namespace ld::test {
namespace {

class ListEditTest : public ListTest {
protected:
    TShortcutList* EditList(TShortcutStyle style)
    {
        TShortcutList* list = AddBarList({soAnimatedSheets});
        list->SetStyle(style);
        AddItems(list, {"Mail", "Notes", "Calendar"});
        Other = new TEdit(Form);
        Other->SetBounds(250, 10, 100, 21);
        Other->SetParent(Form);
        Backend->RunUntilIdle();
        return list;
    }
    void Type(const std::string& text)
    {
        Backend->Type(text);
        Backend->RunUntilIdle();
    }
    void Key(Integer vk)
    {
        Backend->Key(vk);
        Backend->RunUntilIdle();
    }
    TShortcutItem* Item(TShortcutList* list, Integer i) { return list->GetItems()->GetItem(i); }
    TEdit* Other = nullptr;
};

TEST_F(ListEditTest, TheEditorCoversTheCaptionInEachStyle)
{
    for (const TShortcutStyle style : {ssLargeImages, ssSmallImages}) {
        TShortcutList* list = EditList(style);
        Item(list, 1)->EditCaption();
        TShortcutEdit* edit = list->GetCaptionEdit();
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->GetText(), "Notes");
        EXPECT_TRUE(edit->Focused());
        const TRect text = list->GetTextRect(Item(list, 1));
        const TRect bounds = edit->GetBoundsRect();
        EXPECT_EQ(bounds.Left, style == ssLargeImages ? 0 : text.Left);
        EXPECT_EQ(bounds.Right, list->GetClientWidth());
        EXPECT_EQ(bounds.Top, text.Top - 2);
        EXPECT_EQ(bounds.Bottom, text.Bottom + 2);

        list->EditCaption(Item(list, 2));
        EXPECT_EQ(list->GetCaptionEdit(), edit) << "a second editor while one is open";
        EXPECT_EQ(list->GetEditItem(), Item(list, 1));
        Key(VK_ESCAPE);
        delete list->GetParent()->GetParent();
        delete Other;
    }
}

TEST_F(ListEditTest, ReturnAppliesEscapeDropsFocusLossApplies)
{
    TShortcutList* list = EditList(ssLargeImages);
    list->EditCaption(Item(list, 0));
    Key(VK_END);
    Type("box");
    Key(VK_RETURN);
    EXPECT_EQ(list->GetCaptionEdit(), nullptr);
    EXPECT_EQ(Item(list, 0)->GetCaption(), "Mailbox");

    list->EditCaption(Item(list, 1));
    Type("X");
    Key(VK_ESCAPE);
    EXPECT_EQ(list->GetCaptionEdit(), nullptr);
    EXPECT_EQ(Item(list, 1)->GetCaption(), "Notes");

    list->EditCaption(Item(list, 2));
    Type("My ");
    Other->SetFocus();
    Backend->RunUntilIdle();
    EXPECT_EQ(list->GetCaptionEdit(), nullptr);
    EXPECT_EQ(Item(list, 2)->GetCaption(), "My Calendar");
}

TEST_F(ListEditTest, ReturnAndEscapeEndTheEditorAndClickNoButton)
{
    TShortcutList* list = EditList(ssSmallImages);
    AddDialogButtons();
    list->EditCaption(Item(list, 0));
    Type("Dropped ");
    Key(VK_ESCAPE);
    EXPECT_EQ(list->GetCaptionEdit(), nullptr);
    Other->SetFocus();
    Backend->RunUntilIdle();
    EXPECT_EQ(Item(list, 0)->GetCaption(), "Mail") << "Escape dropped the text for good";

    list->EditCaption(Item(list, 2));
    Type("My ");
    Key(VK_RETURN);
    EXPECT_EQ(list->GetCaptionEdit(), nullptr);
    EXPECT_EQ(Item(list, 2)->GetCaption(), "My Calendar");
    EXPECT_TRUE(Clicks.empty());
}

TEST_F(ListEditTest, AnItemThatLeavesWhileEditedTakesItsEditorAlong)
{
    TShortcutList* list = EditList(ssLargeImages);
    list->EditCaption(Item(list, 1));
    TShortcutEdit* edit = list->GetCaptionEdit();
    Type("Gone");
    // The editor's message is already on its way when the item goes.
    edit->Finished(true);
    delete Item(list, 1);
    EXPECT_EQ(list->GetCaptionEdit(), nullptr);
    EXPECT_EQ(list->GetEditItem(), nullptr);
    Backend->RunUntilIdle();
    ASSERT_EQ(list->GetItems()->GetCount(), 2);
    EXPECT_EQ(Item(list, 0)->GetCaption(), "Mail");
    EXPECT_EQ(Item(list, 1)->GetCaption(), "Calendar");

    // A message naming no current editor changes nothing.
    list->EditCaption(Item(list, 0));
    int stranger = 0;
    SendMessage(list->GetHandle(), SEM_FINISHED, 1, reinterpret_cast<LPARAM>(&stranger));
    EXPECT_NE(list->GetCaptionEdit(), nullptr);
    EXPECT_EQ(Item(list, 0)->GetCaption(), "Mail");
}

} // namespace
} // namespace ld::test
