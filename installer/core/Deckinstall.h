// The installer's main flow: detect the environments, install package and help
// into each one found, report once. Returns the program's exit code.
#pragma once

#include "installer/core/InstallerOs.h"

#include <exception>
#include <string>

namespace ld::deckinstall {

int RunDeckinstall(TInstallerOs& os);

// The text of the report of an unhandled failure: its class and its message.
std::string UnhandledFailureText(const std::exception& failure);

extern const char* const UnhandledFailureCaption;

} // namespace ld::deckinstall
