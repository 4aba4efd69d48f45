// The package's registration unit: Register is what the design environment
// calls once after loading the package. It is exported under its plain name so
// the environment finds it in the loaded library.
#pragma once

extern "C" void Register();
