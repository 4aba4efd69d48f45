// The bar demo's roll: frames of a running sheet roll, taken from the screen
// while the roll busy-waits, saved side by side as one PNG strip.
#pragma once

#include <filesystem>

namespace ld {

class THeadlessBackend;
class TLaunchdeck;

// Rolls Bar from its first sheet to its last and back, each on the simulated
// clock, and writes roll_down_strip.png and roll_up_strip.png into Out.
void SaveRollStrips(THeadlessBackend& backend, TLaunchdeck* bar, const std::filesystem::path& out);

} // namespace ld
