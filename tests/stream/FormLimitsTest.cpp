// What the binary form cannot hold: the text parser refuses it naming the line,
// the text writer refuses a stored value the text form cannot hold, and TWriter
// refuses a name it would have to wrap.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"
#include "tests/stream/TestComponents.h"
#include "tests/support/TestOutput.h"

using namespace ld;

namespace {

// The message of the EReadError that Convert raises, empty when it raises none.
template <class F>
std::string ReadErrorOf(F convert)
{
    try {
        convert();
        return std::string();
    } catch (const EReadError& e) {
        return e.Message();
    }
}

std::string ParseError(const std::string& text) { return ReadErrorOf([&] { TextToBinary(text); }); }
std::string TextError(const std::string& binary) { return ReadErrorOf([&] { BinaryToText(binary); }); }

// The stored bytes of the value of P in "object F: T / P = value / end".
std::string StoredValue(const std::string& value)
{
    const std::string binary = TextToBinary("object F: T\r\n  P = " + value + "\r\nend\r\n");
    const std::string head("TPF0\x01T\x01" "F\x01P", 10);
    EXPECT_EQ(binary.substr(0, head.size()), head);
    return binary.substr(head.size(), binary.size() - head.size() - 2);
}

template <class T>
T StoredNumber(const std::string& value, Byte type)
{
    const std::string bytes = StoredValue(value);
    T v{};
    EXPECT_EQ(bytes.size(), 1 + sizeof(T)) << value;
    EXPECT_EQ(static_cast<Byte>(bytes[0]), type) << value;
    if (bytes.size() == 1 + sizeof(T))
        std::memcpy(&v, bytes.data() + 1, sizeof(T));
    return v;
}

std::string OutOfRange(const std::string& value, const std::string& type)
{
    return "number " + value + " is out of the range of " + type + " on line 3";
}

// A stored form whose only property P holds the value type Type and Data.
std::string StoredForm(Byte type, const void* data, size_t size)
{
    std::string binary("TPF0\x01T\x01" "F\x01P", 10);
    binary += static_cast<char>(type);
    binary.append(static_cast<const char*>(data), size);
    binary += std::string(2, '\0');
    return binary;
}

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

TEST(FormLimits, SuffixedFloatsKeepEveryDigit)
{
    EXPECT_EQ(StoredNumber<float>("1.25s", vaSingle), 1.25f);
    EXPECT_EQ(StoredNumber<double>("3.75d", vaDate), 3.75);
    EXPECT_EQ(StoredNumber<int64_t>("15005c", vaCurrency), 15005);
    EXPECT_EQ(StoredNumber<int64_t>("1e3c", vaCurrency), 1000);
    // The stored integer rounds to even, as the host's floating-point unit does.
    EXPECT_EQ(StoredNumber<int64_t>("2.5c", vaCurrency), 2);
    EXPECT_EQ(StoredNumber<int64_t>("-3.5c", vaCurrency), -4);
}

TEST(FormLimits, FloatsBeyondTheirTypeAreRefusedNamingTheLine)
{
    const std::string head = "object F: T\r\n  Q = 1\r\n  P = ";
    auto error = [&](const std::string& value) { return ParseError(head + value + "\r\nend\r\n"); };
    // Extended: up to about 1.19e4932.
    EXPECT_EQ(error("1.5e5000"), OutOfRange("1.5e5000", "an extended float"));
    EXPECT_EQ(error("-1.5e5000"), OutOfRange("-1.5e5000", "an extended float"));
    EXPECT_EQ(error("1.19e4932"), OutOfRange("1.19e4932", "an extended float"));
    EXPECT_EQ(error("(1 2 (1e99999))"), OutOfRange("1e99999", "an extended float"));
    EXPECT_EQ(StoredValue("1.18973149535723176502e4932").size(), 11u);
    // Single: up to FLT_MAX, and what still rounds to it.
    EXPECT_EQ(error("1e39s"), OutOfRange("1e39s", "a single"));
    EXPECT_EQ(error("-3.4028236e38s"), OutOfRange("-3.4028236e38s", "a single"));
    EXPECT_EQ(StoredNumber<float>("3.4028235e38s", vaSingle), FLT_MAX);
    EXPECT_EQ(StoredNumber<float>("-3.4028234663852886e38s", vaSingle), -FLT_MAX);
    // Currency: the stored 64-bit integer.
    EXPECT_EQ(error("9e30c"), OutOfRange("9e30c", "a currency"));
    EXPECT_EQ(error("9223372036854775808c"), OutOfRange("9223372036854775808c", "a currency"));
    EXPECT_EQ(error("-9223372036854775809c"), OutOfRange("-9223372036854775809c", "a currency"));
    EXPECT_EQ(StoredNumber<int64_t>("9223372036854775807c", vaCurrency), INT64_MAX);
    EXPECT_EQ(StoredNumber<int64_t>("-9223372036854775808c", vaCurrency), INT64_MIN);
    // Date: a double.
    EXPECT_EQ(error("2e2004d"), OutOfRange("2e2004d", "a date"));
    EXPECT_EQ(error("(2e2202D)"), OutOfRange("2e2202D", "a date"));
    EXPECT_EQ(error("1.7976931348623159e308d"), OutOfRange("1.7976931348623159e308d", "a date"));
    EXPECT_EQ(StoredNumber<double>("1.7976931348623157e308d", vaDate), DBL_MAX);
    // Too small for the type is zero, as the host reads it.
    EXPECT_EQ(StoredNumber<float>("1e-50s", vaSingle), 0.0f);
    EXPECT_EQ(StoredNumber<double>("-1e-400d", vaDate), 0.0);
}

TEST(FormLimits, InfinitiesAndNaNsHaveNoTextForm)
{
    const long double inf = std::numeric_limits<long double>::infinity();
    Byte extended[10];
    FloatToExtended(-inf, extended);
    EXPECT_EQ(TextError(StoredForm(vaExtended, extended, 10)),
              "Invalid binary form at byte 10: a vaExtended holds an infinity, which the text form cannot hold");
    FloatToExtended(std::numeric_limits<long double>::quiet_NaN(), extended);
    EXPECT_EQ(TextError(StoredForm(vaExtended, extended, 10)),
              "Invalid binary form at byte 10: a vaExtended holds a NaN, which the text form cannot hold");
    // An unnormal: exponent set, integer bit clear.
    FloatToExtended(1.0L, extended);
    extended[7] &= 0x7F;
    EXPECT_EQ(TextError(StoredForm(vaExtended, extended, 10)),
              "Invalid binary form at byte 10: a vaExtended holds an invalid 80-bit value (its integer bit is clear)");
    const float nanSingle = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(TextError(StoredForm(vaSingle, &nanSingle, 4)),
              "Invalid binary form at byte 10: a vaSingle holds a NaN, which the text form cannot hold");
    const double infDouble = std::numeric_limits<double>::infinity();
    EXPECT_EQ(TextError(StoredForm(vaDate, &infDouble, 8)),
              "Invalid binary form at byte 10: a vaDate holds an infinity, which the text form cannot hold");
    EXPECT_EQ(TextError(StoredForm(vaDouble, &infDouble, 8)),
              "Invalid binary form at byte 10: a vaDouble holds an infinity, which the text form cannot hold");
    // Inside a list, at the list's own position.
    std::string listed = StoredForm(vaList, nullptr, 0);
    listed.insert(11, std::string(1, static_cast<char>(vaDate)) + std::string(reinterpret_cast<const char*>(&infDouble), 8) +
                          std::string(1, '\0'));
    EXPECT_EQ(TextError(listed),
              "Invalid binary form at byte 11: a vaDate holds an infinity, which the text form cannot hold");
    // The largest finite values do have one, and read back the same.
    const double largest = DBL_MAX;
    const std::string binary = StoredForm(vaDate, &largest, 8);
    EXPECT_EQ(TextToBinary(BinaryToText(binary)), binary);
}

TEST(FormLimits, ClassNamesTheBinaryFormCannotHoldAreRefused)
{
    // A class name's length byte of F0 or more reads as a component prefix.
    const std::string longest(239, 'T');
    const std::string binary = TextToBinary("object F: " + longest + "\r\nend\r\n");
    EXPECT_EQ(RootClassName(binary), longest);
    EXPECT_EQ(BinaryToText(binary), "object F: " + longest + "\r\nend\r\n");
    EXPECT_EQ(ParseError("object F:\r\n " + std::string(240, 'T') + "\r\nend\r\n"),
              "a class name longer than 239 characters on line 2");
    EXPECT_EQ(ParseError("object a\r\n  object " + std::string(255, 'S') + "\r\n  end\r\nend\r\n"),
              "a class name longer than 239 characters on line 2");
    EXPECT_EQ(ParseError("object " + std::string(256, 'S') + "\r\nend\r\n"), "a name longer than 255 characters on line 1");
    // Other names hold up to 255 bytes.
    const std::string name255(255, 'n');
    EXPECT_EQ(BinaryToText(TextToBinary("object " + name255 + ": T\r\n  " + name255 + " = " + name255 + "\r\nend\r\n")),
              "object " + name255 + ": T\r\n  " + name255 + " = " + name255 + "\r\nend\r\n");
    EXPECT_EQ(ParseError("object F: T\r\n  P = [a, " + std::string(256, 'e') + "]\r\nend\r\n"),
              "a name longer than 255 characters on line 2");
    EXPECT_EQ(ParseError("object F: T\r\n  P = " + std::string(256, 'e') + "\r\nend\r\n"),
              "a name longer than 255 characters on line 2");
}

namespace {

class TLongNamed : public TComponent {
    LD_CLASS(TLongNamed, TComponent)
    using TComponent::TComponent;
};

TClass TLongNamed::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TLongNamed>(std::string(240, 'L'), TComponent::StaticClass());
    return &info;
}

} // namespace

