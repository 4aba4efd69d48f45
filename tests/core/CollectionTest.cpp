#include <gtest/gtest.h>

#include "platform/core/Collection.h"
#include "platform/core/Strings.h"
#include "platform/core/SysUtils.h"

using namespace ld;

namespace {
class TNumberItem : public TCollectionItem {
    LD_CLASS(TNumberItem, TCollectionItem)
    explicit TNumberItem(TCollection* c) : TCollectionItem(c) {}
    void Assign(TPersistent* source) override
    {
        if (auto* n = dynamic_cast<TNumberItem*>(source)) {
            Value = n->Value;
            return;
        }
        inherited::Assign(source);
    }
    int Value = 0;
};

class TCountingCollection : public TCollection {
public:
    TCountingCollection() : TCollection(TNumberItem::StaticClass()) {}
    int Updates = 0;

protected:
    void Update(TCollectionItem*) override { ++Updates; }
};

int ValueAt(const TCollection& c, Integer i) { return static_cast<TNumberItem*>(c.Items(i))->Value; }
} // namespace

TClass TNumberItem::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TNumberItem>("TNumberItem", TCollectionItem::StaticClass());
    return &info;
}

TEST(TCollection, ItemsKnowTheirPlaceAndLeaveWhenFreed)
{
    TCountingCollection c;
    for (int i = 0; i < 3; ++i)
        static_cast<TNumberItem*>(c.Add())->Value = i;
    auto* inserted = static_cast<TNumberItem*>(c.Insert(1));
    inserted->Value = 9;
    EXPECT_EQ(inserted->GetIndex(), 1);
    EXPECT_EQ(ValueAt(c, 2), 1);
    inserted->SetIndex(3);
    EXPECT_EQ(ValueAt(c, 3), 9);
    EXPECT_THROW(inserted->SetIndex(4), EListError);
    EXPECT_THROW(c.Insert(6), EListError);
    EXPECT_EQ(c.Count(), 4);
    delete c.Items(0);
    EXPECT_EQ(c.Count(), 3);
    EXPECT_EQ(ValueAt(c, 0), 1);
    EXPECT_THROW(c.Delete(3), EListError);
    c.Delete(0);
    EXPECT_EQ(c.Count(), 2);
}

TEST(TCollection, AssignCopiesInOneUpdate)
{
    TCountingCollection source, target;
    static_cast<TNumberItem*>(source.Add())->Value = 4;
    static_cast<TNumberItem*>(source.Add())->Value = 5;
    target.Add();
    target.Updates = 0;
    target.Assign(&source);
    EXPECT_EQ(target.Updates, 1);
    ASSERT_EQ(target.Count(), 2);
    EXPECT_EQ(ValueAt(target, 1), 5);
    TStringList* notACollection = nullptr;
    EXPECT_THROW(target.Assign(notACollection), EConvertError);
}
