#include "host/DesignHistory.h"

namespace ld {

void TDesignHistory::Record(TDesignChange change)
{
    FChanges.erase(FChanges.begin() + static_cast<std::ptrdiff_t>(FDone), FChanges.end());
    FChanges.push_back(std::move(change));
    if (FChanges.size() > MaxLevels)
        FChanges.pop_front();
    FDone = FChanges.size();
}

const TDesignChange* TDesignHistory::Undo()
{
    if (!CanUndo())
        return nullptr;
    return &FChanges[--FDone];
}

const TDesignChange* TDesignHistory::Redo()
{
    if (!CanRedo())
        return nullptr;
    return &FChanges[FDone++];
}

void TDesignHistory::Clear()
{
    FChanges.clear();
    FDone = 0;
}

} // namespace ld
