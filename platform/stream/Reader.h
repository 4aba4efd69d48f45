// TReader: reads components and values from a binary component stream.
//
// ReadRootComponent reads a whole stored form: it creates components from their
// class names (the classes of the root's published fields, then the registered
// classes), sets properties by name (dotted names reach nested
// objects; a name that is not published goes to DefineProperties), resolves
// component references once everything is read, binds event handlers by name
// through the root's published methods, and then calls Loaded on every
// component read. Malformed data raises EReadError (EClassNotFound for an
// unknown class) and never reads past the data or allocates from an unchecked
// count.
#pragma once

#include <string>
#include <vector>

#include "platform/core/Collection.h"
#include "platform/stream/Filer.h"
#include "platform/stream/TextForm.h"

namespace ld {

class TReader;

// Lets a host supply a handler the root does not publish (a designer).
using TFindMethodEvent = TClosure<TReader*, const std::string& /*name*/, TMethod& /*method*/, bool& /*error*/>;
// Lets a host rename a component as it is read.
using TSetNameEvent = TClosure<TReader*, TComponent*, std::string&>;
// Lets a host change the name a component reference is resolved by (a name
// the host gave another component as it was read).
using TReferenceNameEvent = TClosure<TReader*, std::string& /*name*/>;
// Lets a host decide about a failure while reading a property: Handled skips it.
using TReaderError = TClosure<TReader*, const std::string& /*message*/, bool& /*handled*/>;

class TReader : public TFiler {
    LD_CLASS(TReader, TFiler)

    explicit TReader(TStream* stream);
    // Gives the bytes it buffered but did not use back to the stream.
    ~TReader() override;

    void DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc& writeData,
                        bool hasData) override;
    void DefineBinaryProperty(const std::string& name, const TStreamProc& readData, const TStreamProc& writeData,
                              bool hasData) override;

    // Reads a whole component stream into Root, or into a new root made from the
    // stream's class name when Root is null. Returns the root.
    TComponent* ReadRootComponent(TComponent* root);
    // Reads one component; with Component null it is created from its class name,
    // owned by Owner() with parent Parent().
    TComponent* ReadComponent(TComponent* component);
    // Reads components that follow one another, each behind its own signature,
    // up to a null byte (components pasted into a form): owned by Owner, the
    // root their references are resolved in, with Parent as their parent.
    // References are fixed up and Loaded called once all are read; on a
    // failure every component read so far is freed. Returns them in order.
    std::vector<TComponent*> ReadComponents(TComponent* owner, TComponent* parent);
    // Reads the properties and children of Instance (what TComponent::ReadState does).
    void ReadData(TComponent* instance);

    void ReadSignature();
    void ReadPrefix(TFilerFlags& flags, Integer& childPos);

    // The next value type, left unread.
    TValueType NextValue();
    TValueType ReadValue();
    bool EndOfList() { return NextValue() == vaNull; }
    void ReadListBegin() { CheckValue(vaList); }
    void ReadListEnd() { CheckValue(vaNull); }
    void CheckValue(TValueType expected);
    // Reads and discards one value of any type.
    void SkipValue();

    Integer ReadInteger();
    Int64 ReadInt64();
    bool ReadBoolean();
    std::string ReadString();
    // A short string without a value type (names, set elements).
    std::string ReadStr();
    std::string ReadIdent();
    char ReadChar();
    long double ReadFloat();
    float ReadSingle();
    Int64 ReadCurrency();
    double ReadDate();
    // The elements of a set value as bits, by the enum's names.
    uint64_t ReadSet(const TEnumInfo& elements);
    void ReadCollection(TCollection* collection);
    // The raw bytes of a binary value.
    std::string ReadBinary();
    void ReadBytes(void* buffer, Int64 count);

    TComponent* Owner() const { return FOwner; }
    void SetOwner(TComponent* value) { FOwner = value; }
    TComponent* Parent() const { return FParent; }
    void SetParent(TComponent* value) { FParent = value; }
    // The offset in the stream of the next byte to read.
    Int64 Position() const;
    // For a stream converted from the text form: errors then name the line
    // instead of the byte offset. The marks must outlive the reading.
    void SetTextMarks(const std::vector<TTextMark>* marks) { FTextMarks = marks; }
    // "on line 12" or "at byte 340": where the byte at Offset came from.
    std::string PlaceOf(Int64 offset) const;

    TFindMethodEvent OnFindMethod;
    TSetNameEvent OnSetName;
    TReferenceNameEvent OnReferenceName;
    TReaderError OnError;

private:
    struct Fixup {
        TObject* Instance;
        const TPropInfo* Prop;
        std::string Name;
        TComponent* Root;
    };

    Byte PeekByte();
    bool Fill(Int64 need);
    [[noreturn]] void Error(const std::string& message) const;
    [[noreturn]] void ValueError(const char* expected, Byte found) const;
    Int64 Remaining() const;
    void CheckCount(Int64 count, Int64 unit);
    std::string ReadCounted(Int64 count);
    std::string ReadWideAsAnsi(Int64 units);
    std::string ReadUtf8AsAnsi(Int64 bytes);

    void ReadDataInner(TComponent* instance);
    void ReadProperty(TPersistent* instance);
    void ReadPropValue(TPersistent* instance, const TPropInfo* prop);
    void ReadProperties(TPersistent* instance);
    TClass FindComponentClass(const std::string& className);
    void SetComponentName(TComponent* component, std::string name);
    void BindMethod(TPersistent* instance, const TPropInfo* prop, const std::string& name);
    void FixupReferences();
    TComponent* FindReference(TComponent* root, const std::string& name) const;
    void Enter();
    void Leave() { --FDepth; }

    std::vector<Byte> FBuffer;
    Int64 FBufPos = 0;
    Int64 FBufEnd = 0;
    Int64 FBufStart = 0; // stream offset of FBuffer[0]
    TComponent* FOwner = nullptr;
    TComponent* FParent = nullptr;
    std::string FPropName;
    std::vector<Fixup>* FFixups = nullptr;
    std::vector<TComponent*>* FLoaded = nullptr;
    int FDepth = 0;
    const std::vector<TTextMark>* FTextMarks = nullptr;
};

// Reads a component stream (binary, with or without the resource header, or text)
// into Instance, or into a new root when Instance is null.
TComponent* ReadComponentFromStream(TStream* stream, TComponent* instance);
TComponent* ReadComponentResFile(const std::string& fileName, TComponent* instance);
// Reads the RCDATA form resource ResName of Module into Instance (a form's
// constructor loads its own stored form this way). EResNotFound when missing.
TComponent* ReadComponentRes(HMODULE module, const std::string& resName, TComponent* instance);

} // namespace ld
