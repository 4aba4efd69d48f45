// The property view: the published properties of the designer's selection
// (of the designed form when nothing is selected), one row each, the name on
// the left and the value as its property editor shows it on the right.
//
// A value whose editor has sub-properties (a set's elements, an object's own
// properties such as Font and Constraints) has a box before its name: a click
// on it, or a double-click on the name, shows or hides the sub-properties as
// rows of their own, indented. Clicking a value edits it in place: a
// drop-down list for values chosen from a list (an enumeration, True/False,
// a set's elements, colours, component references, event handlers; typed as
// well), an edit field for the others; Enter or choosing stores,
// Escape takes the typing back, Up and Down go to the next row, and leaving a
// row with changed text stores it. A double-click on a value runs its
// editor's Edit: the next value of the list, or a new handler's name for an
// empty event. A property whose editor has a dialog shows an ellipsis button.
// Every change goes to the selected components and marks the form modified;
// text a property refuses is reported and the value stays as it was. Rows
// that do not fit scroll with a bar at the right.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host/FormDesigner.h"
#include "platform/stdctrls/ScrollBar.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/vcl/Controls.h"

namespace ld {

class TPropertyView : public TCustomControl {
    LD_CLASS(TPropertyView, TCustomControl)

    static constexpr Integer RowHeight = 17;
    static constexpr Integer NameWidth = 132;
    static constexpr Integer EllipsisWidth = 16;
    static constexpr Integer Indent = 10;

    explicit TPropertyView(TComponent* owner);

    // The designer whose selection is shown; null shows nothing.
    void SetDesigner(THostFormDesigner* designer);
    // Reads the selection's properties and values again (the selection or a value changed).
    void Refresh();
    // What the rows are about: the selection, or the designed form when nothing is selected.
    std::vector<TPersistent*> Subjects() const;

    Integer RowCount() const { return static_cast<Integer>(FRows.size()); }
    // The row of a property by its path ("Font.Style.fsBold" for a
    // sub-property of an expanded row), -1 when it is not shown.
    Integer RowOf(const std::string& path) const;
    const std::string& PathOf(Integer row) const { return At(row).Path; }
    bool IsExpandable(Integer row) const { return At(row).Expandable; }
    bool IsExpanded(Integer row) const { return FExpanded.count(At(row).Path) > 0; }
    // Shows or hides the sub-properties of an expandable row.
    void SetExpanded(Integer row, bool expanded);
    // The first row shown, and how many fit.
    Integer GetTopRow() const { return FTopRow; }
    Integer VisibleRows() const;
    void ScrollTo(Integer topRow);
    void MakeVisible(Integer row);
    bool HasScrollBar() const { return RowCount() > VisibleRows(); }
    TRect ScrollBarRect() const;
    TRect NameRect(Integer row) const;
    TRect ValueRect(Integer row) const;
    // The box that expands a row, empty for a row without sub-properties.
    TRect ExpandBoxRect(Integer row) const;
    // The ellipsis button of a row, empty when its editor has no dialog.
    TRect EllipsisRect(Integer row) const;
    std::string ValueText(Integer row) const { return At(row).Value; }
    Integer GetEditingRow() const { return FEditingRow; }
    TEdit* GetEditField() const { return FEdit; }
    TComboBox* GetChoiceField() const { return FChoice; }

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
    void MouseMove(TShiftState shift, Integer x, Integer y) override;
    void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;

private:
    struct TRow {
        std::unique_ptr<TPropertyEditor> Editor;
        std::string Path;
        std::string Name;
        std::string Value;
        TPropertyAttributes Attributes;
        Integer Depth = 0;
        bool Expandable = false;
    };

    const TRow& At(Integer row) const { return FRows.at(static_cast<size_t>(row)); }
    void AddRows(std::vector<std::unique_ptr<TPropertyEditor>> editors, const std::string& parentPath, Integer depth);
    std::vector<const TPropInfo*> CommonProperties(const std::vector<TPersistent*>& subjects) const;
    bool CanEdit(const TRow& row) const;
    void BeginEdit(Integer row);
    void EndEdit();
    void StorePending();
    void Store(const std::string& text);
    void RunEdit(Integer row);
    void RunDialog(Integer row);
    void MoveEdit(Integer delta);
    void EditKeyDown(TObject* sender, Word& key, TShiftState shift);
    void FieldDblClick(TObject* sender);
    void FieldMouseDown(TObject* sender, TMouseButton button, TShiftState shift, Integer x, Integer y);
    void ChoiceChanged(TObject* sender);
    void PaintRow(TCanvas* canvas, Integer row);
    Integer RowTop(Integer row) const { return (row - FTopRow + 1) * RowHeight; }
    TScrollRange Range() const { return {FTopRow, VisibleRows(), RowCount()}; }

    THostFormDesigner* FDesigner = nullptr;
    std::vector<TRow> FRows;
    std::set<std::string> FExpanded;
    std::vector<TPersistent*> FSubjects;
    std::string FSubject;
    Integer FEditingRow = -1;
    std::string FEditingPath;
    std::string FShownText; // the field's text when editing began
    Integer FTopRow = 0;
    bool FChoosing = false; // the drop-down list is being filled, not chosen from
    DWORD FClickTime = 0;   // the press that began an edit, for a double-click
    TPoint FClickPoint{};
    TEdit* FEdit;
    TComboBox* FChoice;
    TScrollBarTracker FBarTracker;
};

} // namespace ld
