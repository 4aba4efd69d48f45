// A form behind the window system's own frame, as a person uses it headless
// or on the virtual desktop: its border sizes it within its Constraints,
// with its controls aligned again and OnResize; its close box closes it,
// which ends the program for the main form.
#include "tests/vcl/VclTestSupport.h"

namespace ld::test {
namespace {

using FormFrameTest = VclTest;

TEST_F(FormFrameTest, TheBorderSizesWithinTheConstraintsAndTheCloseBoxEndsTheProgram)
{
    TProbe* filler = AddProbe("Filler", Bounds(0, 0, 10, 10));
    filler->SetAlign(alClient);
    Form->GetConstraints()->SetMinWidth(300);
    Form->GetConstraints()->SetMaxHeight(350);
    int resized = 0;
    Form->SetOnResize(TNotifyEvent::Lambda([&](TObject*) { ++resized; }));
    Backend->RunUntilIdle();

    // The right border (the form is 400 x 300 at 100, 100) dragged far left
    // stops at the minimum width; the bottom one far down at the maximum height.
    Backend->MoveTo(498, 250);
    Backend->Press();
    Backend->DragTo(150, 250, 50);
    Backend->Release();
    Backend->RunUntilIdle();
    EXPECT_EQ(Form->GetBoundsRect(), Bounds(100, 100, 300, 300));
    EXPECT_EQ(filler->GetBoundsRect(), Bounds(0, 0, 300 - 8, 300 - 8 - 19));
    EXPECT_GE(resized, 1);
    Backend->MoveTo(250, 398);
    Backend->Press();
    Backend->DragTo(250, 600, 50);
    Backend->Release();
    Backend->RunUntilIdle();
    EXPECT_EQ(Form->GetHeight(), 350);

    // The close box of the main form ends the program.
    Application->SetMainForm(Form);
    const RECT box{100 + 300 - 4 - 2 - 16, 100 + 4 + 2, 100 + 300 - 4 - 2, 100 + 4 + 2 + 14};
    Backend->Click(box.Left + 8, box.Top + 7);
    Backend->RunUntilIdle();
    MSG msg;
    EXPECT_TRUE(PeekMessage(msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) || Application->GetTerminated());
    Application->SetMainForm(nullptr);
    Application->ResetTerminated();
    while (PeekMessage(msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

} // namespace
} // namespace ld::test
