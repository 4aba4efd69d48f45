#include <gtest/gtest.h>

#include <memory>

#include "platform/stream/TextForm.h"
#include "tests/stream/TestComponents.h"

using namespace ld;
using namespace ld::test;

namespace {

// Reads Text into a new root and returns the failure message ("" on success).
std::string ReadError(const std::string& text)
{
    try {
        TComponent* root = ReadRoot(text);
        FreeObject(root);
        return "";
    } catch (const EClassNotFound& e) {
        return "class: " + e.Message();
    } catch (const EFilerError& e) {
        return e.Message();
    }
}

const char* const SmallForm = "object F: TTestForm\r\n"
                              "  Caption = 'x'\r\n"
                              "  object A: TTestControl\r\n"
                              "    Items.Items = ('1.7' 1 'Mail' 0 0 True)\r\n"
                              "    Buddy = B\r\n"
                              "    OnClick = ButtonClick\r\n"
                              "  end\r\n"
                              "  object B: TTestControl\r\n"
                              "    Panels = <item Width = 3 end>\r\n"
                              "  end\r\n"
                              "end\r\n";

} // namespace

class ReaderErrors : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
};

TEST_F(ReaderErrors, BadContentIsNamed)
{
    EXPECT_EQ(ReadError(SmallForm), "");
    auto variant = [](const std::string& from, const std::string& to) {
        std::string s = SmallForm;
        s.replace(s.find(from), from.size(), to);
        return ReadError(s);
    };
    // A text form names the line, a binary one the byte offset.
    EXPECT_EQ(variant("TTestControl", "TNoSuchClass"), "class: Class TNoSuchClass not found (on line 3)");
    EXPECT_NE(variant("Caption", "Kaption").find("Error reading F.Kaption: Property Kaption does not exist (on line 2)"),
              std::string::npos);
    std::string binary = TextToBinary(SmallForm);
    const size_t at = binary.find("TTestControl");
    binary.replace(at, 12, "TNoSuchContr");
    EXPECT_EQ(ReadError(binary), "class: Class TNoSuchContr not found (at byte " + std::to_string(at + 14) + ")");
    EXPECT_NE(variant("OnClick", "OnKlick").find("Property OnKlick does not exist (on line 6)"), std::string::npos);
    EXPECT_NE(variant("Caption = 'x'", "Caption = 12").find("string expected, found vaInt8"), std::string::npos);
    EXPECT_NE(variant("ButtonClick", "NoSuchMethod").find("method NoSuchMethod not found"), std::string::npos);
    EXPECT_NE(variant("ButtonClick", "Changing").find("does not fit OnClick"), std::string::npos);
    EXPECT_NE(variant("0 0 True)", "0 0 True 5)").find("List end expected, found vaInt8"), std::string::npos);
    EXPECT_NE(variant("'1.7' 1", "'1.7' 2").find("string expected, found vaNull"), std::string::npos);
    EXPECT_NE(variant("Width = 3", "Wide = 3").find("Property Wide does not exist"), std::string::npos);
    EXPECT_NE(variant("object B", "object A").find("A component named A already exists"), std::string::npos);
    EXPECT_NE(variant("Caption = 'x'", "Font.Nope.Size = 1").find("Property Font.Nope.Size does not exist"),
              std::string::npos);
}

TEST_F(ReaderErrors, EveryTruncationFailsCleanly)
{
    const std::string binary = TextToBinary(SmallForm);
    for (size_t n = 0; n < binary.size(); ++n) {
        TPointerStream stream(binary.data(), static_cast<Int64>(n));
        TReader reader(&stream);
        EXPECT_THROW(reader.ReadRootComponent(nullptr), EFilerError) << n;
        EXPECT_THROW(BinaryToText(binary.substr(0, n)), EReadError) << n;
    }
}

TEST_F(ReaderErrors, CountsBeyondTheDataAreRefusedBeforeAllocating)
{
    std::string binary = TextToBinary("object F: TTestForm\r\n  Caption = 'x'\r\nend\r\n");
    // Turn the short string into a long string of 2 GB - 1.
    const size_t at = binary.find("\x06\x01x");
    ASSERT_NE(at, std::string::npos);
    binary.replace(at, 3, std::string("\x0C\xFF\xFF\xFF\x7F", 5));
    EXPECT_NE(ReadError(binary).find("A length of 2147483647 is beyond the end of the data"), std::string::npos);
    EXPECT_THROW(BinaryToText(binary), EReadError);
    // An unknown value type.
    binary = TextToBinary("object F: TTestForm\r\n  Caption = 'x'\r\nend\r\n");
    binary[binary.find("\x06\x01x")] = 0x40;
    EXPECT_THROW(BinaryToText(binary), EReadError);
    EXPECT_NE(ReadError(binary).find("string expected, found value type 64"), std::string::npos);
}

TEST_F(ReaderErrors, DeepNestingIsRefused)
{
    std::string text = "object F: TTestForm\r\n  Caption = ";
    for (int i = 0; i < 1000; ++i)
        text += "(";
    EXPECT_THROW(TextToBinary(text), EParserError);
    std::string binary = "TPF0\x09TTestForm\x01" "F\x07" "Kaption";
    binary += std::string(100000, '\x01');
    EXPECT_THROW(BinaryToText(binary), EReadError);
    EXPECT_NE(ReadError(binary).find("nest too deeply"), std::string::npos);
}

TEST_F(ReaderErrors, FailedReadIntoAnExistingRootLeavesNothingLoading)
{
    std::string text = SmallForm;
    text.replace(text.find("Width = 3"), 9, "Width = 'x'");
    TTestForm form(nullptr);
    TStringStream stream(text);
    EXPECT_THROW(ReadComponentFromStream(&stream, &form), EReadError);
    for (Integer i = 0; i < form.ComponentCount(); ++i)
        EXPECT_FALSE(form.Components(i)->ComponentState().Contains(csLoading));
    EXPECT_FALSE(form.ComponentState().Contains(csLoading));
}

TEST_F(ReaderErrors, UnknownPropertyCanBeSkippedByTheHost)
{
    std::string text = SmallForm;
    text.replace(text.find("Caption"), 7, "Kaption");
    const std::string binary = TextToBinary(text);
    TPointerStream stream(binary.data(), static_cast<Int64>(binary.size()));
    TReader reader(&stream);
    std::vector<std::string> skipped;
    reader.OnError = TReaderError::Lambda([&](TReader*, const std::string& message, bool& handled) {
        skipped.push_back(message);
        handled = true;
    });
    std::unique_ptr<TComponent, void (*)(TComponent*)> root(reader.ReadRootComponent(nullptr),
                                                            [](TComponent* c) { FreeObject(c); });
    EXPECT_EQ(skipped, (std::vector<std::string>{"Property Kaption does not exist"}));
    EXPECT_EQ(root->ComponentCount(), 2);
}
