#include "platform/stream/Writer.h"

#include <cstring>

#include "platform/core/SysUtils.h"

namespace ld {

namespace {
constexpr size_t FlushSize = 65536;

// Restores the property path prefix when a nested object is done.
class TPathScope {
public:
    TPathScope(std::string& path, const std::string& append) : FPath(path), FSaved(path.size()) { path += append; }
    ~TPathScope() { FPath.resize(FSaved); }

private:
    std::string& FPath;
    size_t FSaved;
};
} // namespace

TClass TWriter::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TWriter>("TWriter", TFiler::StaticClass());
    return &info;
}

TWriter::TWriter(TStream* stream) : TFiler(stream) { FBuffer.reserve(FlushSize); }

TWriter::~TWriter()
{
    try {
        FlushBuffer();
    } catch (...) {
        // A destructor cannot report; callers that care flush first.
    }
}

void TWriter::FlushBuffer()
{
    if (!FBuffer.empty()) {
        const std::vector<Byte> pending = std::move(FBuffer);
        FBuffer.clear();
        FBuffer.reserve(FlushSize);
        FStream->WriteBuffer(pending.data(), static_cast<Int64>(pending.size()));
    }
}

void TWriter::Write(const void* data, Int64 count)
{
    const Byte* p = static_cast<const Byte*>(data);
    FBuffer.insert(FBuffer.end(), p, p + count);
    if (FBuffer.size() >= FlushSize)
        FlushBuffer();
}

void TWriter::WriteValue(TValueType value)
{
    const Byte b = value;
    Write(&b, 1);
}

void TWriter::WriteInteger(Int64 value)
{
    if (value >= INT8_MIN && value <= INT8_MAX) {
        WriteValue(vaInt8);
        const int8_t v = static_cast<int8_t>(value);
        Write(&v, 1);
    } else if (value >= INT16_MIN && value <= INT16_MAX) {
        WriteValue(vaInt16);
        const int16_t v = static_cast<int16_t>(value);
        Write(&v, 2);
    } else if (value >= INT32_MIN && value <= INT32_MAX) {
        WriteValue(vaInt32);
        const int32_t v = static_cast<int32_t>(value);
        Write(&v, 4);
    } else {
        WriteValue(vaInt64);
        Write(&value, 8);
    }
}

void TWriter::WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }

namespace {
// Checked before anything of the value is written, so a refused value leaves no
// stray byte behind.
void CheckShortString(const std::string& value)
{
    if (value.size() > 255)
        throw EWriteError(Format("The name %s is longer than 255 bytes", {value.substr(0, 40) + "..."}));
}
} // namespace

void TWriter::WriteStr(const std::string& value)
{
    CheckShortString(value);
    const Byte n = static_cast<Byte>(value.size());
    Write(&n, 1);
    Write(value.data(), n);
}

void TWriter::WriteString(const std::string& value)
{
    if (value.size() <= 255) {
        WriteValue(vaString);
        WriteStr(value);
        return;
    }
    if (value.size() > static_cast<size_t>(INT32_MAX))
        throw EWriteError("A string longer than 2 GB cannot be stored");
    WriteValue(vaLString);
    const Integer n = static_cast<Integer>(value.size());
    Write(&n, 4);
    Write(value.data(), n);
}

void TWriter::WriteIdent(const std::string& ident)
{
    if (SameText(ident, "False"))
        WriteValue(vaFalse);
    else if (SameText(ident, "True"))
        WriteValue(vaTrue);
    else if (SameText(ident, "nil"))
        WriteValue(vaNil);
    else if (SameText(ident, "Null"))
        WriteValue(vaNull);
    else {
        CheckShortString(ident);
        WriteValue(vaIdent);
        WriteStr(ident);
    }
}

void TWriter::WriteFloat(long double value)
{
    WriteValue(vaExtended);
    Byte b[10];
    FloatToExtended(value, b);
    Write(b, 10);
}

void TWriter::WriteSingle(float value)
{
    WriteValue(vaSingle);
    Write(&value, 4);
}

void TWriter::WriteCurrency(Int64 value)
{
    WriteValue(vaCurrency);
    Write(&value, 8);
}

