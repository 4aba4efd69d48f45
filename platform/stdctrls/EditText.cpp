// The text engine of the edit and the memo: character widths of the font,
// the displayed lines (line breaks, and word wrapping within the format
// rectangle), mapping between text positions and points, caret movement,
// scrolling that keeps the caret in view, and the edits themselves.
//
// Positions are byte offsets into the control's text. A line break is CR LF,
// or a lone CR or LF as text from elsewhere may hold; the caret never stands
// inside one. Where a wrapped line ends, its end and the next line's start are
// the same position: the caret shows at the start of the next line.
#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <string_view>

#include "platform/core/SysUtils.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/Text.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/win/Paint.h"

namespace ld {

// ---- metrics ---------------------------------------------------------------------------

// Measuring 256 characters costs more than a control's whole paint, so the
// widths of a font are measured once and shared by every edit using it.
const TCustomEdit::TMetrics& TCustomEdit::Metrics()
{
    if (FMetrics.Valid)
        return FMetrics;
    static std::map<std::string, TMetrics> measured;
    const std::string key = FFont->GetName() + '/' + std::to_string(FFont->GetHeight()) + '/' +
                            std::to_string(FFont->GetStyle().Bits()) + '/' + std::to_string(int(FFont->GetCharset())) +
                            '/' + std::to_string(int(FFont->GetPitch()));
    if (auto it = measured.find(key); it != measured.end()) {
        FMetrics = it->second;
        return FMetrics;
    }
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FFont->GetHandle());
    TEXTMETRIC tm;
    GetTextMetrics(dc, tm);
    FMetrics.Height = std::max(tm.tmHeight, 1);
    FMetrics.AveWidth = std::max(tm.tmAveCharWidth, 1);
    for (Integer c = 0; c < 256; ++c) {
        char ch = char(c);
        TSize size;
        GetTextExtentPoint32(dc, std::string_view(&ch, 1), size);
        FMetrics.Widths[size_t(c)] = size.cx;
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    FMetrics.Valid = true;
    measured.emplace(key, FMetrics);
    return FMetrics;
}

// Inside the client area, a pixel off each side, where the lines are drawn.
TRect TCustomEdit::FormatRect()
{
    TRect r = GetClientRect();
    if (FHandle) {
        RECT client;
        ::ld::GetClientRect(FHandle, client);
        r = client;
    }
    if (HasVerticalBar())
        r.Right = std::max(r.Left, r.Right - GetSystemMetrics(SM_CXVSCROLL));
    r.Left += 1;
    r.Right -= 1;
    r.Top += IsMultiLine() ? 0 : 1;
    if (r.Right < r.Left)
        r.Right = r.Left;
    return r;
}

Integer TCustomEdit::CharWidth(Integer index, Integer xInLine) const
{
    char c = FPasswordChar ? FPasswordChar : FText[size_t(index)];
    if (c == '\t' && !FPasswordChar) {
        Integer stop = FMetrics.AveWidth * 8;
        return stop - xInLine % stop;
    }
    return FMetrics.Widths[Byte(c)];
}

Integer TCustomEdit::LineWidthUpTo(const TEditLine& line, Integer count)
{
    Metrics();
    Integer x = 0;
    for (Integer i = 0; i < count; ++i)
        x += CharWidth(line.Start + i, x);
    return x;
}

Integer TCustomEdit::LineOffset(const TEditLine& line)
{
    if (!IsMultiLine() || WrapAlignment() == taLeftJustify)
        return 0;
    Integer room = FormatRect().Width() - LineWidthUpTo(line, line.Length);
    if (room <= 0)
        return 0;
    return WrapAlignment() == taCenter ? room / 2 : room;
}

Integer TCustomEdit::IndexAtX(const TEditLine& line, Integer x)
{
    Metrics();
    Integer cur = 0;
    for (Integer i = 0; i < line.Length; ++i) {
        Integer w = CharWidth(line.Start + i, cur);
        if (x < cur + w / 2 + (w & 1))
            return line.Start + i;
        cur += w;
    }
    Integer end = line.Start + line.Length;
    // The end of a wrapped line is the next line's start; stay on this line.
    if (line.Length > 0 && end < Integer(FText.size()) && BreakLengthAt(end) == 0)
        return end - 1;
    return end;
}

// ---- lines -------------------------------------------------------------------------------

Integer TCustomEdit::BreakLengthAt(Integer index) const
{
    if (index >= Integer(FText.size()))
        return 0;
    char c = FText[size_t(index)];
    if (c == '\r')
        return index + 1 < Integer(FText.size()) && FText[size_t(index) + 1] == '\n' ? 2 : 1;
    return c == '\n' ? 1 : 0;
}

Integer TCustomEdit::BreakLengthBefore(Integer index) const
{
    if (index <= 0)
        return 0;
    char c = FText[size_t(index) - 1];
    if (c == '\n')
        return index >= 2 && FText[size_t(index) - 2] == '\r' ? 2 : 1;
    return c == '\r' ? 1 : 0;
}

const std::vector<TEditLine>& TCustomEdit::DisplayLines()
{
    Layout();
    return FLines;
}

void TCustomEdit::Layout()
{
    Integer width = FormatRect().Width();
    if (FLayoutValid && (!WrapsWords() || width == FLayoutWidth))
        return;
    Metrics();
    FLines.clear();
    FLayoutWidth = width;
    FLayoutValid = true;
    if (!IsMultiLine()) {
        FLines.push_back({0, Integer(FText.size())});
        return;
    }
    LayoutParagraphs(FLines, 0, Integer(FText.size()) + 1, WrapsWords(), width);
}

const std::vector<TEditLine>& TCustomEdit::Paragraphs()
{
    if (!FParagraphsValid) {
        FParagraphs.clear();
        LayoutParagraphs(FParagraphs, 0, Integer(FText.size()) + 1, false, 0);
        FParagraphsValid = true;
    }
    return FParagraphs;
}

// A text that ends with a line break ends with an empty line; an empty text
// is one empty line.
Integer TCustomEdit::LayoutParagraphs(std::vector<TEditLine>& lines, Integer start, Integer until, bool wrap, Integer width)
{
    const auto size = Integer(FText.size());
    for (;;) {
        Integer end = start;
        while (end < size && BreakLengthAt(end) == 0)
            ++end;
        if (wrap)
            WrapParagraph(lines, start, end, width);
        else
            lines.push_back({start, end - start});
        if (end >= size)
            return -1;
        start = end + BreakLengthAt(end);
        if (start >= size) {
            lines.push_back({start, 0});
            return -1;
        }
        if (end >= until)
            return start;
    }
}

// The text's [From, OldTo) has become [From, NewTo). The paragraph before
// From is laid out again too (a CR there may have met an LF), then every
// paragraph up to the first whose break lies past the change; the lines after
// those are kept, moved by the change in length. Where the old lines do not
// meet the new ones (they always should), the rest is laid out afresh.
void TCustomEdit::SpliceLines(std::vector<TEditLine>& lines, Integer from, Integer oldTo, Integer newTo, bool wrap,
                              Integer width)
{
    Integer start = from - BreakLengthBefore(from);
    while (start > 0 && FText[size_t(start) - 1] != '\r' && FText[size_t(start) - 1] != '\n')
        --start;
    const auto byStart = [](const TEditLine& line, Integer value) { return line.Start < value; };
    const auto first = std::lower_bound(lines.begin(), lines.end(), start, byStart);
    if (first == lines.end() || first->Start != start) {
        lines.clear();
        LayoutParagraphs(lines, 0, Integer(FText.size()) + 1, wrap, width);
        return;
    }
    std::vector<TEditLine> fresh;
    Integer next = LayoutParagraphs(fresh, start, newTo, wrap, width);
    const Integer delta = newTo - oldTo;
    auto kept = lines.end();
    if (next >= 0) {
        kept = std::lower_bound(first, lines.end(), next - delta, byStart);
        if (kept == lines.end() || kept->Start != next - delta) {
            LayoutParagraphs(fresh, next, Integer(FText.size()) + 1, wrap, width);
            kept = lines.end();
        }
    }
    const auto at = first - lines.begin();
    const auto keptAt = kept - lines.begin();
    const auto freshCount = Integer(fresh.size());
    // Moving the kept lines first makes room for the fresh ones, or closes the gap.
    if (Integer(keptAt - at) != freshCount) {
        const auto tail = Integer(lines.size()) - Integer(keptAt);
        if (Integer(keptAt - at) < freshCount) {
            lines.resize(size_t(at + freshCount + tail));
            std::move_backward(lines.begin() + keptAt, lines.begin() + keptAt + tail, lines.end());
        } else {
            std::move(lines.begin() + keptAt, lines.end(), lines.begin() + at + freshCount);
            lines.resize(size_t(at + freshCount + tail));
        }
    }
    std::copy(fresh.begin(), fresh.end(), lines.begin() + at);
    if (delta != 0)
        for (auto line = lines.begin() + at + freshCount; line != lines.end(); ++line)
            line->Start += delta;
}

// Breaks one paragraph into lines no wider than Width: after the last blank
// that fits (blanks hang past the edge), or inside a word that is wider than
// a whole line.
void TCustomEdit::WrapParagraph(std::vector<TEditLine>& lines, Integer start, Integer end, Integer width)
{
    if (start == end) {
        lines.push_back({start, 0});
        return;
    }
    Integer lineStart = start;
    while (lineStart < end) {
        Integer x = 0;
        Integer i = lineStart;
        Integer afterBlank = -1;
        while (i < end) {
            Integer w = CharWidth(i, x);
            char c = FText[size_t(i)];
            if (x + w > width && i > lineStart && c != ' ')
                break;
            x += w;
            if (c == ' ' || c == '\t')
                afterBlank = i + 1;
            ++i;
        }
        if (i >= end) {
            lines.push_back({lineStart, end - lineStart});
            return;
        }
        Integer cut = afterBlank > lineStart ? afterBlank : i;
        lines.push_back({lineStart, cut - lineStart});
        lineStart = cut;
    }
}

Integer TCustomEdit::LineOf(Integer index)
{
    Layout();
    auto it = std::upper_bound(FLines.begin(), FLines.end(), index,
                               [](Integer value, const TEditLine& line) { return value < line.Start; });
    return std::max(Integer(it - FLines.begin()) - 1, 0);
}

Integer TCustomEdit::IndexAtPoint(TPoint p)
{
    Layout();
    TRect fr = FormatRect();
    Integer row = 0;
    if (IsMultiLine()) {
        Integer dy = p.Y - fr.Top;
        row = FTopLine + (dy < 0 ? -1 : dy / Metrics().Height);
        row = std::clamp(row, 0, Integer(FLines.size()) - 1);
    }
    const TEditLine& line = FLines[size_t(row)];
    return IndexAtX(line, p.X - fr.Left + FScrollX - LineOffset(line));
}

TPoint TCustomEdit::CaretPoint()
{
    Layout();
    TRect fr = FormatRect();
    Integer row = LineOf(FCaret);
    const TEditLine& line = FLines[size_t(row)];
    Integer x = fr.Left - FScrollX + LineOffset(line) + LineWidthUpTo(line, FCaret - line.Start);
    Integer y = fr.Top + (row - FTopLine) * Metrics().Height;
    return {x, y};
}

// ---- moving --------------------------------------------------------------------------------

Integer TCustomEdit::PrevIndex(Integer index) const
{
    if (index <= 0)
        return 0;
    Integer br = BreakLengthBefore(index);
    return index - std::max(br, 1);
}

Integer TCustomEdit::NextIndex(Integer index) const
{
    if (index >= Integer(FText.size()))
        return Integer(FText.size());
    return index + std::max(BreakLengthAt(index), 1);
}

namespace {
bool IsWordChar(char c) { return c != ' ' && c != '\t' && c != '\r' && c != '\n'; }
} // namespace

Integer TCustomEdit::WordStartBefore(Integer index) const
{
    Integer i = index;
    while (i > 0 && !IsWordChar(FText[size_t(i) - 1]))
        --i;
    while (i > 0 && IsWordChar(FText[size_t(i) - 1]))
        --i;
    return i;
}

Integer TCustomEdit::WordEndAfter(Integer index) const
{
    const auto size = Integer(FText.size());
    Integer i = index;
    while (i < size && IsWordChar(FText[size_t(i)]))
        ++i;
    while (i < size && !IsWordChar(FText[size_t(i)]))
        ++i;
    return i;
}

void TCustomEdit::SelectWordAt(Integer index)
{
    const auto size = Integer(FText.size());
    Integer from = index, to = index;
    if (index < size && IsWordChar(FText[size_t(index)])) {
        while (from > 0 && IsWordChar(FText[size_t(from) - 1]))
            --from;
        while (to < size && IsWordChar(FText[size_t(to)]))
            ++to;
        // The blanks after a word go with it, as a double click takes them.
        while (to < size && (FText[size_t(to)] == ' ' || FText[size_t(to)] == '\t'))
            ++to;
    } else if (index > 0 && IsWordChar(FText[size_t(index) - 1])) {
        return SelectWordAt(index - 1);
    }
    FAnchor = from;
    MoveCaret(to, true);
}

void TCustomEdit::MoveCaret(Integer index, bool extend, bool keepColumn)
{
    index = std::clamp(index, 0, Integer(FText.size()));
    if (BreakLengthBefore(index) == 1 && index < Integer(FText.size()) && FText[size_t(index) - 1] == '\r' &&
        FText[size_t(index)] == '\n')
        --index;
    bool hadSelection = FAnchor != FCaret;
    FTypingEnd = -1;
    FCaret = index;
    if (!extend)
        FAnchor = index;
    if (!keepColumn)
        FWantX = -1;
    ScrollCaretIntoView();
    ResetBlink();
    if (FHandle && (hadSelection || FAnchor != FCaret))
        InvalidateRect(FHandle, nullptr, false);
}

void TCustomEdit::ScrollCaretIntoView()
{
    if (!FHandle)
        return;
    Layout();
    TRect fr = FormatRect();
    Integer row = LineOf(FCaret);
    const TEditLine& line = FLines[size_t(row)];
    Integer oldX = FScrollX, oldTop = FTopLine;
    if (!WrapsWords()) {
        Integer x = LineWidthUpTo(line, FCaret - line.Start);
        Integer width = std::max(fr.Width(), 1);
        if (x < FScrollX)
            FScrollX = std::max(x - width / 3, 0);
        else if (x > FScrollX + width - 1)
            FScrollX = x - width + 1 + width / 3;
    } else {
        FScrollX = 0;
    }
    if (IsMultiLine()) {
        Integer visible = std::max(fr.Height() / Metrics().Height, 1);
        if (row < FTopLine)
            FTopLine = row;
        else if (row >= FTopLine + visible)
            FTopLine = row - visible + 1;
        FTopLine = std::clamp(FTopLine, 0, std::max(Integer(FLines.size()) - 1, 0));
    }
    if (oldX != FScrollX || oldTop != FTopLine)
        InvalidateRect(FHandle, nullptr, false);
}

// ---- changing the text ------------------------------------------------------------------------

Integer TCustomEdit::GetSelStart() const { return std::min(FAnchor, FCaret); }
Integer TCustomEdit::GetSelLength() const { return std::abs(FCaret - FAnchor); }

void TCustomEdit::SetSelStart(Integer value)
{
    FAnchor = std::clamp(value, 0, Integer(FText.size()));
    MoveCaret(FAnchor, false);
    if (FHandle)
        InvalidateRect(FHandle, nullptr, false);
}

void TCustomEdit::SetSelLength(Integer value)
{
    Integer start = GetSelStart();
    FAnchor = start;
    MoveCaret(start + std::max(value, 0), true);
    if (FHandle)
        InvalidateRect(FHandle, nullptr, false);
}

std::string TCustomEdit::GetSelText() const { return FText.substr(size_t(GetSelStart()), size_t(GetSelLength())); }

void TCustomEdit::SetSelText(const std::string& value)
{
    ReplaceRange(GetSelStart(), GetSelStart() + GetSelLength(), value);
}

void TCustomEdit::SelectAll()
{
    FAnchor = 0;
    MoveCaret(Integer(FText.size()), true);
    if (FHandle)
        InvalidateRect(FHandle, nullptr, false);
}

void TCustomEdit::ClearSelection()
{
    if (GetSelLength() > 0)
        ReplaceRange(GetSelStart(), GetSelStart() + GetSelLength(), {});
}

void TCustomEdit::ReplaceRange(Integer from, Integer to, const std::string& text)
{
    FAnchor = FCaret = from + Integer(text.size());
    FWantX = -1;
    FEditing = true;
    try {
        ChangeText(from, to, text);
    } catch (...) {
        FEditing = false;
        throw;
    }
    FEditing = false;
    ScrollCaretIntoView();
    ResetBlink();
}

// What SetText does for the whole text, for a part of it: the lines laid out
// are patched where the change lies, so that a change costs its own length
// and the lines it moves, not the whole text.
void TCustomEdit::ChangeText(Integer from, Integer to, std::string_view text)
{
    const auto size = Integer(FText.size());
    if (from < 0 || to < from || to > size)
        throw EListError(Format("Text range %d..%d out of bounds (%d)", {from, to, size}));
    if (std::string_view(FText).substr(size_t(from), size_t(to - from)) == text)
        return;
    FText.replace(size_t(from), size_t(to - from), text);
    const Integer newTo = from + Integer(text.size());
    if (FLayoutValid) {
        if (IsMultiLine())
            SpliceLines(FLines, from, to, newTo, WrapsWords(), FLayoutWidth);
        else
            FLines.assign(1, {0, Integer(FText.size())});
    }
    if (FParagraphsValid)
        SpliceLines(FParagraphs, from, to, newTo, false, 0);
    FTextSpliced = true;
    try {
        Perform(CM_TEXTCHANGED, 0, 0);
    } catch (...) {
        FTextSpliced = false;
        throw;
    }
    FTextSpliced = false;
}

// An edit by the user: it can be undone, and a run of typing is undone as one.
void TCustomEdit::UserReplace(Integer from, Integer to, const std::string& text)
{
    const bool continuesTyping = from == to && from == FTypingEnd && text.size() == 1;
    if (!continuesTyping) {
        FUndoText = FText;
        FUndoAnchor = FAnchor;
        FUndoCaret = FCaret;
        FCanUndo = true;
    }
    FModified = true;
    ReplaceRange(from, to, text);
    FTypingEnd = from == to && text.size() == 1 ? FCaret : -1;
}

void TCustomEdit::Undo()
{
    if (!FCanUndo || FReadOnly)
        return;
    // Undoing swaps, so a second undo takes the change back again.
    std::string text = FUndoText;
    const Integer anchor = FUndoAnchor, caret = FUndoCaret;
    FUndoText = FText;
    FUndoAnchor = FAnchor;
    FUndoCaret = FCaret;
    FTypingEnd = -1;
    FModified = true;
    FEditing = true;
    try {
        SetText(text);
    } catch (...) {
        FEditing = false;
        throw;
    }
    FEditing = false;
    FAnchor = std::clamp(anchor, 0, Integer(FText.size()));
    MoveCaret(caret, true);
    if (FHandle)
        InvalidateRect(FHandle, nullptr, false);
}

bool TCustomEdit::InsertText(std::string text)
{
    if (FReadOnly)
        return false;
    if (!TakesReturns()) {
        // A single line keeps only what comes before the first line break.
        size_t br = text.find_first_of("\r\n");
        if (br != std::string::npos)
            text.resize(br);
    }
    if (FCharCase != ecNormal)
        for (char& c : text)
            c = char(FCharCase == ecUpperCase ? std::toupper(Byte(c)) : std::tolower(Byte(c)));
    if (FMaxLength > 0) {
        Integer room = FMaxLength - (Integer(FText.size()) - GetSelLength());
        if (room <= 0 && !text.empty())
            return false;
        if (Integer(text.size()) > room) {
            text.resize(size_t(room));
            // Never keep half a line break.
            if (!text.empty() && text.back() == '\r')
                text.pop_back();
        }
    }
    if (text.empty() && GetSelLength() == 0)
        return false;
    UserReplace(GetSelStart(), GetSelStart() + GetSelLength(), text);
    return true;
}

void TCustomEdit::DeleteBack()
{
    if (FReadOnly)
        return;
    if (GetSelLength() > 0) {
        UserReplace(GetSelStart(), GetSelStart() + GetSelLength(), {});
    } else if (FCaret > 0) {
        UserReplace(PrevIndex(FCaret), FCaret, {});
    }
}

void TCustomEdit::DeleteForward()
{
    if (FReadOnly)
        return;
    if (GetSelLength() > 0) {
        UserReplace(GetSelStart(), GetSelStart() + GetSelLength(), {});
    } else if (FCaret < Integer(FText.size())) {
        UserReplace(FCaret, NextIndex(FCaret), {});
    }
}

} // namespace ld
