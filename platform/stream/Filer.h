// TFiler, the common base of TReader and TWriter, and the value types of the
// binary form-file format. DefineProperty and DefineBinaryProperty let a
// persistent object store values that are not published properties; a reader
// calls the read procedure for the name it meets, a writer the write procedure
// when HasData says there is something to store.
#pragma once

#include <string>

#include "platform/core/Component.h"
#include "platform/core/Events.h"
#include "platform/core/SysUtils.h"
#include "platform/stream/Stream.h"

namespace ld {

class TReader;
class TWriter;

enum TValueType : Byte {
    vaNull,
    vaList,
    vaInt8,
    vaInt16,
    vaInt32,
    vaExtended,
    vaString,
    vaIdent,
    vaFalse,
    vaTrue,
    vaBinary,
    vaSet,
    vaLString,
    vaNil,
    vaCollection,
    vaSingle,
    vaCurrency,
    vaDate,
    vaWString,
    vaInt64,
    vaUTF8String,
    vaDouble,
};
constexpr Byte vaLast = vaDouble;

// "vaString" and so on; "value type 37" for a byte that is none.
std::string ValueTypeName(Byte value);

enum TFilerFlag { ffInherited, ffChildPos, ffInline };
using TFilerFlags = TSet<TFilerFlag, uint8_t>;

// The four bytes that start a binary component stream.
constexpr char FilerSignature[4] = {'T', 'P', 'F', '0'};

// How deep objects, lists and collections may nest before a reader gives up.
constexpr int MaxNesting = 200;

// A component starts with its class name's length byte unless a prefix byte
// (top nibble F) comes first, so a class name of 240 bytes or more would be read
// as a prefix: the longest class name the binary form can hold.
constexpr size_t MaxClassNameLength = 239;

using TReaderProc = TClosure<TReader*>;
using TWriterProc = TClosure<TWriter*>;
using TStreamProc = TClosure<TStream*>;

class TFiler : public TObject {
    LD_CLASS(TFiler, TObject)

    explicit TFiler(TStream* stream) : FStream(stream) {}

    virtual void DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc& writeData,
                                bool hasData) = 0;
    virtual void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                                      const TStreamProc& writeData, bool hasData) = 0;

    TStream* Stream() const { return FStream; }
    TComponent* Root() const { return FRoot; }
    // References are written and resolved relative to the root.
    void SetRoot(TComponent* value)
    {
        FRoot = value;
        FLookupRoot = value;
    }
    TComponent* LookupRoot() const { return FLookupRoot; }
    TComponent* Ancestor() const { return FAncestor; }
    void SetAncestor(TComponent* value) { FAncestor = value; }
    bool IgnoreChildren() const { return FIgnoreChildren; }
    void SetIgnoreChildren(bool value) { FIgnoreChildren = value; }

protected:
    TStream* FStream;
    TComponent* FRoot = nullptr;
    TComponent* FLookupRoot = nullptr;
    TComponent* FAncestor = nullptr;
    bool FIgnoreChildren = false;
};

} // namespace ld

namespace ld {

// The 10-byte extended float of the format, to and from the widest native float.
long double ExtendedToFloat(const Byte bytes[10]);
void FloatToExtended(long double value, Byte bytes[10]);

// Finds a component of another root by name, for references such as
// Form2.Button1. The visual layer registers a finder over its open forms.
using TFindGlobalComponent = TComponent* (*)(const std::string& name);
void RegisterFindGlobalComponentProc(TFindGlobalComponent proc);
void UnregisterFindGlobalComponentProc(TFindGlobalComponent proc);
TComponent* FindGlobalComponent(const std::string& name);

} // namespace ld
