// dfmconv IN OUT [--to text|binary]
//
// Converts a form file between the binary form (written with its resource
// header, as the host writes it) and the text form. Without --to the output is
// the form the input is not in. OUT is written to a temporary file and renamed,
// so a failed conversion leaves it untouched.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/core/SysUtils.h"
#include "platform/stream/TextForm.h"

using namespace ld;

namespace {

int Usage()
{
    std::fprintf(stderr,
                 "usage: dfmconv IN OUT [--to text|binary]\n"
                 "  Converts a form file between its binary and its text form.\n"
                 "  Without --to, OUT gets the form IN is not in.\n");
    return 2;
}

bool ReadFile(const std::string& path, std::string& data)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteFileAtomically(const std::string& path, const std::string& data, std::string& error)
{
    const std::string temp = path + ".tmp~";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) {
            error = "cannot create " + temp;
            return false;
        }
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
        out.flush();
        if (!out) {
            error = "cannot write " + temp;
            std::remove(temp.c_str());
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        error = "cannot replace " + path + ": " + ec.message();
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::string in, out, to;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--to") == 0 && i + 1 < argc) {
            to = argv[++i];
            if (to != "text" && to != "binary")
                return Usage();
        } else if (std::strncmp(argv[i], "--to=", 5) == 0) {
            to = argv[i] + 5;
            if (to != "text" && to != "binary")
                return Usage();
        } else if (in.empty()) {
            in = argv[i];
        } else if (out.empty()) {
            out = argv[i];
        } else {
            return Usage();
        }
    }
    if (in.empty() || out.empty())
        return Usage();

    std::string data;
    if (!ReadFile(in, data)) {
        std::fprintf(stderr, "dfmconv: %s: cannot read the file\n", in.c_str());
        return 1;
    }
    try {
        const TStreamFormat format = DetectFormat(data);
        if (format == TStreamFormat::Unknown)
            throw EReadError("byte 0: neither a binary nor a text form file");
        const bool inputIsText = format == TStreamFormat::Text;
        const bool toText = to.empty() ? !inputIsText : to == "text";
        // Every conversion goes through the binary stream, so the input is
        // always checked in full, even when the output has its form.
        const std::string binary = ToBinaryStream(data);
        std::string result;
        if (toText) {
            result = BinaryToText(binary);
        } else {
            if (!inputIsText)
                BinaryToText(binary); // validates the stream
            result = ResourceHeader(RootClassName(binary), static_cast<uint32_t>(binary.size())) + binary;
        }
        std::string error;
        if (!WriteFileAtomically(out, result, error)) {
            std::fprintf(stderr, "dfmconv: %s\n", error.c_str());
            return 1;
        }
    } catch (const Exception& e) {
        std::fprintf(stderr, "dfmconv: %s: %s\n", in.c_str(), e.Message().c_str());
        return 1;
    }
    return 0;
}
