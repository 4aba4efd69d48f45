#include <gtest/gtest.h>

#include "platform/core/Resources.h"
#include "platform/core/SysUtils.h"

using namespace ld;

// The test program carries the resources compiled from tests/core/resources.
TEST(Resources, FoundInTheCallingModule)
{
    HMODULE self = HInstance();
    EXPECT_EQ(self, MainModule());
    HRSRC raw = FindResource(self, "raw", RT_RCDATA);
    ASSERT_TRUE(raw);
    EXPECT_EQ(SizeofResource(self, raw), 9u);
    EXPECT_EQ(std::string(static_cast<const char*>(LoadResource(self, raw)), 9), std::string("raw\0bytes", 9));
    EXPECT_FALSE(FindResource(self, "RAW", RT_BITMAP));
    EXPECT_FALSE(FindResource(self, "MISSING", RT_RCDATA));
    // Another module (the core library) has none of them.
    EXPECT_FALSE(FindResource(ModuleOf(reinterpret_cast<const void*>(&Format)), "RAW", RT_RCDATA));
}

TEST(Resources, StringTables)
{
    EXPECT_EQ(Format(LoadStr(65000), {5, 2}),
              "5 is an invalid SheetIndex value.  SheetIndex must be between 0 and 2");
    EXPECT_EQ(LoadStr(1), "one\ttab");
    EXPECT_EQ(LoadStr(17), "seventeen!");
    EXPECT_EQ(LoadStr(2), "");
    EXPECT_EQ(LoadStr(40000), "");
    EXPECT_THROW(LoadResString(MainModule(), 2), EResNotFound);
}
