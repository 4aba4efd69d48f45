#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Classes.h"

using namespace ld;

namespace {

std::vector<std::string> gLog;

// Records every notice it hears and drops its reference when told of a removal.
class TWatcher : public TComponent {
    LD_CLASS(TWatcher, TComponent)
    explicit TWatcher(TComponent* owner) : TComponent(owner) {}
    ~TWatcher() override { gLog.push_back("free " + GetName()); }
    void Notification(TComponent* c, TOperation op) override
    {
        inherited::Notification(c, op);
        gLog.push_back(GetName() + (op == opInsert ? " +" : " -") + c->GetName());
        if (op == opRemove && c == Ref)
            Ref = nullptr;
    }
    TComponent* Ref = nullptr;
};

TClass TWatcher::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TWatcher>("TWatcher", TComponent::StaticClass());
    return &info;
}

TWatcher* Make(TComponent* owner, const std::string& name)
{
    auto* w = new TWatcher(owner);
    w->SetName(name);
    return w;
}

} // namespace

TEST(TComponent, OwnerListsIndexesAndFreesWhatItOwns)
{
    gLog.clear();
    auto* owner = Make(nullptr, "Owner");
    auto* a = Make(owner, "A");
    auto* b = Make(owner, "B");
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Components(1), b);
    EXPECT_EQ(b->GetComponentIndex(), 1);
    EXPECT_EQ(owner->FindComponent("a"), a);
    EXPECT_THROW(owner->Components(2), EListError);
    b->SetComponentIndex(0);
    EXPECT_EQ(owner->Components(0), b);
    EXPECT_EQ(b->Owner(), owner);
    a->FreeNotification(b); // B watches A: A's removal is announced
    gLog.clear();
    owner->Free();
    // The owner's own destructor body runs first, then its components go, last
    // first; only a watched one is removed with a notice.
    EXPECT_EQ(gLog, (std::vector<std::string>{"free Owner", "A -A", "B -A", "free A", "free B"}));
}

TEST(TComponent, NamesAreValidatedAndUniqueAmongTheOwner)
{
    auto* owner = Make(nullptr, "Owner");
    auto* a = Make(owner, "Button1");
    auto* b = Make(owner, "Button2");
    try {
        b->SetName("BUTTON1");
        FAIL();
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "A component named BUTTON1 already exists");
    }
    EXPECT_EQ(b->GetName(), "Button2");
    try {
        b->SetName("2nd");
        FAIL();
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "'2nd' is not a valid component name");
    }
    a->SetName("button1"); // its own name in another case is fine
    EXPECT_EQ(a->GetName(), "button1");
    b->SetName("");
    Make(owner, ""); // any number of unnamed components
    auto* other = Make(nullptr, "Button1"); // another owner: no clash
    EXPECT_THROW(owner->InsertComponent(other), EComponentError);
    EXPECT_EQ(other->Owner(), nullptr);
    other->Free();
    owner->Free();
}

TEST(TComponent, InsertAndRemoveNoticesReachOwnedComponents)
{
    auto* owner = Make(nullptr, "Owner");
    auto* a = Make(owner, "A");
    gLog.clear();
    auto* b = new TWatcher(owner);
    EXPECT_EQ(gLog, (std::vector<std::string>{"A +", "Owner +"}));
    b->SetName("B");
    gLog.clear();
    owner->RemoveComponent(b);
    EXPECT_EQ(gLog, (std::vector<std::string>{"B -B", "A -B", "Owner -B"}));
    EXPECT_EQ(b->Owner(), nullptr);
    EXPECT_EQ(owner->ComponentCount(), 1);
    a->InsertComponent(b);
    EXPECT_EQ(b->Owner(), a);
    owner->Free();
}