TEST(FormLimits, TheWriterRefusesNamesItWouldWrap)
{
    TMemoryStream stream;
    TWriter writer(&stream);
    EXPECT_THROW(writer.WriteStr(std::string(256, 'x')), EWriteError);
    EXPECT_THROW(writer.WriteIdent(std::string(256, 'x')), EWriteError);
    writer.WriteStr(std::string(255, 'x'));
    writer.FlushBuffer();
    EXPECT_EQ(stream.GetSize(), 256);

    TLongNamed component(nullptr);
    TMemoryStream form;
    EXPECT_THROW(WriteComponentToStream(&form, &component), EWriteError);
    EXPECT_EQ(form.GetSize(), 0);
    // A component of another class nests one whose class name is too long.
    test::TTestForm root(nullptr);
    root.SetName("Form1");
    auto* child = new TLongNamed(&root);
    child->SetName("Child");
    const std::string file = test::TestOutputPath("form-limits.dfm");
    std::ofstream(file, std::ios::binary) << "previous";
    EXPECT_THROW(WriteComponentResFile(file, &root), EWriteError);
    EXPECT_EQ(Slurp(file), "previous");
    std::remove(file.c_str());
}

TEST(FormLimits, NamesTheTextFormCannotReadBackAreRefused)
{
    auto form = [](const std::string& className, const std::string& name, const std::string& property,
                   const std::string& value) {
        std::string binary = "TPF0";
        for (const std::string* s : {&className, &name, &property}) {
            binary += static_cast<char>(s->size());
            binary += *s;
        }
        return binary + value + std::string(2, '\0');
    };
    const std::string one("\x02\x01", 2);
    EXPECT_EQ(TextError(form("T F", "F", "P", one)),
              "Invalid binary form at byte 4: the class name is not an identifier, so the text form cannot hold it");
    EXPECT_EQ(TextError(form("T", "1F", "P", one)),
              "Invalid binary form at byte 6: the component name is not an identifier, so the text form cannot hold it");
    EXPECT_EQ(TextError(form("T", "F", "P\xE9", one)),
              "Invalid binary form at byte 8: a property name is not an identifier, so the text form cannot hold it");
    EXPECT_EQ(TextError(form("T", "F", "End", one)),
              "Invalid binary form at byte 8: a property named End would read as a keyword in the text form");
    EXPECT_EQ(TextError(form("T", "F", "P", std::string("\x07\x00", 2))),
              "Invalid binary form at byte 11: an identifier value is not an identifier, so the text form cannot hold it");
    EXPECT_EQ(TextError(form("T", "F", "P", std::string("\x0B\x01" "a\x02" "b-\x00", 7))),
              "Invalid binary form at byte 13: a set element is not an identifier, so the text form cannot hold it");
    // Dotted names, keywords as values and an empty component name are text.
    const std::string fine = form("T", "", "Font.Style", std::string("\x0B\x06" "fsBold\x00", 9));
    EXPECT_EQ(TextToBinary(BinaryToText(fine)), fine);
    EXPECT_EQ(BinaryToText(form("T", "F", "P", std::string("\x07\x03" "end", 5))), "object F: T\r\n  P = end\r\nend\r\n");
}

TEST(FormLimits, Utf8BeyondSixteenBitsIsWrittenAsSurrogatePairs)
{
    // U+1F600, then a lead byte that promises more than Unicode holds.
    const std::string utf8("x\xF0\x9F\x98\x80\xF7\xBF\xBF\xBF", 9);
    std::string value(1, static_cast<char>(vaUTF8String));
    const Integer n = static_cast<Integer>(utf8.size());
    value.append(reinterpret_cast<const char*>(&n), 4);
    value += utf8;
    const std::string text = BinaryToText(StoredForm(value[0], value.data() + 1, value.size() - 1));
    EXPECT_EQ(text, "object F: T\r\n  P = 'x'#55357#56832#65533\r\nend\r\n");
    EXPECT_EQ(BinaryToText(TextToBinary(text)), text);
}
