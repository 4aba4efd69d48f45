// The property view: the published properties of the designer's selection,
// one row each, the name on the left and the value as its property editor
// shows it on the right. Clicking a value edits it in place: an edit field for
// text and numbers (Enter stores, Escape takes the typing back), a drop-down
// list for True/False and the names of an enumeration (choosing stores). A
// property whose editor has a dialog shows an ellipsis button at the right of
// its value; pressing it runs the editor's Edit. Every change goes to the
// selected components and marks the form modified. Rows that do not fit
// scroll with a bar at the right.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/FormDesigner.h"
#include "platform/stdctrls/ScrollBar.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/vcl/Controls.h"

namespace ld {

// Sets a published property of Component from its text form: a string as it
// stands, a number, True or False, or the name of an enumeration value.
// EConvertError for text the property cannot take, EInvalidOperation for a
// property that is read-only or of a kind that is not typed in.
void SetPropertyText(TPersistent* component, const TPropInfo* prop, const std::string& text);
// Whether SetPropertyText takes values of this property.
bool IsTypedProperty(const TPropInfo* prop);

class TPropertyView : public TCustomControl {
    LD_CLASS(TPropertyView, TCustomControl)

    static constexpr Integer RowHeight = 17;
    static constexpr Integer NameWidth = 112;
    static constexpr Integer EllipsisWidth = 16;

    TPropertyView(TComponent* owner, const TDesignRegistry& registry);

    // The designer whose selection is shown; null shows nothing.
    void SetDesigner(THostFormDesigner* designer);
    // Reads the selection's properties and values again (the selection or a value changed).
    void Refresh();

    Integer RowCount() const { return static_cast<Integer>(FRows.size()); }
    // The row of a property, -1 when the selection does not publish it.
    Integer RowOf(const std::string& propertyName) const;
    // The first row shown, and how many fit.
    Integer GetTopRow() const { return FTopRow; }
    Integer VisibleRows() const;
    void ScrollTo(Integer topRow);
    void MakeVisible(Integer row);
    bool HasScrollBar() const { return RowCount() > VisibleRows(); }
    TRect ScrollBarRect() const;
    TRect NameRect(Integer row) const;
    TRect ValueRect(Integer row) const;
    // The ellipsis button of a row, empty when its editor has no dialog.
    TRect EllipsisRect(Integer row) const;
    std::string ValueText(Integer row) const { return FRows.at(static_cast<size_t>(row)).Value; }
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
        const TPropInfo* Prop;
        std::string Value;
        bool Dialog;
    };

    std::unique_ptr<TPropertyEditor> EditorOf(const TRow& row) const;
    void BeginEdit(Integer row);
    void EndEdit();
    void Store(const std::string& text);
    void RunDialog(Integer row);
    void EditKeyDown(TObject* sender, Word& key, TShiftState shift);
    void ChoiceChanged(TObject* sender);
    void PaintRow(TCanvas* canvas, Integer row);
    Integer RowTop(Integer row) const { return (row - FTopRow + 1) * RowHeight; }
    TScrollRange Range() const { return {FTopRow, VisibleRows(), RowCount()}; }

    const TDesignRegistry& FRegistry;
    THostFormDesigner* FDesigner = nullptr;
    std::vector<TRow> FRows;
    std::string FSubject;
    Integer FEditingRow = -1;
    Integer FTopRow = 0;
    TEdit* FEdit;
    TComboBox* FChoice;
    TScrollBarTracker FBarTracker;
};

} // namespace ld
