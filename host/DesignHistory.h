// The designer's undo history. Every change of the designed form is one
// TDesignChange: the form's stored bytes and selection before it and after
// it. Reverting a change brings back the bytes from before, applying it again
// the bytes from after, whatever kind of change it was, so the history needs
// no knowledge of moves, property edits, verbs or dialogs.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace ld {

// The designed form at one moment: its binary component stream and the names
// of the selected components (the form's own name for the form).
struct TDesignState {
    std::shared_ptr<const std::string> Form;
    std::vector<std::string> Selection;
};

// Where a change is applied or reverted: the form designer.
class TDesignStateTarget {
public:
    virtual ~TDesignStateTarget() = default;
    virtual void RestoreState(const TDesignState& state) = 0;
};

class TDesignChange {
public:
    TDesignChange(TDesignState before, TDesignState after) : FBefore(std::move(before)), FAfter(std::move(after)) {}
    void Apply(TDesignStateTarget& target) const { target.RestoreState(FAfter); }
    void Revert(TDesignStateTarget& target) const { target.RestoreState(FBefore); }
    const TDesignState& Before() const { return FBefore; }
    const TDesignState& After() const { return FAfter; }

private:
    TDesignState FBefore;
    TDesignState FAfter;
};

class TDesignHistory {
public:
    // The oldest changes are dropped beyond this many.
    static constexpr size_t MaxLevels = 500;

    // A new change; whatever was undone before it can no longer be redone.
    void Record(TDesignChange change);
    bool CanUndo() const { return FDone > 0; }
    bool CanRedo() const { return FDone < FChanges.size(); }
    // The change to revert, or null; it counts as undone from now on.
    const TDesignChange* Undo();
    // The change to apply again, or null.
    const TDesignChange* Redo();
    size_t UndoCount() const { return FDone; }
    size_t RedoCount() const { return FChanges.size() - FDone; }
    void Clear();

private:
    std::deque<TDesignChange> FChanges;
    size_t FDone = 0; // the changes before this index are done, the rest undone
};

} // namespace ld
