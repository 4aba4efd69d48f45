// The two forms of a stored form and the conversions between them.
//
// The binary form is the component stream (signature TPF0); on disk it usually
// carries a one-entry resource header (FF 0A 00, the root's class name in upper
// case, flags 1030, size). The text form is the host's readable syntax:
//
//   object Form1: TForm1
//     Caption = 'Hello'#13#10'world'
//     Font.Height = -11
//     Items.Strings = (
//       'a'
//       'b')
//     object Button1: TButton
//       OnClick = Button1Click
//     end
//   end
//
// Malformed input raises EReadError (EParserError for text) naming the byte
// offset or line and what was wrong.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/stream/Stream.h"

namespace ld {

enum class TStreamFormat { Unknown, Binary, Resource, Text };

// Looks at the first bytes only.
TStreamFormat DetectFormat(std::string_view data);
TStreamFormat TestStreamFormat(TStream* stream);

// A binary component stream (starting with TPF0) to text; the input must hold
// exactly one root component.
std::string BinaryToText(std::string_view binary);
// Where the binary bytes from Offset on came from: a line of the text form.
// A reader of the converted stream names lines rather than byte offsets.
struct TTextMark {
    Int64 Offset;
    Integer Line;
};

// Text to a binary component stream, without the resource header. With Marks,
// one mark per object header and per property, in offset order.
std::string TextToBinary(std::string_view text, std::vector<TTextMark>* marks = nullptr);

// Text holding one or more objects one after another (components copied from
// a designer, or cut out of a text form) as a component list: each object
// behind its own signature, then a null byte, as TReader::ReadComponents reads it.
std::string TextToComponentList(std::string_view text);

// The resource header of a binary form file.
std::string ResourceHeader(std::string_view rootClassName, uint32_t streamSize);
// The component stream inside a form file with a resource header; EReadError
// when the header is malformed or its size goes beyond the data.
std::string_view StripResourceHeader(std::string_view data);
// The root's class name in a binary component stream.
std::string RootClassName(std::string_view binary);

// Stream forms, reading from the stream's position to its end.
void ObjectBinaryToText(TStream* input, TStream* output);
void ObjectTextToBinary(TStream* input, TStream* output);
void ObjectResourceToText(TStream* input, TStream* output);
void ObjectTextToResource(TStream* input, TStream* output);

// Any form (text, binary, binary with header) as a bare binary component stream.
std::string ToBinaryStream(std::string_view data);

} // namespace ld
