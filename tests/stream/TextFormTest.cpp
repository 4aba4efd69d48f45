#include <gtest/gtest.h>

#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"

using namespace ld;

namespace {

// A one-property form in binary, built with the writer's own value encoding.
std::string WithValue(const std::function<void(TWriter&)>& value)
{
    TMemoryStream stream;
    {
        TWriter w(&stream);
        w.WriteSignature();
        w.WriteStr("TForm1");
        w.WriteStr("Form1");
        w.WriteStr("P");
        value(w);
        w.WriteListEnd();
        w.WriteListEnd();
    }
    return stream.DataString();
}

std::string ValueText(const std::function<void(TWriter&)>& value)
{
    const std::string binary = WithValue(value);
    const std::string text = BinaryToText(binary);
    EXPECT_EQ(TextToBinary(text), binary) << text;
    const std::string head = "object Form1: TForm1\r\n  P = ";
    const std::string tail = "\r\nend\r\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    return text.substr(head.size(), text.size() - head.size() - tail.size());
}

} // namespace

TEST(TextForm, ScalarValues)
{
    EXPECT_EQ(ValueText([](TWriter& w) { w.WriteInteger(-5); }), "-5");
    EXPECT_EQ(ValueText([](TWriter& w) { w.WriteInteger(70000); }), "70000");
    EXPECT_EQ(ValueText([](TWriter& w) { w.WriteInteger(Int64(1) << 40); }), "1099511627776");
    EXPECT_EQ(ValueText([](TWriter& w) { w.WriteIdent("clBtnFace"); }), "clBtnFace");
    EXPECT_EQ(ValueText([](TWriter& w) { w.WriteBoolean(true); }), "True");
    EXPECT_EQ(ValueText([](TWriter& w) { w.WriteIdent("nil"); }), "nil");
    EXPECT_EQ(ValueText([](TWriter& w) { w.WriteFloat(1.5L); }), "1.500000000000000000");
    EXPECT_EQ(ValueText([](TWriter& w) { w.WriteSingle(0.25f); }), "0.250000000000000000s");
    EXPECT_EQ(ValueText([](TWriter& w) { w.WriteCurrency(15000); }), "15000.000000000000000000c");
    EXPECT_EQ(ValueText([](TWriter& w) { w.WriteDate(2.0); }), "2.000000000000000000d");
}

TEST(TextForm, StringsQuoteCodesAndCuts)
{
    EXPECT_EQ(ValueText([](TWriter& w) { w.WriteString(""); }), "''");
    EXPECT_EQ(ValueText([](TWriter& w) { w.WriteString("It's\r\n"); }), "'It'#39's'#13#10");
    EXPECT_EQ(ValueText([](TWriter& w) { w.WriteString("caf\xE9"); }), "'caf\xE9'");
    const std::string long70(70, 'a');
    EXPECT_EQ(ValueText([&](TWriter& w) { w.WriteString(long70); }),
              "\r\n    '" + std::string(64, 'a') + "' +\r\n    'aaaaaa'");
    // 300 bytes: a long string value type, four lines.
    const std::string text = ValueText([](TWriter& w) { w.WriteString(std::string(300, 'b')); });
    EXPECT_EQ(std::count(text.begin(), text.end(), '+'), 4);
    // Readers also take doubled apostrophes and hex codes.
    const std::string parsed = TextToBinary("object F: T\r\n  P = 'It''s'#$41 +\r\n   'x'\r\nend\r\n");
    EXPECT_NE(parsed.find(std::string("\x06\x06It'sAx", 8)), std::string::npos);
}

