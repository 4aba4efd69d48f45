#include "platform/backends/BackendChoice.h"

#include <cstdlib>

#include "platform/backends/HeadlessBackend.h"
#include "platform/backends/X11Backend.h"

namespace ld {

bool TakeBackendArgument(const std::string& arg, TBackendRequest& request)
{
    if (arg == "--headless")
        request = TBackendRequest::Headless;
    else if (arg == "--x11")
        request = TBackendRequest::X11;
    else
        return false;
    return true;
}

THeadlessBackend* TBackendChoice::Headless() const { return dynamic_cast<THeadlessBackend*>(Backend.get()); }
TX11Backend* TBackendChoice::X11() const { return dynamic_cast<TX11Backend*>(Backend.get()); }

TBackendChoice OpenBackend(TBackendRequest request, Integer width, Integer height)
{
    TBackendChoice choice;
    const char* display = std::getenv("DISPLAY");
    bool tryX11 = request == TBackendRequest::X11 || (request == TBackendRequest::Automatic && display && *display);
    if (tryX11) {
        try {
            choice.Backend = std::make_unique<TX11Backend>(width, height);
            return choice;
        } catch (const EX11Error& e) {
            if (request == TBackendRequest::X11)
                throw;
            choice.Note = std::string(e.what()) + "; running on the headless screen";
        }
    }
    choice.Backend = std::make_unique<THeadlessBackend>(width, height);
    return choice;
}

} // namespace ld