void TWriter::WriteDate(double value)
{
    WriteValue(vaDate);
    Write(&value, 8);
}

void TWriter::WriteSet(uint64_t bits, const TEnumInfo& elements)
{
    for (size_t i = 0; i < elements.Names.size() && i < 64; ++i)
        if (bits & (uint64_t(1) << i))
            CheckShortString(elements.Names[i]);
    WriteValue(vaSet);
    for (size_t i = 0; i < elements.Names.size() && i < 64; ++i)
        if (bits & (uint64_t(1) << i))
            WriteStr(elements.Names[i]);
    WriteStr(std::string());
}

void TWriter::WriteBinary(const void* data, Int64 count)
{
    if (count > INT32_MAX)
        throw EWriteError("Binary data longer than 2 GB cannot be stored");
    WriteValue(vaBinary);
    const Integer n = static_cast<Integer>(count);
    Write(&n, 4);
    Write(data, count);
}

void TWriter::WriteCollection(TCollection* collection)
{
    WriteValue(vaCollection);
    if (collection != nullptr) {
        for (Integer i = 0; i < collection->Count(); ++i) {
            WriteListBegin();
            TPathScope scope(FPropPath, std::string());
            FPropPath.clear();
            WriteProperties(collection->Items(i));
            WriteListEnd();
        }
    }
    WriteListEnd();
}

void TWriter::WriteSignature() { Write(FilerSignature, 4); }

void TWriter::WritePrefix(TFilerFlags flags, Integer childPos)
{
    if (flags.Empty())
        return;
    const Byte b = static_cast<Byte>(0xF0 | flags.Bits());
    Write(&b, 1);
    if (flags.Contains(ffChildPos))
        WriteInteger(childPos);
}

void TWriter::WriteRootComponent(TComponent* root)
{
    FRoot = root;
    FLookupRoot = root;
    WriteSignature();
    WriteComponent(root);
    FlushBuffer();
}

void TWriter::WriteComponent(TComponent* component)
{
    if (++FDepth > MaxNesting) {
        --FDepth;
        throw EWriteError("Components nest too deeply to be stored");
    }
    component->SetComponentStateFlag(csWriting, true);
    try {
        if (component->ClassName().size() > MaxClassNameLength)
            throw EWriteError(Format("The class name %s is longer than %d bytes",
                                     {component->ClassName().substr(0, 40) + "...",
                                      static_cast<long long>(MaxClassNameLength)}));
        CheckShortString(component->GetName());
        TFilerFlags flags;
        if (component->ComponentState().Contains(csInline))
            flags.Include(ffInline);
        WritePrefix(flags, 0);
        WriteStr(component->ClassName());
        WriteStr(component->GetName());
        component->WriteState(this);
    } catch (...) {
        component->SetComponentStateFlag(csWriting, false);
        --FDepth;
        throw;
    }
    component->SetComponentStateFlag(csWriting, false);
    --FDepth;
}

void TWriter::WriteData(TComponent* instance)
{
    TPathScope scope(FPropPath, std::string());
    FPropPath.clear();
    WriteProperties(instance);
    WriteListEnd();
    if (!FIgnoreChildren) {
        TComponent* savedLookup = FLookupRoot;
        TComponent* savedRoot = FRoot;
        // A component that owns its children (a frame) is their lookup root.
        if (instance != FRoot && instance->GetChildOwner() == instance)
            FLookupRoot = instance;
        instance->GetChildren([this](TComponent* child) { WriteComponent(child); }, FRoot);
        FLookupRoot = savedLookup;
        FRoot = savedRoot;
    }
    WriteListEnd();
}

void TWriter::WriteProperties(TPersistent* instance)
{
    for (const TPropInfo* prop : instance->ClassType()->Properties())
        if (prop->IsStored(instance))
            WriteProperty(instance, prop);
    instance->DefineProperties(this);
}

void TWriter::WritePropName(const std::string& name) { WriteStr(FPropPath + name); }