TEST(TComponent, FreeNotificationAcrossOwnersIsMutual)
{
    auto* form1 = Make(nullptr, "Form1");
    auto* form2 = Make(nullptr, "Form2");
    auto* user = Make(form1, "User");
    auto* images = Make(form2, "Images");
    user->Ref = images;
    images->FreeNotification(user);
    EXPECT_TRUE(images->ComponentState().Contains(csFreeNotification));
    images->Free();
    EXPECT_EQ(user->Ref, nullptr);

    // The other way round: the subscriber dies first and must not be told later.
    auto* images2 = Make(form2, "Images2");
    auto* user2 = Make(form1, "User2");
    images2->FreeNotification(user2);
    user2->Free();
    gLog.clear();
    images2->Free();
    EXPECT_EQ(gLog, (std::vector<std::string>{"free Images2", "Form2 -Images2"}));
    form1->Free();
    form2->Free();
}

TEST(TComponent, DesigningReachesOwnedComponentsAndNewcomers)
{
    auto* owner = Make(nullptr, "Owner");
    auto* a = Make(owner, "A");
    auto* aa = Make(a, "AA");
    owner->SetDesigning(true);
    EXPECT_TRUE(aa->ComponentState().Contains(csDesigning));
    auto* b = Make(owner, "B");
    EXPECT_TRUE(b->ComponentState().Contains(csDesigning));
    owner->SetDesigning(false);
    EXPECT_FALSE(aa->ComponentState().Contains(csDesigning));
    owner->Free();
}

TEST(TComponent, DestroyingIsSetBeforeDestructorsRun)
{
    struct TProbe : TComponent {
        explicit TProbe(TComponent* o, bool* seen) : TComponent(o), Seen(seen) {}
        ~TProbe() override { *Seen = ComponentState().Contains(csDestroying); }
        bool* Seen;
    };
    bool child = false, top = false;
    auto* owner = new TProbe(nullptr, &top);
    new TProbe(owner, &child);
    owner->Free();
    EXPECT_TRUE(top);
    EXPECT_TRUE(child);
}

TEST(TPersistent, AssignErrorNamesBothClasses)
{
    TStringList list;
    auto* owner = Make(nullptr, "Owner");
    try {
        list.Assign(owner);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TWatcher to a TStringList");
    }
    try {
        owner->Assign(nullptr);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a nil to a TWatcher");
    }
    owner->Free();
}

TEST(ClassRegistry, FindCreateAndUnknownNames)
{
    RegisterClass(TWatcher::StaticClass());
    EXPECT_EQ(GetClass("twatcher"), TWatcher::StaticClass());
    EXPECT_EQ(GetClass("TComponent"), TComponent::StaticClass());
    try {
        FindClass("TNoSuch");
        FAIL();
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message(), "Class TNoSuch not found");
    }
    auto* owner = Make(nullptr, "Owner");
    TComponent* c = CreateComponent("TWatcher", owner);
    EXPECT_TRUE(c->Is<TWatcher>());
    EXPECT_EQ(c->Owner(), owner);
    RegisterClass(TStringList::StaticClass());
    EXPECT_THROW(CreateComponent("TStringList", owner), EInvalidCast);
    owner->Free();
}

namespace {
class TQuiet : public TComponent {
    LD_CLASS(TQuiet, TComponent)
    explicit TQuiet(TComponent* owner) : TComponent(owner) {}
};
} // namespace

TClass TQuiet::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TQuiet>("TQuiet", TComponent::StaticClass());
    return &info;
}

TEST(TComponent, NoticesReachWatchersBehindQuietComponents)
{
    RegisterClasses({TQuiet::StaticClass(), TWatcher::StaticClass()});
    auto* owner = Make(nullptr, "Owner");
    TComponent* quiet = CreateComponent("TQuiet", owner);
    quiet->SetName("Quiet");
    TComponent* watcher = CreateComponent("TWatcher", owner);
    watcher->SetName("W1");
    Make(quiet, "Inner"); // the quiet one owns a watcher now: it must pass notices on
    TComponent* other = CreateComponent("TQuiet", nullptr);
    other->SetName("Far");
    watcher->FreeNotification(other);
    gLog.clear();
    auto* late = new TComponent(owner);
    late->SetName("Late");
    EXPECT_EQ(gLog, (std::vector<std::string>{"W1 +", "Inner +", "Owner +"}));
    gLog.clear();
    other->Free(); // W1 watches it across owners
    EXPECT_EQ(gLog, (std::vector<std::string>{"W1 -Far"}));
    owner->Free();
}
