// An item's editor freed with its message still queued, and a new editor put
// at the freed one's address: the reuse a heap may do at any time, made
// certain here by this program's own operator new and delete, which is why
// the test is a program of its own.
#include "tests/list/ListTestSupport.h"

#include <cstdlib>
#include <new>
#include <utility>

#include "controls/shared/ShortcutEdit.h"
#include "platform/win/MessageQueue.h"

namespace {

// While armed with a size, the next block of that size freed by a sized
// delete is kept and handed to the next allocation of that size.
struct TReuse {
    std::size_t Size = 0;
    void* Kept = nullptr;
} Reuse;

void* Allocate(std::size_t size)
{
    if (Reuse.Kept != nullptr && size == Reuse.Size)
        return std::exchange(Reuse.Kept, nullptr);
    return std::malloc(size == 0 ? 1 : size);
}

void Release(void* p, std::size_t size)
{
    if (p != nullptr && size == Reuse.Size && Reuse.Kept == nullptr)
        Reuse.Kept = p;
    else
        std::free(p);
}

} // namespace

// Every plain form, so that no block crosses between these and the runtime's own.
void* operator new(std::size_t size)
{
    if (void* p = Allocate(size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t size) noexcept { Release(p, size); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace ld::test {
namespace {

// The user's case: the item goes while its editor's message is queued, and a
// new editor opens at once, at the same address. The late message must not
// close it.
TEST_F(ListTest, TheLateMessageOfAFreedEditorLeavesANewEditorAtItsAddressOpen)
{
    TShortcutList* list = AddBarList({soAnimatedSheets});
    AddItems(list, {"Mail", "Notes", "Calendar"});
    TShortcutItems* items = list->GetItems();
    list->EditCaption(items->GetItem(1));
    Backend->Type("Gone");
    Backend->RunUntilIdle();
    TShortcutEdit* freed = list->GetCaptionEdit();
    freed->Finished(true);

    Reuse.Size = sizeof(TShortcutEdit);
    delete items->GetItem(1);
    MSG msg;
    EXPECT_FALSE(PeekMessage(msg, nullptr, SEM_FINISHED, SEM_FINISHED, PM_NOREMOVE)) << "the freed editor's message";
    list->EditCaption(items->GetItem(0));
    TShortcutEdit* fresh = list->GetCaptionEdit();
    Reuse.Size = 0;
    ASSERT_EQ(fresh, freed) << "the new editor took the freed one's address";

    Backend->RunUntilIdle();
    ASSERT_EQ(list->GetCaptionEdit(), fresh) << "the late message closed the new editor";
    EXPECT_FALSE(fresh->IsFinished());
    EXPECT_EQ(items->GetItem(1)->GetCaption(), "Calendar");
    Backend->Type("Your ");
    Backend->Key(VK_RETURN);
    Backend->RunUntilIdle();
    EXPECT_EQ(items->GetItem(0)->GetCaption(), "Your Mail");
}

} // namespace
} // namespace ld::test
