// The host class library a unit is compiled for. Each package build compiles
// the controls once for its host; everything else (the demo, the tests of the
// layers) uses the newest host.
//
//   LD_HOST_VERSION   30 Delphi 3, 35 C++Builder 3, 40 Delphi 4, 50 Delphi 5
//
// The differences are kept to the few places that need one, each behind one of
// the switches below. The hosts' other differences (BeginDrag's threshold
// argument, the image list's enabled flag, how a component editor reaches its
// designer, static or virtual bindings, whose Loaded the controls inherit) need
// no switch here: this class library has one form of each that serves all four.
#pragma once

#ifndef LD_HOST_VERSION
#define LD_HOST_VERSION 50
#endif

// Anchors, size constraints and docking came with the Delphi 4 class library;
// the older hosts cannot publish them.
#define LD_HOST_HAS_DOCKING (LD_HOST_VERSION >= 40)

// The older hosts declare the tick count signed, the newer ones unsigned.
#define LD_HOST_SIGNED_TICKS (LD_HOST_VERSION < 40)
