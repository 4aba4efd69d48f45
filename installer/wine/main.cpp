// deckinstall for Linux: installs the component packages and help into the
// development environments of a Wine prefix (WINEPREFIX, else ~/.wine).
#include "LaunchdeckVersion.h"
#include "installer/core/Deckinstall.h"
#include "installer/wine/RegistryFile.h"
#include "installer/wine/WineOs.h"
#include "installer/wine/WinePrefix.h"

#include <iostream>

using namespace ld::deckinstall;

int main(int argc, char** argv)
{
    // No arguments: the installer has no options, as on Windows. One given is
    // refused before anything changes rather than ignored: "--help" must not install.
    // Only --version is answered, and it changes nothing.
    if (argc == 2 && std::string(argv[1]) == "--version")
        return ld::PrintVersion("deckinstall");
    if (argc > 1) {
        std::cerr << "deckinstall: unexpected argument " << argv[1]
                  << ": it takes none (it installs into the Wine prefix that WINEPREFIX names, else ~/.wine)\n";
        return 1;
    }
    try {
        TWinePrefix prefix(TWinePrefix::DefaultFolder());
        if (prefix.ServerRunning()) {
            std::cerr << "deckinstall: the wineserver of the Wine prefix " << prefix.Folder().string()
                      << " is running; it keeps the registry in memory and would overwrite the changes when it "
                         "saves. Nothing was changed. Stop it (wineserver -k) and run deckinstall again.\n";
            return 1;
        }
        TWineOs os(std::move(prefix), std::cout, std::cerr);
        return RunDeckinstall(os);
    } catch (const EWinePrefixError& failure) {
        std::cerr << "deckinstall: " << failure.what() << "\n";
    } catch (const ERegistryFileError& failure) {
        std::cerr << "deckinstall: malformed registry file: " << failure.what() << "\nNothing was changed.\n";
    } catch (const std::exception& failure) {
        std::cerr << "deckinstall: " << failure.what() << "\n";
    }
    return 1;
}
