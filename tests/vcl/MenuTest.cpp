// Popup menus from the keyboard: the arrows go round the items that can be
// chosen, Home and End go to the ends, Return chooses, Escape closes, and an
// underlined letter chooses its item or moves among the items that share it.
#include "tests/vcl/VclTestSupport.h"

namespace ld::test {
namespace {

class MenuTest : public VclTest {
protected:
    void SetUp() override
    {
        VclTest::SetUp();
        Menu = new TPopupMenu(Form);
        for (const char* caption : {"&Open", "-", "&Print", "P&roperties", "&Close", "&Copy"}) {
            auto* item = new TMenuItem(Menu);
            item->SetCaption(caption);
            item->SetOnClick(TNotifyEvent::Lambda([this, item](TObject*) { Chosen.push_back(item->GetCaption()); }));
            Menu->GetItems()->Add(item);
        }
        Menu->GetItems()->GetItem(2)->SetEnabled(false);
    }
    // Opens the menu, presses Keys one by one while it is open, and says
    // which item was chosen ("" for none).
    std::string Choose(const std::vector<Word>& keys)
    {
        Chosen.clear();
        for (Word key : keys)
            Backend->Script([this, key] { Backend->Key(key); });
        Menu->Popup(150, 150);
        EXPECT_TRUE(Backend->ScriptDone()) << "the menu closed before the last key";
        EXPECT_EQ(Menu->GetWindowHandle(), nullptr);
        EXPECT_LE(Chosen.size(), 1u);
        return Chosen.empty() ? std::string() : Chosen.front();
    }

    TPopupMenu* Menu = nullptr;
    std::vector<std::string> Chosen;
};

TEST_F(MenuTest, KeysMoveTheHighlightAndChooseAsTheWindowSystemsMenusDo)
{
    EXPECT_EQ(Choose({VK_DOWN, VK_DOWN, VK_RETURN}), "P&roperties") << "past the line and the disabled item";
    EXPECT_EQ(Choose({VK_UP, VK_RETURN}), "&Copy") << "Up with nothing highlighted goes to the last item";
    EXPECT_EQ(Choose({VK_END, VK_DOWN, VK_RETURN}), "&Open") << "round from the end";
    EXPECT_EQ(Choose({VK_HOME, VK_UP, VK_UP, VK_RETURN}), "&Close");
    EXPECT_EQ(Choose({'R'}), "P&roperties");
    EXPECT_EQ(Choose({'P', 'C', 'C', VK_RETURN}), "&Copy") << "a disabled item's letter does nothing; a shared one moves";
    EXPECT_EQ(Choose({VK_RETURN, VK_ESCAPE}), "") << "Return with nothing highlighted chooses nothing";
    EXPECT_EQ(Choose({VK_DOWN, VK_ESCAPE}), "");
}

} // namespace
} // namespace ld::test
