// The scripted tour of the Launchdeck demo on the headless screen: real
// injected pointer moves, clicks, drags and keys, a PNG of the form and the
// event log written after every step.
#pragma once

#include <filesystem>

#include "apps/launchdeck/LaunchdeckDemoForm.h"
#include "platform/backends/HeadlessBackend.h"

namespace ld::launchdeck {

// Plays the tour on Form, writing NN-step.png and log.txt into Out; returns
// the number of pictures written.
Integer PlayTour(THeadlessBackend& backend, TLaunchdeckDemoForm& form, const std::filesystem::path& out);

} // namespace ld::launchdeck
