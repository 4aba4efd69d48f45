// Where designed controls may go and how they get there: the rules the form
// designer applies when a person moves, sizes or drops them. Pure decisions
// and single steps; the designer makes each whole edit one change.
#pragma once

#include <vector>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"

namespace ld {

// The designer's grid: dropped and sized controls land on its points unless
// Alt is held.
constexpr Integer DesignGrid = 8;

// Value rounded to the nearest multiple of Grid.
Integer SnapToGrid(Integer value, Integer grid = DesignGrid);

// Whether Parent takes Child when a person drops it there: Parent accepts
// controls (csAcceptsControls) and is neither Child nor inside it.
bool AcceptsChild(const TWinControl* parent, const TControl* child);
// A control whose parent accepts no controls was put there by the parent
// itself (a sheet in its bar): the parent places it, and it never leaves it
// by a drop.
bool IsHeldByParent(const TControl* control);

// The designed control under a client point of Parent, deepest first, passing
// over Excluded and what they hold; null when there is none but Parent.
TControl* DesignedControlAt(const TWinControl* parent, TPoint clientPoint,
                            const std::vector<TControl*>& excluded = {});
// The container that controls dropped at a screen point go into: the deepest
// control there that accepts every one of Moving, else Form.
TWinControl* DropTargetAt(TCustomForm* form, TPoint screenPoint, const std::vector<TControl*>& moving);

// The selected components less those inside another selected one (they go
// along with it), in the order the form owns them; never the form itself.
std::vector<TComponent*> SelectionRoots(TCustomForm* form, const std::vector<TPersistent*>& selection);

// A control's top-left corner in screen coordinates.
TPoint ScreenTopLeft(const TControl* control);
// Moves Control into NewParent (which must accept it) with its top-left
// corner at TopLeft, a client point of NewParent; it keeps its size.
void MoveControlTo(TControl* control, TWinControl* newParent, TPoint topLeft);

} // namespace ld
