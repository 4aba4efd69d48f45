// The designed form as bytes and back: what an undo history keeps and what it
// brings back. A state is the form's binary component stream (TPF0, no
// resource header), exactly what a saved form file holds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/stream/TextForm.h"
#include "platform/vcl/Forms.h"

namespace ld {

// The form, everything it owns, as a binary component stream.
std::string StoreForm(TCustomForm* form);

// The name of the root component of a binary component stream.
std::string StoredRootName(std::string_view binary);
// The names of the root's own stored properties ("Caption", "Font.Height"), in order.
std::vector<std::string> StoredRootProperties(std::string_view binary);

// Reads a binary component stream into the (designed) form.
void ReadFormStream(TCustomForm* form, std::string_view binary, const std::vector<TTextMark>* marks = nullptr);

// Makes the form what Target stores, the form storing Current now: every
// component it owns is freed and read again from Target, and the form's own
// properties that Current stores and Target does not go back to what a
// missing value means (the declared default, an empty string, nil). The form
// object and its window stay.
void RestoreForm(TCustomForm* form, std::string_view current, std::string_view target);

} // namespace ld
