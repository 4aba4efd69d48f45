// The designed form as bytes and back: what an undo history keeps and what it
// brings back. A state is the form's binary component stream (TPF0, no
// resource header), exactly what a saved form file holds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/stream/Reader.h"
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

// Reads past one object (a component and what it holds) of a binary
// component stream; returns its class name, and adds the names of it and of
// every object inside it to Names, in stream order, when given.
std::string SkipStoredObject(TReader& reader, std::vector<std::string>* names = nullptr);

// Makes the form what Target stores, the form storing Current now. When the
// form's own properties are the same in both, only the components directly on
// the form whose stored bytes differ are freed and read again (with what they
// hold), put back in their places, and the result checked against Target.
// Otherwise, or when that check fails, every component the form owns is freed
// and read again, and the form's own properties that Current stores and
// Target does not go back to what a missing value means (the declared
// default, an empty string, nil). The form object and its window stay.
void RestoreForm(TCustomForm* form, std::string_view current, std::string_view target);

} // namespace ld
