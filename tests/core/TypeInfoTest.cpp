#include <gtest/gtest.h>

#include "platform/core/Classes.h"

using namespace ld;

namespace {

enum TShape { shCircle, shSquare, shTriangle };
using TShapes = TSet<TShape, uint8_t>;

const TEnumInfo& ShapeInfo()
{
    static const TEnumInfo info{"TShape", {"shCircle", "shSquare", "shTriangle"}};
    return info;
}

const TIntegerIdents& TestColorIdents()
{
    static const TIntegerIdents idents{"TTestColor", {{0x000000, "clBlack"}, {int32_t(0x8000000F), "clBtnFace"}}};
    return idents;
}

class TPart : public TPersistent {
    LD_CLASS(TPart, TPersistent)
    Integer GetSize() const { return FSize; }
    void SetSize(Integer v) { FSize = v; }
    Integer FSize = 3;
};

class TWidget : public TComponent {
    LD_CLASS(TWidget, TComponent)
    explicit TWidget(TComponent* owner) : TComponent(owner) {}
    ~TWidget() override { delete FPart; }

    Integer GetColor() const { return FColor; }
    void SetColor(Integer v) { FColor = v; }
    TShape GetShape() const { return FShape; }
    void SetShape(TShape v) { FShape = v; }
    TShapes GetShapes() const { return FShapes; }
    void SetShapes(TShapes v) { FShapes = v; }
    const std::string& GetCaption() const { return FCaption; }
    void SetCaption(const std::string& v) { FCaption = v; }
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool v) { FVisible = v; }
    TPart* GetPart() const { return FPart; }
    TWidget* GetBuddy() const { return FBuddy; }
    void SetBuddy(TWidget* v) { FBuddy = v; }
    TNotifyEvent GetOnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent v) { FOnClick = std::move(v); }
    bool IsCaptionStored() const { return FCaption != "skip"; }

    void Clicked(TObject*) { ++Clicks; }
    void Other(TObject*, bool&) {}

    Integer FColor = int32_t(0x8000000F);
    TShape FShape = shCircle;
    TShapes FShapes;
    std::string FCaption;
    bool FVisible = true;
    TPart* FPart = new TPart;
    TWidget* FBuddy = nullptr;
    TNotifyEvent FOnClick;
    int Clicks = 0;
};

class TBigWidget : public TWidget {
    LD_CLASS(TBigWidget, TWidget)
    using TWidget::TWidget;
    Integer GetExtra() const { return 0; }
    void SetExtra(Integer) {}
};

} // namespace

TClass TPart::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TPart>("TPart", TPersistent::StaticClass())
                                       .Integer("Size", &TPart::GetSize, &TPart::SetSize)
                                       .Default(3);
    return &info;
}

TClass TWidget::StaticClass()
{
    static const TClassInfo info =
        TClassBuilder<TWidget>("TWidget", TComponent::StaticClass())
            .Integer("Color", &TWidget::GetColor, &TWidget::SetColor)
            .Idents(TestColorIdents())
            .Default(int32_t(0x8000000F))
            .Enum("Shape", &TWidget::GetShape, &TWidget::SetShape, ShapeInfo())
            .Default(shCircle)
            .Set("Shapes", &TWidget::GetShapes, &TWidget::SetShapes, ShapeInfo())
            .Default(TShapes{})
            .String("Caption", &TWidget::GetCaption, &TWidget::SetCaption)
            .Stored(&TWidget::IsCaptionStored)
            .Boolean("Visible", &TWidget::GetVisible, &TWidget::SetVisible)
            .Default(true)
            .Object("Part", &TWidget::GetPart, nullptr)
            .Component("Buddy", &TWidget::GetBuddy, &TWidget::SetBuddy)
            .Event("OnClick", &TWidget::GetOnClick, &TWidget::SetOnClick)
            .Method("Clicked", &TWidget::Clicked)
            .Method("Other", &TWidget::Other);
    return &info;
}

TClass TBigWidget::StaticClass()
{
    // Redeclares Shape with another default and adds Extra.
    static const TClassInfo info = TClassBuilder<TBigWidget>("TBigWidget", TWidget::StaticClass())
                                       .Integer("Extra", &TBigWidget::GetExtra, &TBigWidget::SetExtra)
                                       .Enum("Shape", &TWidget::GetShape, &TWidget::SetShape, ShapeInfo())
                                       .Default(shSquare);
    return &info;
}

TEST(TypeInfo, PropertiesInheritedFirstInDeclarationOrder)
{
    std::vector<std::string> names;
    for (const TPropInfo* p : TBigWidget::StaticClass()->Properties())
        names.push_back(p->Name);
    EXPECT_EQ(names, (std::vector<std::string>{"Name", "Tag", "Color", "Shape", "Shapes", "Caption", "Visible", "Part",
                                               "Buddy", "OnClick", "Extra"}));
    EXPECT_EQ(TBigWidget::StaticClass()->FindProperty("shape")->Default, shSquare);
    EXPECT_EQ(TWidget::StaticClass()->FindProperty("Shape")->Default, shCircle);
    EXPECT_EQ(TWidget::StaticClass()->FindProperty("Nope"), nullptr);
    EXPECT_TRUE(TBigWidget::StaticClass()->InheritsFrom(TComponent::StaticClass()));
    EXPECT_FALSE(TWidget::StaticClass()->InheritsFrom(TBigWidget::StaticClass()));
}

