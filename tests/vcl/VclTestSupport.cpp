#include "tests/vcl/VclTestSupport.h"

#include "platform/gfx/Graphics.h"

namespace ld::test {

std::vector<std::string>& Events()
{
    static std::vector<std::string> events;
    return events;
}
void ClearEvents() { Events().clear(); }
void Note(const std::string& entry) { Events().push_back(entry); }

namespace {
std::string Xy(Integer x, Integer y) { return std::to_string(x) + "," + std::to_string(y); }
const char* StateName(TDragState s) { return s == dsDragEnter ? "enter" : s == dsDragLeave ? "leave" : "move"; }
std::string NameOf(TObject* o)
{
    if (!o)
        return "nil";
    if (auto* c = dynamic_cast<TComponent*>(o))
        return c->GetName();
    return "?";
}
} // namespace

TProbe::TProbe(TComponent* owner, const std::string& name) : TCustomControl(owner)
{
    if (!name.empty())
        SetName(name);
}

void TProbe::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    params.Style |= ExtraStyle;
}

void TProbe::Paint()
{
    ++Paints;
    GetCanvas()->GetBrush()->SetColor(Fill);
    GetCanvas()->FillRect(GetClientRect());
}

void TProbe::Click()
{
    Note(GetName() + ".Click");
    TCustomControl::Click();
}

void TProbe::DblClick()
{
    Note(GetName() + ".DblClick");
    TCustomControl::DblClick();
}

void TProbe::MouseDown(TMouseButton b, TShiftState s, Integer x, Integer y)
{
    Note(GetName() + ".MouseDown " + std::to_string(int(b)) + (s.Contains(ssDouble) ? " double " : " ") + Xy(x, y));
    TCustomControl::MouseDown(b, s, x, y);
}

void TProbe::MouseMove(TShiftState s, Integer x, Integer y)
{
    if (LogMoves)
        Note(GetName() + ".MouseMove " + Xy(x, y));
    TCustomControl::MouseMove(s, x, y);
}

void TProbe::MouseUp(TMouseButton b, TShiftState s, Integer x, Integer y)
{
    Note(GetName() + ".MouseUp " + std::to_string(int(b)) + " " + Xy(x, y));
    TCustomControl::MouseUp(b, s, x, y);
}

void TProbe::KeyDown(Word& key, TShiftState shift)
{
    Note(GetName() + ".KeyDown " + std::to_string(key));
    TCustomControl::KeyDown(key, shift);
}

void TProbe::KeyPress(char& key)
{
    Note(GetName() + ".KeyPress " + std::string(1, key));
    TCustomControl::KeyPress(key);
}

void TProbe::DragOver(TObject* source, Integer x, Integer y, TDragState state, bool& accept)
{
    TCustomControl::DragOver(source, x, y, state, accept);
    accept = AcceptDrops;
    Note(GetName() + ".DragOver " + StateName(state) + " " + NameOf(source) + " " + Xy(x, y));
}

void TProbe::DragDrop(TObject* source, Integer x, Integer y)
{
    Note(GetName() + ".DragDrop " + NameOf(source) + " " + Xy(x, y));
    TCustomControl::DragDrop(source, x, y);
}

void TProbe::DoEndDrag(TObject* target, Integer x, Integer y)
{
    Note(GetName() + ".EndDrag " + NameOf(target) + " " + Xy(x, y));
    TCustomControl::DoEndDrag(target, x, y);
}

void TProbe::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_MOUSEENTER:
        Note(GetName() + (m.LParam ? ".ChildEnter " + NameOf(reinterpret_cast<TObject*>(m.LParam)) : ".MouseEnter"));
        break;
    case CM_MOUSELEAVE:
        Note(GetName() + (m.LParam ? ".ChildLeave " + NameOf(reinterpret_cast<TObject*>(m.LParam)) : ".MouseLeave"));
        break;
    case CM_DIALOGCHAR:
        if (Accel && std::toupper(int(m.WParam)) == std::toupper(Accel)) {
            Note(GetName() + ".DialogChar " + std::string(1, char(m.WParam)));
            m.Result = 1;
            return;
        }
        break;
    case CM_DIALOGKEY:
        if (Accel == '\r' && m.WParam == VK_RETURN) {
            Note(GetName() + ".DialogKey Enter");
            m.Result = 1;
            return;
        }
        break;
    case WM_GETDLGCODE:
        m.Result = WantChars ? LRESULT(DLGC_WANTCHARS) : 0;
        return;
    case CM_FONTCHANGED: Note(GetName() + ".FontChanged"); break;
    case CM_PARENTFONTCHANGED: Note(GetName() + ".ParentFontChanged"); break;
    case CM_TEXTCHANGED: Note(GetName() + ".TextChanged"); break;
    case CM_VISIBLECHANGED: Note(GetName() + ".VisibleChanged"); break;
    case CM_ENABLEDCHANGED: Note(GetName() + ".EnabledChanged"); break;
    case CM_CANCELMODE: Note(GetName() + ".CancelMode"); break;
    case CM_ENTER: Note(GetName() + ".Enter"); break;
    case CM_EXIT: Note(GetName() + ".Exit"); break;
    }
    TCustomControl::Dispatch(m);
}

void VclTest::SetUp()
{
    TickSource::UseSimulatedClock(10000);
    Backend = std::make_unique<THeadlessBackend>();
    Form = new TForm(nullptr);
    Form->SetName("Form");
    Form->SetBounds(100, 100, 400, 300);
    Form->Show();
    Backend->RunUntilIdle();
    ClearEvents();
}

void VclTest::TearDown()
{
    delete Form;
    Backend->MoveTo(1000, 760);
    Backend->RunUntilIdle();
    Backend.reset();
    TickSource::UseMonotonicClock();
}

TProbe* VclTest::AddProbe(const std::string& name, TRect bounds, TWinControl* parent)
{
    auto* p = new TProbe(Form, name);
    p->SetBoundsRect(bounds);
    p->SetParent(parent ? parent : Form);
    return p;
}

void VclTest::ClickOn(TControl* c, Integer x, Integer y)
{
    TPoint p = ScreenOf(c, x, y);
    Backend->MoveTo(p.X, p.Y);
    Backend->RunUntilIdle();
    Backend->Press();
    Backend->Release();
    Backend->RunUntilIdle();
}

COLORREF VclTest::Pixel(Integer x, Integer y) const
{
    uint32_t p = GetScreenSurface().Pixel(x, y);
    return RGB(Byte(p >> 16), Byte(p >> 8), Byte(p));
}

} // namespace ld::test
