#include "platform/backends/BackendChoice.h"

#include <cstdio>
#include <cstdlib>

#include "LaunchdeckVersion.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/backends/X11Backend.h"

namespace ld {

namespace {
// The program's choice of X11 layout, from its arguments.
TX11Layout gLayout = TX11Layout::DesktopWindows;
} // namespace

bool TakeBackendArgument(const std::string& arg, TBackendRequest& request)
{
    if (arg == "--headless")
        request = TBackendRequest::Headless;
    else if (arg == "--x11")
        request = TBackendRequest::X11;
    else if (arg == "--virtual-desktop")
        gLayout = TX11Layout::VirtualDesktop;
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
            choice.Backend = std::make_unique<TX11Backend>(gLayout, width, height);
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

int RunDemoProgram(const TDemoProgram& program, int argc, char** argv)
{
    const char* name = program.Name.c_str();
    auto argumentError = [name](const std::string& fault) {
        std::fprintf(stderr, "%s: %s (%s --help shows the usage)\n", name, fault.c_str(), name);
        return 1;
    };
    std::filesystem::path out;
    TBackendRequest request = TBackendRequest::Automatic;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--out") {
            if (i + 1 == argc)
                return argumentError("--out needs a folder");
            out = argv[++i];
        } else if (arg == "--help" || arg == "-h") {
            program.Usage();
            return 0;
        } else if (arg == "--version") {
            return PrintVersion(name);
        } else if (!TakeBackendArgument(arg, request)) {
            return argumentError((arg.size() > 1 && arg[0] == '-' ? "unknown option " : "unexpected argument ") + arg);
        }
    }
    try {
        TBackendChoice choice = OpenBackend(request);
        if (!choice.Note.empty())
            std::fprintf(stderr, "%s: %s\n", name, choice.Note.c_str());
        if (choice.X11())
            return program.RunInWindow();
        if (out.empty())
            return argumentError("on the headless screen it needs --out DIR for its pictures");
        std::error_code ec;
        std::filesystem::create_directories(out, ec);
        if (ec) {
            std::fprintf(stderr, "%s: Cannot create folder %s: %s\n", name, out.string().c_str(), ec.message().c_str());
            return 1;
        }
        return program.RunTour(*choice.Headless(), out);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", name, e.what());
        return 1;
    }
}

} // namespace ld
