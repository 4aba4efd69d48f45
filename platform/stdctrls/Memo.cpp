// TCustomMemo: the multi-line edit with its Lines, word wrapping, and the
// Return and Tab keys it may leave to the dialog; TMemoStrings, the lines view
// of its text.
#include <algorithm>

#include "platform/core/SysUtils.h"
#include "platform/stdctrls/StdCtrls.h"

namespace ld {

// ---- TMemoStrings ---------------------------------------------------------------------------

namespace {
Integer BreakAt(const std::string& text, Integer index)
{
    if (index >= Integer(text.size()))
        return 0;
    if (text[size_t(index)] == '\r')
        return index + 1 < Integer(text.size()) && text[size_t(index) + 1] == '\n' ? 2 : 1;
    return text[size_t(index)] == '\n' ? 1 : 0;
}
} // namespace

Integer TMemoStrings::LineEnd(Integer start) const
{
    const std::string& text = FMemo->GetText();
    Integer i = start;
    while (i < Integer(text.size()) && BreakAt(text, i) == 0)
        ++i;
    return i;
}

Integer TMemoStrings::LineStart(Integer index) const
{
    if (index < 0)
        return -1;
    const std::string text = FMemo->GetText();
    Integer start = 0;
    for (Integer k = 0; k < index; ++k) {
        Integer end = LineEnd(start);
        if (end >= Integer(text.size()))
            return -1;
        start = end + BreakAt(text, end);
    }
    return start;
}

Integer TMemoStrings::Count() const
{
    const std::string text = FMemo->GetText();
    if (text.empty())
        return 0;
    Integer count = 1;
    for (Integer i = 0; i < Integer(text.size());) {
        Integer br = BreakAt(text, i);
        if (br) {
            ++count;
            i += br;
        } else {
            ++i;
        }
    }
    // A break at the very end opens no line of its own.
    const char last = text.back();
    if (last == '\r' || last == '\n')
        --count;
    return count;
}

std::string TMemoStrings::Get(Integer index) const
{
    if (index < 0 || index >= Count())
        Error("List index out of bounds (%d)", index);
    Integer start = LineStart(index);
    return FMemo->GetText().substr(size_t(start), size_t(LineEnd(start) - start));
}

void TMemoStrings::Replace(Integer from, Integer to, const std::string& text)
{
    std::string all = FMemo->GetText();
    all.replace(size_t(from), size_t(to - from), text);
    FMemo->SetText(all);
}

void TMemoStrings::Put(Integer index, const std::string& s)
{
    if (index < 0 || index >= Count())
        Error("List index out of bounds (%d)", index);
    Integer start = LineStart(index);
    Replace(start, LineEnd(start), s);
}

// A line goes in before line Index with a break after it; past the last line
// it follows a break put after that line.
void TMemoStrings::Insert(Integer index, const std::string& s)
{
    if (index < 0 || index > Count())
        Error("List index out of bounds (%d)", index);
    Integer start = LineStart(index);
    if (start >= 0)
        return Replace(start, start, s + "\r\n");
    start = LineStart(index - 1);
    Integer end = LineEnd(start);
    Replace(end, end, "\r\n" + s);
}

void TMemoStrings::Delete(Integer index)
{
    if (index < 0 || index >= Count())
        Error("List index out of bounds (%d)", index);
    Integer start = LineStart(index);
    Integer end = LineEnd(start);
    Replace(start, end + BreakAt(FMemo->GetText(), end), {});
}

void TMemoStrings::Clear() { FMemo->SetText({}); }

// ---- TCustomMemo ----------------------------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), FLines(new TMemoStrings(this))
{
    FWidth = 185;
    FHeight = 89;
    FAutoSize = false;
    FControlStyle.Exclude(csFixedHeight);
}

TCustomMemo::~TCustomMemo() { delete FLines; }

void TCustomMemo::SetWordWrap(bool value)
{
    if (FWordWrap == value)
        return;
    FWordWrap = value;
    TextLayoutChanged();
}

void TCustomMemo::SetScrollBars(TScrollStyle value)
{
    if (FScrollBars == value)
        return;
    FScrollBars = value;
    Invalidate();
}

void TCustomMemo::SetAlignment(TAlignment value)
{
    if (FAlignment == value)
        return;
    FAlignment = value;
    TextLayoutChanged();
}

TPoint TCustomMemo::GetCaretPos() const
{
    const std::string& text = FText;
    Integer caret = GetCaretIndex();
    Integer line = 0, start = 0;
    for (Integer i = 0; i < caret;) {
        Integer br = BreakAt(text, i);
        if (br) {
            ++line;
            i += br;
            start = i;
        } else {
            ++i;
        }
    }
    return {caret - start, line};
}

void TCustomMemo::KeyPress(char& key)
{
    inherited::KeyPress(key);
    if (key == '\r' && !FWantReturns)
        key = 0;
}

void TCustomMemo::WMGetDlgCode(TMessage& m)
{
    inherited::Dispatch(m);
    if (FWantTabs)
        m.Result |= DLGC_WANTTAB;
    else
        m.Result &= ~LRESULT(DLGC_WANTTAB);
    if (!FWantReturns)
        m.Result &= ~LRESULT(DLGC_WANTALLKEYS);
}

void TCustomMemo::Dispatch(TMessage& m)
{
    if (m.Msg == WM_GETDLGCODE)
        return WMGetDlgCode(m);
    inherited::Dispatch(m);
}

} // namespace ld