std::string TWriter::ComponentReference(TComponent* value) const
{
    if (value->Owner() == FLookupRoot)
        return value->GetName();
    if (value == FLookupRoot)
        return "Owner";
    if (value->Owner() != nullptr && !value->Owner()->GetName().empty() && !value->GetName().empty())
        return value->Owner()->GetName() + "." + value->GetName();
    if (!value->GetName().empty())
        return value->GetName() + ".Owner";
    return {};
}

std::string TWriter::MethodName(const TMethod& method) const
{
    if (!method.Name.empty())
        return method.Name;
    if (FLookupRoot != nullptr && method.Data == FLookupRoot)
        return FLookupRoot->MethodName(method.Code);
    return {};
}

void TWriter::WriteProperty(TPersistent* instance, const TPropInfo* prop)
{
    switch (prop->Kind) {
    case TTypeKind::tkInteger:
    case TTypeKind::tkEnumeration:
    case TTypeKind::tkBoolean:
    case TTypeKind::tkSet: {
        if (!prop->SetOrd)
            return;
        const Int64 value = prop->GetOrd(instance);
        if (prop->HasDefault && value == prop->Default)
            return;
        WritePropName(prop->Name);
        if (prop->Kind == TTypeKind::tkInteger) {
            std::string ident;
            if (prop->Idents != nullptr && prop->Idents->IntToIdent(static_cast<Integer>(value), ident))
                WriteIdent(ident);
            else
                WriteInteger(value);
        } else if (prop->Kind == TTypeKind::tkEnumeration) {
            const std::string& name = prop->EnumType->NameOf(value);
            if (name.empty())
                throw EWriteError(Format("%d is not a value of %s", {static_cast<long long>(value), prop->EnumType->Name}));
            WriteIdent(name);
        } else if (prop->Kind == TTypeKind::tkBoolean) {
            WriteBoolean(value != 0);
        } else {
            WriteSet(static_cast<uint64_t>(value), *prop->EnumType);
        }
        break;
    }
    case TTypeKind::tkString: {
        if (!prop->SetStr)
            return;
        const std::string value = prop->GetStr(instance);
        if (value.empty())
            return;
        WritePropName(prop->Name);
        WriteString(value);
        break;
    }
    case TTypeKind::tkClass: {
        auto* object = dynamic_cast<TPersistent*>(prop->GetObj(instance));
        if (object == nullptr)
            return;
        if (auto* collection = dynamic_cast<TCollection*>(object)) {
            if (collection->Count() == 0)
                return;
            WritePropName(prop->Name);
            WriteCollection(collection);
            return;
        }
        if (++FDepth > MaxNesting) {
            --FDepth;
            throw EWriteError("Objects nest too deeply to be stored");
        }
        TPathScope scope(FPropPath, prop->Name + ".");
        WriteProperties(object);
        --FDepth;
        break;
    }
    case TTypeKind::tkComponent: {
        if (!prop->SetObj)
            return;
        auto* value = dynamic_cast<TComponent*>(prop->GetObj(instance));
        if (value == nullptr)
            return;
        const std::string reference = ComponentReference(value);
        if (reference.empty())
            return;
        WritePropName(prop->Name);
        WriteIdent(reference);
        break;
    }
    case TTypeKind::tkMethod: {
        if (!prop->SetMethod)
            return;
        const TMethod method = prop->GetMethod(instance);
        if (!method.Assigned())
            return;
        const std::string name = MethodName(method);
        if (name.empty())
            return;
        WritePropName(prop->Name);
        WriteIdent(name);
        break;
    }
    }
}

void TWriter::DefineProperty(const std::string& name, const TReaderProc&, const TWriterProc& writeData, bool hasData)
{
    if (hasData && writeData.Assigned()) {
        WritePropName(name);
        writeData(this);
    }
}

void TWriter::DefineBinaryProperty(const std::string& name, const TStreamProc&, const TStreamProc& writeData,
                                   bool hasData)
{
    if (hasData && writeData.Assigned()) {
        WritePropName(name);
        TMemoryStream bytes;
        writeData(&bytes);
        WriteBinary(bytes.Memory(), bytes.GetSize());
    }
}

} // namespace ld
