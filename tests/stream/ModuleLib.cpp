// A shared library with resources of its own, as a package has.
#include "platform/core/Resources.h"

extern "C" const void* TestModuleHandle() { return ld::HInstance(); }
extern "C" const char* TestModuleString()
{
    static std::string s;
    s = ld::LoadStr(1);
    return s.c_str();
}
