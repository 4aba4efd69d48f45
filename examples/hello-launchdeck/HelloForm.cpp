#include "HelloForm.h"

#include <cstdio>

#include "IconTheme.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/ImgList.h"

namespace hello {
namespace {

// The icons the stored form's items name by image index.
const char* const IconNames[] = {
    "user-home",         "folder-documents",      "folder-music",         "folder-pictures",
    "x-office-calendar", "x-office-address-book", "x-office-spreadsheet", "computer",
    "printer",           "user-trash",
};

ld::TImageList* LoadIcons(ld::TComponent* owner, int size)
{
    auto* images = new ld::TImageList(owner, size, size);
    for (const char* name : IconNames) {
        ld::TBitmap icon;
        icon.LoadFromFile(FindThemeIcon(name, size).string());
        images->Add(&icon);
    }
    return images;
}

} // namespace

ld::TClass THelloForm::StaticClass()
{
    using F = THelloForm;
    static const ld::TClassInfo info = ld::TClassBuilder<F>("THelloForm", ld::TForm::StaticClass())
        .Field("Bar", &F::Bar)
        .Field("SheetPlaces", &F::SheetPlaces)
        .Field("SheetOffice", &F::SheetOffice)
        .Field("SheetSystem", &F::SheetSystem)
        .Field("ListPlaces", &F::ListPlaces)
        .Field("ListOffice", &F::ListOffice)
        .Field("ListSystem", &F::ListSystem)
        .Field("Hint", &F::Hint)
        .Field("Clicked", &F::Clicked)
        .Method("FormCreate", &F::FormCreate)
        .Method("ListClick", &F::ListClick);
    return &info;
}

void THelloForm::FormCreate(ld::TObject*)
{
    ld::TImageList* large = LoadIcons(this, 32);
    ld::TImageList* small = LoadIcons(this, 16);
    for (ld::TShortcutList* list : {ListPlaces, ListOffice, ListSystem}) {
        list->SetLargeImages(large);
        list->SetSmallImages(small);
    }
}

// While OnClick runs, the list's active item is the one clicked.
void THelloForm::ListClick(ld::TObject* sender)
{
    ld::TShortcutItem* item = static_cast<ld::TShortcutList*>(sender)->GetActiveItem();
    const std::string caption = item ? item->GetCaption() : "nothing";
    Clicked->SetCaption("You clicked " + caption + ".");
    std::printf("clicked %s\n", caption.c_str());
    std::fflush(stdout);
}

} // namespace hello