TEST(TextForm, ListsSetsBinaryAndCollections)
{
    EXPECT_EQ(ValueText([](TWriter& w) {
                  w.WriteListBegin();
                  w.WriteListEnd();
              }),
              "()");
    EXPECT_EQ(ValueText([](TWriter& w) {
                  w.WriteListBegin();
                  w.WriteString("1.7");
                  w.WriteInteger(2);
                  w.WriteListEnd();
              }),
              "(\r\n    '1.7'\r\n    2)");
    const TEnumInfo options{"TOpts", {"soA", "soB", "soC"}};
    EXPECT_EQ(ValueText([&](TWriter& w) { w.WriteSet(5, options); }), "[soA, soC]");
    EXPECT_EQ(ValueText([&](TWriter& w) { w.WriteSet(0, options); }), "[]");
    EXPECT_EQ(ValueText([](TWriter& w) { w.WriteBinary("\x01\xAB", 2); }), "{01AB}");
    const std::string bytes(40, '\x5A');
    EXPECT_EQ(ValueText([&](TWriter& w) { w.WriteBinary(bytes.data(), 40); }),
              "{\r\n    " + std::string(64, '5').replace(0, 64, std::string(32 * 2, ' ')).replace(0, 64, [] {
                  std::string s;
                  for (int i = 0; i < 32; ++i)
                      s += "5A";
                  return s;
              }()) + "\r\n    5A5A5A5A5A5A5A5A}");
    EXPECT_EQ(ValueText([](TWriter& w) {
                  w.WriteValue(vaCollection);
                  w.WriteListEnd();
              }),
              "<>");
    EXPECT_EQ(ValueText([](TWriter& w) {
                  w.WriteValue(vaCollection);
                  w.WriteInteger(3);
                  w.WriteListBegin();
                  w.WriteStr("Width");
                  w.WriteInteger(50);
                  w.WriteListEnd();
                  w.WriteListBegin();
                  w.WriteListEnd();
                  w.WriteListEnd();
              }),
              "<\r\n    item [3]\r\n      Width = 50\r\n    end\r\n    item\r\n    end>");
}

TEST(TextForm, HeadersFlagsAndKeywordsInAnyCase)
{
    const std::string binary = TextToBinary("OBJECT Form1: TForm1\r\n"
                                            "  INHERITED Button1: TButton [2]\r\n"
                                            "  End\r\n"
                                            "  inline TFrame1\r\n"
                                            "  end\r\n"
                                            "END\r\n");
    EXPECT_EQ(BinaryToText(binary), "object Form1: TForm1\r\n"
                                    "  inherited Button1: TButton [2]\r\n"
                                    "  end\r\n"
                                    "  inline TFrame1\r\n"
                                    "  end\r\n"
                                    "end\r\n");
    EXPECT_NE(binary.find(std::string("\xF3\x02\x02\x07TButton", 11)), std::string::npos);
}

TEST(TextForm, ParserErrorsNameTheLine)
{
    auto error = [](const std::string& text) {
        try {
            TextToBinary(text);
            return std::string();
        } catch (const EReadError& e) {
            return e.Message();
        }
    };
    EXPECT_EQ(error("object F: T\r\n  P = 'open\r\nend\r\n"), "unterminated string on line 2");
    EXPECT_EQ(error("object F: T\r\n  P 1\r\nend\r\n"), "'=' expected but number 1 found on line 2");
    EXPECT_EQ(error("object F: T\r\n  P = 1\r\n"), "'end' expected but end of file found on line 3");
    EXPECT_EQ(error("object F: T\r\n  P = {0A1}\r\nend\r\n"), "an odd number of hex digits in binary data on line 2");
    EXPECT_EQ(error("object F: T\r\nend\r\nextra"), "text follows the final end on line 3");
    EXPECT_EQ(error("thing F: T\r\nend"), "'object' expected but 'thing' found on line 1");
    EXPECT_EQ(error("object F: T\r\n  P = [a b]\r\nend"), "',' expected but 'b' found on line 2");
}

TEST(TextForm, FormatDetectionAndHeaders)
{
    EXPECT_EQ(DetectFormat("object"), TStreamFormat::Text);
    EXPECT_EQ(DetectFormat("\xEF\xBB\xBFobject"), TStreamFormat::Text);
    EXPECT_EQ(DetectFormat("TPF0"), TStreamFormat::Binary);
    EXPECT_EQ(DetectFormat("\xFF\x0A"), TStreamFormat::Resource);
    EXPECT_EQ(DetectFormat("MZ"), TStreamFormat::Unknown);
    const std::string header = ResourceHeader("TForm1", 0x1234);
    EXPECT_EQ(header, std::string("\xFF\x0A\x00TFORM1\x00\x30\x10\x34\x12\x00\x00", 16));
    EXPECT_THROW(StripResourceHeader(header + "x"), EReadError);
    EXPECT_THROW(StripResourceHeader(std::string("\xFF\x0B\x00", 3)), EReadError);
    EXPECT_EQ(StripResourceHeader(ResourceHeader("T", 2) + "ab!"), "ab");
}
