#include <gtest/gtest.h>

#include "platform/stream/Reader.h"
#include "tests/stream/TestComponents.h"

using namespace ld;
using namespace ld::test;

extern "C" const void* TestModuleHandle();
extern "C" const char* TestModuleString();

TEST(ResourceForms, FormResourceLoadsWithHandlersAndFields)
{
    RegisterTestClasses();
    TTestForm form(nullptr);
    ReadComponentRes(MainModule(), "Form1", &form);
    EXPECT_EQ(form.GetCaption(), "From a resource");
    ASSERT_NE(form.Button1, nullptr);
    form.Button1->GetOnClick()(form.Button1);
    EXPECT_EQ(form.Clicks.size(), 1u);
    // The resource holds the bare binary stream.
    TResourceStream stream(MainModule(), "FORM1", RT_RCDATA);
    char signature[4];
    stream.ReadBuffer(signature, 4);
    EXPECT_EQ(std::string(signature, 4), "TPF0");
    EXPECT_THROW(TResourceStream(MainModule(), "NoSuchForm", RT_RCDATA), EResNotFound);
}

TEST(ResourceForms, EachModuleHasItsOwnStrings)
{
    EXPECT_NE(TestModuleHandle(), MainModule());
    EXPECT_STREQ(TestModuleString(), "from the module");
    EXPECT_EQ(LoadStr(1), "from the program");
    EXPECT_EQ(LoadStr(TestModuleHandle(), 1), "from the module");
}
