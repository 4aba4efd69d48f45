// TCustomMemo: the multi-line edit with its Lines, word wrapping, and the
// Return and Tab keys it may leave to the dialog; TMemoStrings, the lines view
// of its text.
#include <algorithm>

#include "platform/core/SysUtils.h"
#include "platform/stdctrls/StdCtrls.h"

namespace ld {

// ---- TMemoStrings ---------------------------------------------------------------------------
//
// The lines are the edit's paragraphs, kept up to date as the text changes,
// and every change goes through ChangeText: adding, replacing or deleting a
// line costs that line, not the whole text.

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

const TEditLine& TMemoStrings::Line(Integer index) const
{
    if (index < 0 || index >= Count())
        Error("List index out of bounds (%d)", index);
    return FMemo->Paragraphs()[size_t(index)];
}

// A text that ends with a break has an empty last paragraph, which is no line.
Integer TMemoStrings::Count() const
{
    const std::string& text = FMemo->FText;
    if (text.empty())
        return 0;
    const auto paragraphs = Integer(FMemo->Paragraphs().size());
    return text.back() == '\r' || text.back() == '\n' ? paragraphs - 1 : paragraphs;
}

std::string TMemoStrings::Get(Integer index) const
{
    const TEditLine& line = Line(index);
    return FMemo->FText.substr(size_t(line.Start), size_t(line.Length));
}

void TMemoStrings::Put(Integer index, const std::string& s)
{
    const TEditLine line = Line(index);
    FMemo->ChangeText(line.Start, line.Start + line.Length, s);
}

// A line goes in before line Index with a break after it; past the last line
// it follows a break put after that line.
void TMemoStrings::Insert(Integer index, const std::string& s)
{
    const Integer count = Count();
    if (index < 0 || index > count)
        Error("List index out of bounds (%d)", index);
    const auto& paragraphs = FMemo->Paragraphs();
    if (size_t(index) < paragraphs.size()) {
        const Integer start = paragraphs[size_t(index)].Start;
        return FMemo->ChangeText(start, start, s + "\r\n");
    }
    const TEditLine& last = paragraphs[size_t(index) - 1];
    const Integer end = last.Start + last.Length;
    FMemo->ChangeText(end, end, "\r\n" + s);
}

void TMemoStrings::Delete(Integer index)
{
    const TEditLine line = Line(index);
    const Integer end = line.Start + line.Length;
    FMemo->ChangeText(line.Start, end + BreakAt(FMemo->FText, end), {});
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