TEST(TypeInfo, AccessorsReachTheObject)
{
    TWidget w(nullptr);
    TClass cls = w.ClassType();
    cls->FindProperty("Shape")->SetOrd(&w, shTriangle);
    EXPECT_EQ(w.FShape, shTriangle);
    cls->FindProperty("Shapes")->SetOrd(&w, TShapes{shSquare, shTriangle}.Bits());
    EXPECT_TRUE(w.FShapes.Contains(shSquare));
    EXPECT_FALSE(w.FShapes.Contains(shCircle));
    cls->FindProperty("Visible")->SetOrd(&w, 0);
    EXPECT_FALSE(w.FVisible);
    cls->FindProperty("Caption")->SetStr(&w, "skip");
    EXPECT_FALSE(cls->FindProperty("Caption")->IsStored(&w));
    EXPECT_EQ(cls->FindProperty("Part")->GetObj(&w), w.FPart);
    EXPECT_FALSE(cls->FindProperty("Part")->IsWritable());
    EXPECT_EQ(cls->FindProperty("Part")->PropClass(), TPart::StaticClass());
    TWidget buddy(nullptr);
    cls->FindProperty("Buddy")->SetObj(&w, &buddy);
    EXPECT_EQ(w.FBuddy, &buddy);
    Integer color = 0;
    EXPECT_TRUE(TestColorIdents().IdentToInt("CLBTNFACE", color));
    EXPECT_EQ(color, int32_t(0x8000000F));
}

TEST(TypeInfo, EventsBindByPublishedMethodName)
{
    TWidget w(nullptr);
    const TPropInfo* onClick = w.ClassType()->FindProperty("OnClick");
    TMethod m = w.MethodAddress("clicked");
    ASSERT_TRUE(m.Assigned());
    EXPECT_EQ(m.Name, "Clicked");
    EXPECT_TRUE(*onClick->EventSignature == *m.Code.Signature);
    onClick->SetMethod(&w, m);
    w.FOnClick(&w);
    EXPECT_EQ(w.Clicks, 1);
    EXPECT_EQ(onClick->GetMethod(&w).Name, "Clicked");
    // A closure made in code finds its published name through the class.
    w.SetOnClick(TNotifyEvent(&w, &TWidget::Clicked));
    EXPECT_EQ(w.MethodName(onClick->GetMethod(&w).Code), "Clicked");
    // A method of another signature does not fit the event.
    TMethod other = w.MethodAddress("Other");
    EXPECT_FALSE(*onClick->EventSignature == *other.Code.Signature);
    EXPECT_FALSE(TNotifyEvent::FromMethod(other).Assigned());
    EXPECT_FALSE(w.MethodAddress("Missing").Assigned());
}

TEST(TSet, StoredInTheDeclaredSize)
{
    static_assert(sizeof(TShapes) == 1);
    TShapes s{shCircle};
    s.Include(shTriangle);
    EXPECT_EQ(s.Bits(), 5u);
    EXPECT_TRUE((TShapes{shCircle} <= s));
    EXPECT_EQ((s - TShapes{shCircle}), TShapes{shTriangle});
}

namespace {

// A base that declares Caption for its descendants with a stored rule, and two
// descendants: one publishes it plainly, one with a rule of its own.
class TCaptioned : public TComponent {
    LD_CLASS(TCaptioned, TComponent)
    explicit TCaptioned(TComponent* owner) : TComponent(owner) {}
    const std::string& GetCaption() const { return FCaption; }
    void SetCaption(const std::string& v) { FCaption = v; }
    bool IsCaptionStored() const { return !FFromParent; }
    std::string FCaption;
    bool FFromParent = true;
};

class TPlainCaptioned : public TCaptioned {
    LD_CLASS(TPlainCaptioned, TCaptioned)
    explicit TPlainCaptioned(TComponent* owner) : TCaptioned(owner) {}
};

class TNeverCaptioned : public TCaptioned {
    LD_CLASS(TNeverCaptioned, TCaptioned)
    explicit TNeverCaptioned(TComponent* owner) : TCaptioned(owner) {}
};

} // namespace

TClass TCaptioned::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TCaptioned>("TCaptioned", TComponent::StaticClass())
        .String("Caption", &TCaptioned::GetCaption, &TCaptioned::SetCaption)
        .Stored(&TCaptioned::IsCaptionStored)
        .Protected();
    return &info;
}

TClass TPlainCaptioned::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TPlainCaptioned>("TPlainCaptioned", TCaptioned::StaticClass())
        .String("Caption", &TPlainCaptioned::GetCaption, &TPlainCaptioned::SetCaption);
    return &info;
}

TClass TNeverCaptioned::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TNeverCaptioned>("TNeverCaptioned", TCaptioned::StaticClass())
        .String("Caption", &TNeverCaptioned::GetCaption, &TNeverCaptioned::SetCaption)
        .Stored(false);
    return &info;
}

TEST(TypeInfo, ADeclaredPropertyIsNotPublishedButLendsItsStoredRule)
{
    EXPECT_EQ(TCaptioned::StaticClass()->FindProperty("Caption"), nullptr);
    EXPECT_EQ(TCaptioned::StaticClass()->Properties().size(), TComponent::StaticClass()->Properties().size());
    TPlainCaptioned plain(nullptr);
    const TPropInfo* caption = TPlainCaptioned::StaticClass()->FindProperty("Caption");
    ASSERT_NE(caption, nullptr);
    EXPECT_FALSE(caption->IsStored(&plain));
    plain.FFromParent = false;
    EXPECT_TRUE(caption->IsStored(&plain));
    // A rule of the descendant's own wins.
    TNeverCaptioned never(nullptr);
    never.FFromParent = false;
    EXPECT_FALSE(TNeverCaptioned::StaticClass()->FindProperty("Caption")->IsStored(&never));
}
