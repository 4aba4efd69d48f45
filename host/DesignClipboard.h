// Designed components as clipboard text, the way the host's designer puts
// them there: the text form of each copied component, one `object ... end`
// block after another, exactly as a text form file holds it (its children,
// items and properties, references by name, its position in its parent).
// So copied components read as a form file in a text editor, and blocks cut
// out of a text form file paste as components.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/vcl/Controls.h"

namespace ld {

// The text of Components (none inside another), written with Root as the
// root their references are named in.
std::string ComponentsToText(TComponent* root, const std::vector<TComponent*>& components);

// The class names of the outermost objects of clipboard text, in order.
// EParserError for text that is no sequence of objects.
std::vector<std::string> TextObjectClasses(std::string_view text);

// Gives a name no component of the form uses, for a class name.
using TUniqueNameFunc = std::function<std::string(const std::string& className)>;

// Reads the components of clipboard text into Root, owned by it, the
// outermost with Parent as their parent. A name already used in Root (or an
// empty one) is replaced by UniqueName's, and references to a renamed
// component follow it. Returns the outermost components. Malformed text
// raises EParserError or EReadError and leaves Root as it was.
std::vector<TComponent*> ComponentsFromText(TComponent* root, TWinControl* parent, std::string_view text,
                                            const TUniqueNameFunc& uniqueName);

} // namespace ld
