// What the window system tells a backend: the damaged screen areas, the
// tick count being read, and keys whose character the backend's layout gave.
#include <gtest/gtest.h>

#include "platform/backends/HeadlessBackend.h"
#include "platform/gfx/Gdi.h"
#include "platform/vcl/Forms.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/TickSource.h"

namespace ld {
namespace {

class TCountingBackend : public THeadlessBackend {
public:
    void TicksRead() override { ++Reads; }
    int Reads = 0;
};

class BackendHooksTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TickSource::UseSimulatedClock(0);
        FForm = new TForm(nullptr);
        FForm->SetBounds(10, 10, 200, 150);
        FForm->Show();
        FBackend.RunUntilIdle();
        TakeScreenDamage();
    }
    void TearDown() override
    {
        delete FForm;
        FBackend.RunUntilIdle();
        TickSource::UseMonotonicClock();
    }
    TCountingBackend FBackend;
    TForm* FForm = nullptr;
};

TEST_F(BackendHooksTest, DamageIsTheAreasDrawnAndADCStillHeldStaysDamaged)
{
    EXPECT_TRUE(TakeScreenDamage().empty());
    EXPECT_FALSE(HasScreenDamage());
    HWND h = FForm->GetHandle();
    RECT a{0, 0, 10, 10}, b{100, 100, 110, 110};
    InvalidateRect(h, &a, false);
    InvalidateRect(h, &b, false);
    UpdateWindow(h);
    std::vector<RECT> damage = TakeScreenDamage();
    // Two separate areas, not one box over both.
    Integer area = 0;
    for (const RECT& r : damage)
        area += r.Width() * r.Height();
    EXPECT_EQ(area, 2 * 10 * 10);
    EXPECT_TRUE(TakeScreenDamage().empty());

    HDC dc = GetDC(h);
    EXPECT_TRUE(HasScreenDamage());
    TakeScreenDamage();
    // Held: whatever it draws next is shown at the next take too.
    EXPECT_TRUE(HasScreenDamage());
    ReleaseDC(h, dc);
    TakeScreenDamage();
    EXPECT_FALSE(HasScreenDamage());
}

TEST_F(BackendHooksTest, ScatteredDamageIsKeptAsItsBoxPastAFewRectangles)
{
    HWND h = FForm->GetHandle();
    for (Integer i = 0; i < 40; ++i) {
        RECT r{i * 4, i * 3, i * 4 + 1, i * 3 + 1};
        InvalidateRect(h, &r, false);
        UpdateWindow(h);
    }
    std::vector<RECT> damage = TakeScreenDamage();
    ASSERT_LE(damage.size(), 16u);
    RECT box{};
    for (const RECT& r : damage)
        UnionRect(box, box, r);
    POINT first{0, 0}, last{39 * 4, 39 * 3};
    ClientToScreen(h, first);
    ClientToScreen(h, last);
    EXPECT_TRUE(PtInRect(box, first));
    EXPECT_TRUE(PtInRect(box, last));
}

TEST_F(BackendHooksTest, EveryReadOfTheTickCountIsReported)
{
    int before = FBackend.Reads;
    GetTickCount();
    GetTickCount();
    EXPECT_EQ(FBackend.Reads, before + 2);
    TickSource::Peek();  // the window system's own reads are not a program busy-waiting
    EXPECT_EQ(FBackend.Reads, before + 2);
}

TEST_F(BackendHooksTest, AKeysCharacterFromTheLayoutWinsOverTheBuiltInOne)
{
    FForm->SetFocus();
    // '2' with the layout's é (a French keyboard's key), then Delete that
    // makes no character though the built-in rule knows none either.
    InjectKey('2', true, '\xE9');
    InjectKey('2', false);
    InjectKey('A', true, 0);
    InjectKey('A', false);
    InjectKey('B', true);
    InjectKey('B', false);
    std::string chars;
    MSG msg;
    while (PeekMessage(msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_CHAR)
            chars += char(msg.wParam);
        TranslateMessage(msg);
    }
    EXPECT_EQ(chars, "\xE9" "b");
}

} // namespace
} // namespace ld
