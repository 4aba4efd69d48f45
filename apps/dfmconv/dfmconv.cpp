// dfmconv IN OUT [--to text|binary]
//
// Converts a form file between the binary form (written with its resource
// header, as the host writes it) and the text form. Without --to the output is
// the form the input is not in. OUT is written to a temporary file and renamed,
// so a failed conversion leaves it untouched. Every failure is one line on
// standard error naming the file and the fault, and exit status 1.
#include <cstdio>
#include <string>

#include "LaunchdeckVersion.h"
#include "platform/core/FileIO.h"
#include "platform/core/SysUtils.h"
#include "platform/stream/TextForm.h"

using namespace ld;

namespace {

constexpr const char* UsageLine = "usage: dfmconv IN OUT [--to text|binary]";

// A command line it cannot follow: one line, with the usage.
int ArgumentError(const std::string& fault)
{
    std::fprintf(stderr, "dfmconv: %s (%s)\n", fault.c_str(), UsageLine);
    return 1;
}

int Help()
{
    std::printf("%s\n"
                "  Converts a form file between its binary and its text form.\n"
                "  Without --to, OUT gets the form IN is not in. --version prints the version.\n",
                UsageLine);
    return 0;
}

std::string Convert(const std::string& data, const std::string& to)
{
    const TStreamFormat format = DetectFormat(data);
    if (format == TStreamFormat::Unknown)
        throw EReadError("byte 0: neither a binary nor a text form file");
    const bool inputIsText = format == TStreamFormat::Text;
    const bool toText = to.empty() ? !inputIsText : to == "text";
    // Every conversion goes through the binary stream, so the input is
    // always checked in full, even when the output has its form.
    const std::string binary = ToBinaryStream(data);
    if (toText)
        return BinaryToText(binary);
    if (!inputIsText)
        BinaryToText(binary); // validates the stream
    return ResourceHeader(RootClassName(binary), static_cast<uint32_t>(binary.size())) + binary;
}

} // namespace

int main(int argc, char** argv)
{
    std::string in, out, to;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h")
            return Help();
        if (arg == "--version")
            return PrintVersion("dfmconv");
        if (arg == "--to" || arg.rfind("--to=", 0) == 0) {
            if (arg == "--to" && i + 1 == argc)
                return ArgumentError("--to needs text or binary");
            to = arg == "--to" ? argv[++i] : arg.substr(5);
            if (to != "text" && to != "binary")
                return ArgumentError("--to " + to + ": text or binary expected");
        } else if (arg.size() > 1 && arg[0] == '-') {
            return ArgumentError("unknown option " + arg);
        } else if (in.empty()) {
            in = arg;
        } else if (out.empty()) {
            out = arg;
        } else {
            return ArgumentError("unexpected argument " + arg);
        }
    }
    if (in.empty() || out.empty())
        return ArgumentError(in.empty() ? "IN and OUT missing" : "OUT missing");

    std::string data;
    try {
        data = ReadFileBytes(in);
    } catch (const Exception& e) {
        std::fprintf(stderr, "dfmconv: %s\n", e.Message().c_str());
        return 1;
    }
    std::string result;
    try {
        result = Convert(data, to);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dfmconv: %s: %s\n", in.c_str(), e.what());
        return 1;
    }
    try {
        WriteFileAtomically(out, result);
    } catch (const Exception& e) {
        std::fprintf(stderr, "dfmconv: %s\n", e.Message().c_str());
        return 1;
    }
    return 0;
}
