// The clipboard of the class library: text only. Where the backend shares a
// clipboard with other programs the text goes there; otherwise it stays in
// the program, so copy and paste still work between its own controls.
#pragma once

#include <string>

#include "platform/core/Object.h"

namespace ld {

class TClipboard : public TObject {
public:
    std::string GetAsText() const;
    void SetAsText(const std::string& value);
    bool HasText() const { return !GetAsText().empty(); }
    void Clear() { SetAsText({}); }

private:
    std::string FText;
};

// The one clipboard of the program.
TClipboard* Clipboard();

} // namespace ld
