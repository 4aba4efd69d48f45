#include "platform/stream/Reader.h"

#include <algorithm>
#include <cstring>

#include "platform/core/ClassRegistry.h"
#include "platform/core/SysUtils.h"

namespace ld {

namespace {
constexpr Int64 BufferSize = 65536;

// Restores the reader's owner and parent when a nested read ends, however it ends.
class TReaderScope {
public:
    TReaderScope(TComponent*& owner, TComponent*& parent)
        : FOwnerRef(owner), FParentRef(parent), FOwner(owner), FParent(parent) {}
    ~TReaderScope()
    {
        FOwnerRef = FOwner;
        FParentRef = FParent;
    }

private:
    TComponent*& FOwnerRef;
    TComponent*& FParentRef;
    TComponent* FOwner;
    TComponent* FParent;
};

bool IsIntegerType(TValueType t) { return t == vaInt8 || t == vaInt16 || t == vaInt32 || t == vaInt64; }

// Latin-1 is the identity on the first 256 code points; others become '?'.
void AppendCodePoint(std::string& out, uint32_t cp) { out += cp < 256 ? static_cast<char>(cp) : '?'; }
} // namespace

TClass TReader::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TReader>("TReader", TFiler::StaticClass());
    return &info;
}

TReader::TReader(TStream* stream) : TFiler(stream), FBuffer(static_cast<size_t>(BufferSize))
{
    FBufStart = stream->GetPosition();
}

TReader::~TReader()
{
    if (FBufEnd > FBufPos)
        FStream->Seek(-(FBufEnd - FBufPos), soCurrent);
}

Int64 TReader::Position() const { return FBufStart + FBufPos; }

Int64 TReader::Remaining() const { return (FBufEnd - FBufPos) + FStream->Remaining(); }

std::string TReader::PlaceOf(Int64 offset) const
{
    if (FTextMarks != nullptr && !FTextMarks->empty()) {
        // The last mark before the offset: a value that ends at the next mark
        // still belongs to the property before it.
        auto it = std::lower_bound(FTextMarks->begin(), FTextMarks->end(), offset,
                                   [](const TTextMark& m, Int64 o) { return m.Offset < o; });
        if (it != FTextMarks->begin())
            --it;
        return Format("on line %d", {it->Line});
    }
    return Format("at byte %d", {static_cast<long long>(offset)});
}

void TReader::Error(const std::string& message) const
{
    throw EReadError(Format("%s (%s)", {message, PlaceOf(Position())}));
}

void TReader::ValueError(const char* expected, Byte found) const
{
    Error(Format("Invalid property value: %s expected, found %s", {expected, ValueTypeName(found)}));
}

bool TReader::Fill(Int64 need)
{
    if (FBufEnd - FBufPos >= need)
        return true;
    // Keep the unread tail and append to it.
    const Int64 tail = FBufEnd - FBufPos;
    std::memmove(FBuffer.data(), FBuffer.data() + FBufPos, static_cast<size_t>(tail));
    FBufStart += FBufPos;
    FBufPos = 0;
    FBufEnd = tail;
    while (FBufEnd < need) {
        const Int64 n = FStream->Read(FBuffer.data() + FBufEnd, BufferSize - FBufEnd);
        if (n <= 0)
            return false;
        FBufEnd += n;
    }
    return true;
}

Byte TReader::PeekByte()
{
    if (FBufPos == FBufEnd && !Fill(1))
        Error("Unexpected end of the stream");
    return FBuffer[static_cast<size_t>(FBufPos)];
}

void TReader::ReadBytes(void* buffer, Int64 count)
{
    Byte* out = static_cast<Byte*>(buffer);
    while (count > 0) {
        if (FBufPos == FBufEnd) {
            if (count >= BufferSize) {
                // Large blocks go straight from the stream.
                FBufStart += FBufEnd;
                FBufPos = FBufEnd = 0;
                const Int64 got = FStream->Read(out, count);
                FBufStart += std::max<Int64>(got, 0);
                if (got != count)
                    Error("Unexpected end of the stream");
                return;
            }
            if (!Fill(1))
                Error("Unexpected end of the stream");
        }
        const Int64 n = std::min(count, FBufEnd - FBufPos);
        std::memcpy(out, FBuffer.data() + FBufPos, static_cast<size_t>(n));
        FBufPos += n;
        out += n;
        count -= n;
    }
}

void TReader::CheckCount(Int64 count, Int64 unit)
{
    if (count < 0 || count > Remaining() / unit)
        Error(Format("A length of %d is beyond the end of the data", {static_cast<long long>(count)}));
}

std::string TReader::ReadCounted(Int64 count)
{
    CheckCount(count, 1);
    std::string s(static_cast<size_t>(count), '\0');
    ReadBytes(s.data(), count);
    return s;
}

void TReader::Enter()
{
    if (++FDepth > MaxNesting) {
        FDepth = 0;
        Error("Objects, lists or collections nest too deeply");
    }
}

// Values

TValueType TReader::NextValue() { return static_cast<TValueType>(PeekByte()); }

TValueType TReader::ReadValue()
{
    const Byte b = PeekByte();
    ++FBufPos;
    return static_cast<TValueType>(b);
}

void TReader::CheckValue(TValueType expected)
{
    const Byte found = PeekByte();
    if (found != expected) {
        if (expected == vaNull)
            Error(Format("List end expected, found %s", {ValueTypeName(found)}));
        ValueError(ValueTypeName(expected).c_str(), found);
    }
    ++FBufPos;
}

void TReader::SkipValue()
{
    const Byte t = ReadValue();
    switch (t) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
        break;
    case vaList:
        Enter();
        while (!EndOfList())
            SkipValue();
        ReadListEnd();
        Leave();
        break;
    case vaInt8: {
        Byte skip[1];
        ReadBytes(skip, 1);
        break;
    }
    case vaInt16: {
        Byte skip[2];
        ReadBytes(skip, 2);
        break;
    }
    case vaInt32:
    case vaSingle: {
        Byte skip[4];
        ReadBytes(skip, 4);
        break;
    }
    case vaInt64:
    case vaDouble:
    case vaCurrency:
    case vaDate: {
        Byte skip[8];
        ReadBytes(skip, 8);
        break;
    }
    case vaExtended: {
        Byte skip[10];
        ReadBytes(skip, 10);
        break;
    }
    case vaString:
    case vaIdent:
        ReadStr();
        break;
    case vaBinary:
    case vaLString:
    case vaUTF8String: {
        Integer n = 0;
        ReadBytes(&n, 4);
        ReadCounted(n);
        break;
    }
    case vaWString: {
        Integer n = 0;
        ReadBytes(&n, 4);
        CheckCount(n, 2);
        ReadCounted(Int64(n) * 2);
        break;
    }
    case vaSet:
        while (!ReadStr().empty()) {
        }
        break;
    case vaCollection:
        Enter();
        while (!EndOfList()) {
            if (IsIntegerType(NextValue()))
                SkipValue();
            ReadListBegin();
            while (!EndOfList()) {
                ReadStr();
                SkipValue();
            }
            ReadListEnd();
        }
        ReadListEnd();
        Leave();
        break;
    default:
        --FBufPos;
        Error(Format("Unknown value type %d", {t}));
    }
}

Integer TReader::ReadInteger()
{
    const Byte t = PeekByte();
    if (t == vaInt64) {
        const Int64 v = ReadInt64();
        if (v < INT32_MIN || v > INT32_MAX)
            Error("Integer value out of range");
        return static_cast<Integer>(v);
    }
    if (t != vaInt8 && t != vaInt16 && t != vaInt32)
        ValueError("integer", t);
    return static_cast<Integer>(ReadInt64());
}

Int64 TReader::ReadInt64()
{
    const Byte t = ReadValue();
    switch (t) {
    case vaInt8: {
        int8_t v;
        ReadBytes(&v, 1);
        return v;
    }
    case vaInt16: {
        int16_t v;
        ReadBytes(&v, 2);
        return v;
    }
    case vaInt32: {
        int32_t v;
        ReadBytes(&v, 4);
        return v;
    }
    case vaInt64: {
        int64_t v;
        ReadBytes(&v, 8);
        return v;
    }
    default:
        --FBufPos;
        ValueError("integer", t);
    }
}

bool TReader::ReadBoolean()
{
    const Byte t = PeekByte();
    if (t != vaTrue && t != vaFalse)
        ValueError("Boolean", t);
    ++FBufPos;
    return t == vaTrue;
}

std::string TReader::ReadStr()
{
    Byte n = 0;
    ReadBytes(&n, 1);
    std::string s(n, '\0');
    ReadBytes(s.data(), n);
    return s;
}

std::string TReader::ReadWideAsAnsi(Int64 units)
{
    CheckCount(units, 2);
    std::string raw = ReadCounted(units * 2);
    std::string out;
    out.reserve(static_cast<size_t>(units));
    for (Int64 i = 0; i < units; ++i) {
        const uint32_t u = static_cast<Byte>(raw[2 * i]) | (static_cast<Byte>(raw[2 * i + 1]) << 8);
        AppendCodePoint(out, u);
    }
    return out;
}

std::string TReader::ReadUtf8AsAnsi(Int64 bytes)
{
    const std::string raw = ReadCounted(bytes);
    std::string out;
    for (size_t i = 0; i < raw.size();) {
        const Byte b = static_cast<Byte>(raw[i]);
        uint32_t cp = b;
        size_t len = 1;
        if (b >= 0xC0 && b < 0xE0)
            cp = b & 0x1F, len = 2;
        else if (b >= 0xE0 && b < 0xF0)
            cp = b & 0x0F, len = 3;
        else if (b >= 0xF0)
            cp = b & 0x07, len = 4;
        if (i + len > raw.size())
            len = raw.size() - i;
        for (size_t k = 1; k < len; ++k)
            cp = (cp << 6) | (static_cast<Byte>(raw[i + k]) & 0x3F);
        AppendCodePoint(out, cp);
        i += len;
    }
    return out;
}

std::string TReader::ReadString()
{
    const Byte t = ReadValue();
    switch (t) {
    case vaString:
        return ReadStr();
    case vaLString: {
        Integer n = 0;
        ReadBytes(&n, 4);
        return ReadCounted(n);
    }
    case vaWString: {
        Integer n = 0;
        ReadBytes(&n, 4);
        return ReadWideAsAnsi(n);
    }
    case vaUTF8String: {
        Integer n = 0;
        ReadBytes(&n, 4);
        return ReadUtf8AsAnsi(n);
    }
    default:
        --FBufPos;
        ValueError("string", t);
    }
}

std::string TReader::ReadIdent()
{
    const Byte t = ReadValue();
    switch (t) {
    case vaIdent:
        return ReadStr();
    case vaFalse:
        return "False";
    case vaTrue:
        return "True";
    case vaNil:
        return "nil";
    case vaNull:
        return "Null";
    default:
        --FBufPos;
        ValueError("identifier", t);
    }
}

char TReader::ReadChar()
{
    const std::string s = ReadString();
    if (s.size() != 1)
        Error("Invalid property value: one character expected");
    return s[0];
}

long double TReader::ReadFloat()
{
    const Byte t = PeekByte();
    if (t == vaExtended) {
        ++FBufPos;
        Byte b[10];
        ReadBytes(b, 10);
        return ExtendedToFloat(b);
    }
    if (t == vaDouble || t == vaDate) {
        ++FBufPos;
        double d;
        ReadBytes(&d, 8);
        return d;
    }
    if (t == vaSingle)
        return ReadSingle();
    if (t == vaCurrency)
        return static_cast<long double>(ReadCurrency()) / 10000;
    if (IsIntegerType(static_cast<TValueType>(t)))
        return static_cast<long double>(ReadInt64());
    ValueError("float", t);
}

float TReader::ReadSingle()
{
    CheckValue(vaSingle);
    float f;
    ReadBytes(&f, 4);
    return f;
}

Int64 TReader::ReadCurrency()
{
    CheckValue(vaCurrency);
    Int64 v;
    ReadBytes(&v, 8);
    return v;
}

double TReader::ReadDate()
{
    CheckValue(vaDate);
    double d;
    ReadBytes(&d, 8);
    return d;
}

uint64_t TReader::ReadSet(const TEnumInfo& elements)
{
    CheckValue(vaSet);
    uint64_t bits = 0;
    for (;;) {
        const std::string name = ReadStr();
        if (name.empty())
            break;
        const Integer v = elements.ValueOf(name);
        if (v < 0 || v > 63)
            Error(Format("Invalid property value: %s is not an element of %s", {name, elements.Name}));
        bits |= uint64_t(1) << v;
    }
    return bits;
}

std::string TReader::ReadBinary()
{
    CheckValue(vaBinary);
    Integer n = 0;
    ReadBytes(&n, 4);
    return ReadCounted(n);
}

void TReader::ReadCollection(TCollection* collection)
{
    Enter();
    collection->BeginUpdate();
    try {
        if (!EndOfList())
            collection->Clear();
        while (!EndOfList()) {
            if (IsIntegerType(NextValue()))
                ReadInteger(); // the item's order index: items come in order anyway
            TCollectionItem* item = collection->Add();
            ReadListBegin();
            while (!EndOfList())
                ReadProperty(item);
            ReadListEnd();
        }
        ReadListEnd();
    } catch (...) {
        collection->EndUpdate();
        throw;
    }
    collection->EndUpdate();
    Leave();
}

// Components

void TReader::ReadSignature()
{
    char signature[4];
    ReadBytes(signature, 4);
    if (std::memcmp(signature, FilerSignature, 4) != 0)
        throw EReadError("Invalid stream format: the signature TPF0 is missing");
}

void TReader::ReadPrefix(TFilerFlags& flags, Integer& childPos)
{
    flags = {};
    childPos = 0;
    const Byte b = PeekByte();
    if ((b & 0xF0) == 0xF0) {
        ++FBufPos;
        flags = TFilerFlags::FromBits(b & 0x0F);
        if (flags.Contains(ffChildPos))
            childPos = ReadInteger();
    }
}

// As the class library does: the classes of the root's published fields come
// first, so a form reads the components it declares without registering their
// classes; then the registered classes.
TClass TReader::FindComponentClass(const std::string& className)
{
    TClass cls = FRoot != nullptr ? FRoot->ClassType()->FindFieldClass(className) : nullptr;
    if (cls == nullptr && FLookupRoot != nullptr && FLookupRoot != FRoot)
        cls = FLookupRoot->ClassType()->FindFieldClass(className);
    if (cls == nullptr)
        cls = GetClass(className);
    if (cls == nullptr)
        throw EClassNotFound(Format("Class %s not found (%s)", {className, PlaceOf(Position())}));
    if (!cls->InheritsFrom(TComponent::StaticClass()) || cls->Construct == nullptr)
        Error(Format("Class %s is not a component class that can be created", {className}));
    return cls;
}

void TReader::SetComponentName(TComponent* component, std::string name)
{
    if (OnSetName)
        OnSetName(this, component, name);
    try {
        component->SetName(name);
    } catch (const EComponentError& e) {
        Error(e.Message());
    }
}

TComponent* TReader::ReadComponent(TComponent* component)
{
    Enter();
    TFilerFlags flags;
    Integer childPos = 0;
    ReadPrefix(flags, childPos);
    const std::string className = ReadStr();
    const std::string name = ReadStr();
    if (className.empty())
        Error("A component without a class name");
    TComponent* result = component;
    bool created = false;
    if (result == nullptr) {
        if (flags.Contains(ffInherited)) {
            result = FOwner != nullptr ? FOwner->FindComponent(name) : nullptr;
            if (result == nullptr)
                Error(Format("Ancestor for '%s' not found", {name}));
        } else {
            TClass cls = FindComponentClass(className);
            result = CreateComponent(cls, FOwner);
            created = true;
            if (flags.Contains(ffInline))
                result->SetInline(true);
        }
    }
    try {
        result->SetComponentStateFlag(csLoading, true);
        if (!flags.Contains(ffInherited))
            SetComponentName(result, name);
        if (FLoaded != nullptr &&
            (created || std::find(FLoaded->begin(), FLoaded->end(), result) == FLoaded->end()))
            FLoaded->push_back(result);
        result->SetComponentStateFlag(csReading, true);
        result->ReadState(this);
        result->SetComponentStateFlag(csReading, false);
        if (flags.Contains(ffChildPos) && FParent != nullptr)
            FParent->SetChildOrder(result, childPos);
    } catch (...) {
        if (created) {
            if (FLoaded != nullptr)
                FLoaded->erase(std::remove(FLoaded->begin(), FLoaded->end(), result), FLoaded->end());
            result->Free();
        }
        throw;
    }
    Leave();
    return result;
}

void TReader::ReadData(TComponent* instance)
{
    if (FFixups != nullptr) {
        ReadDataInner(instance);
        return;
    }
    std::vector<Fixup> fixups;
    FFixups = &fixups;
    try {
        ReadDataInner(instance);
    } catch (...) {
        FFixups = nullptr;
        throw;
    }
    FixupReferences();
    FFixups = nullptr;
}

void TReader::ReadDataInner(TComponent* instance)
{
    while (!EndOfList())
        ReadProperty(instance);
    ReadListEnd();
    TReaderScope scope(FOwner, FParent);
    FParent = instance->GetChildParent();
    TComponent* childOwner = instance->GetChildOwner();
    FOwner = childOwner != nullptr ? childOwner : FRoot;
    while (!EndOfList())
        ReadComponent(nullptr);
    ReadListEnd();
}

TComponent* TReader::ReadRootComponent(TComponent* root)
{
    ReadSignature();
    TFilerFlags flags;
    Integer childPos = 0;
    ReadPrefix(flags, childPos);
    const std::string className = ReadStr();
    const std::string name = ReadStr();
    bool created = false;
    if (root == nullptr) {
        root = CreateComponent(FindComponentClass(className), nullptr);
        created = true;
    }
    std::vector<Fixup> fixups;
    std::vector<TComponent*> loaded;
    FFixups = &fixups;
    FLoaded = &loaded;
    try {
        if (!root->ComponentState().Contains(csDesigning))
            SetComponentName(root, name);
        FRoot = root;
        FLookupRoot = root;
        FOwner = root;
        loaded.push_back(root);
        root->SetComponentStateFlag(csLoading, true);
        root->SetComponentStateFlag(csReading, true);
        root->ReadState(this);
        root->SetComponentStateFlag(csReading, false);
        FixupReferences();
    } catch (...) {
        FFixups = nullptr;
        FLoaded = nullptr;
        // What was read is not trusted: no fix-ups, no Loaded.
        if (created) {
            root->Free();
        } else {
            std::vector<TComponent*> pending{root};
            while (!pending.empty()) {
                TComponent* c = pending.back();
                pending.pop_back();
                c->SetComponentStateFlag(csLoading, false);
                c->SetComponentStateFlag(csReading, false);
                for (Integer i = 0; i < c->ComponentCount(); ++i)
                    pending.push_back(c->Components(i));
            }
        }
        throw;
    }
    FFixups = nullptr;
    FLoaded = nullptr;
    for (TComponent* c : loaded)
        c->Loaded();
    return root;
}

std::vector<TComponent*> TReader::ReadComponents(TComponent* owner, TComponent* parent)
{
    SetRoot(owner);
    FOwner = owner;
    FParent = parent;
    std::vector<Fixup> fixups;
    std::vector<TComponent*> loaded;
    std::vector<TComponent*> read;
    FFixups = &fixups;
    FLoaded = &loaded;
    try {
        while (!EndOfList()) {
            ReadSignature();
            read.push_back(ReadComponent(nullptr));
        }
        ReadListEnd();
        FixupReferences();
    } catch (...) {
        FFixups = nullptr;
        FLoaded = nullptr;
        for (auto it = read.rbegin(); it != read.rend(); ++it)
            (*it)->Free();
        throw;
    }
    FFixups = nullptr;
    FLoaded = nullptr;
    for (TComponent* c : loaded)
        c->Loaded();
    return read;
}

// Properties

void TReader::ReadProperties(TPersistent* instance)
{
    while (!EndOfList())
        ReadProperty(instance);
}

void TReader::ReadProperty(TPersistent* instance)
{
    const std::string path = ReadStr();
    if (path.empty())
        Error("A property without a name");
    TPersistent* target = instance;
    try {
        size_t start = 0;
        for (;;) {
            const size_t dot = path.find('.', start);
            if (dot == std::string::npos) {
                FPropName = path.substr(start);
                break;
            }
            const std::string part = path.substr(start, dot - start);
            const TPropInfo* p = target->ClassType()->FindProperty(part);
            TPersistent* next = nullptr;
            if (p != nullptr && p->Kind == TTypeKind::tkClass)
                next = dynamic_cast<TPersistent*>(p->GetObj(target));
            if (next == nullptr) {
                FPropName.clear();
                SkipValue();
                Error(Format("Property %s does not exist", {path}));
            }
            target = next;
            start = dot + 1;
        }
        if (const TPropInfo* prop = target->ClassType()->FindProperty(FPropName)) {
            ReadPropValue(target, prop);
        } else {
            target->DefineProperties(this);
            if (!FPropName.empty()) {
                FPropName.clear();
                SkipValue();
                const std::string message = Format("Property %s does not exist", {path});
                bool handled = false;
                if (OnError)
                    OnError(this, message, handled);
                if (!handled)
                    Error(message);
            }
        }
    } catch (const EReadError& e) {
        if (e.Message().rfind("Error reading ", 0) == 0)
            throw;
        const TComponent* owner = dynamic_cast<const TComponent*>(instance);
        const std::string where = owner != nullptr ? owner->GetName() : instance->ClassName();
        throw EReadError(Format("Error reading %s.%s: %s", {where, path, e.Message()}));
    }
}

void TReader::ReadPropValue(TPersistent* instance, const TPropInfo* prop)
{
    auto requireWritable = [&](bool writable) {
        if (!writable) {
            SkipValue();
            Error(Format("Property %s is read-only", {prop->Name}));
        }
    };
    switch (prop->Kind) {
    case TTypeKind::tkInteger: {
        requireWritable(static_cast<bool>(prop->SetOrd));
        if (NextValue() == vaIdent) {
            const std::string ident = ReadIdent();
            Integer value = 0;
            if (prop->Idents == nullptr || !prop->Idents->IdentToInt(ident, value))
                Error(Format("Invalid property value: %s is not a value of %s", {ident, prop->Name}));
            prop->SetOrd(instance, value);
        } else {
            prop->SetOrd(instance, ReadInteger());
        }
        break;
    }
    case TTypeKind::tkEnumeration: {
        requireWritable(static_cast<bool>(prop->SetOrd));
        const std::string ident = ReadIdent();
        const Integer value = prop->EnumType->ValueOf(ident);
        if (value < 0)
            Error(Format("Invalid property value: %s is not a value of %s", {ident, prop->EnumType->Name}));
        prop->SetOrd(instance, value);
        break;
    }
    case TTypeKind::tkBoolean:
        requireWritable(static_cast<bool>(prop->SetOrd));
        prop->SetOrd(instance, ReadBoolean() ? 1 : 0);
        break;
    case TTypeKind::tkSet:
        requireWritable(static_cast<bool>(prop->SetOrd));
        prop->SetOrd(instance, static_cast<Int64>(ReadSet(*prop->EnumType)));
        break;
    case TTypeKind::tkString:
        requireWritable(static_cast<bool>(prop->SetStr));
        prop->SetStr(instance, ReadString());
        break;
    case TTypeKind::tkClass: {
        const Byte t = NextValue();
        if (t == vaNil) {
            ReadValue();
            if (prop->SetObj)
                prop->SetObj(instance, nullptr);
        } else if (t == vaCollection) {
            auto* collection = dynamic_cast<TCollection*>(prop->GetObj(instance));
            if (collection == nullptr) {
                SkipValue();
                Error(Format("Property %s is not a collection", {prop->Name}));
            }
            ReadValue();
            ReadCollection(collection);
        } else {
            ValueError("collection", t);
        }
        break;
    }
    case TTypeKind::tkComponent: {
        requireWritable(static_cast<bool>(prop->SetObj));
        if (NextValue() == vaNil) {
            ReadValue();
            prop->SetObj(instance, nullptr);
        } else {
            std::string name = ReadIdent();
            FFixups->push_back({instance, prop, std::move(name), FRoot});
        }
        break;
    }
    case TTypeKind::tkMethod: {
        requireWritable(static_cast<bool>(prop->SetMethod));
        if (NextValue() == vaNil) {
            ReadValue();
            prop->SetMethod(instance, TMethod{});
        } else {
            BindMethod(instance, prop, ReadIdent());
        }
        break;
    }
    }
}

void TReader::BindMethod(TPersistent* instance, const TPropInfo* prop, const std::string& name)
{
    TMethod method;
    if (FRoot != nullptr)
        method = FRoot->MethodAddress(name);
    bool error = true;
    if (!method.Assigned() && OnFindMethod)
        OnFindMethod(this, name, method, error);
    if (!method.Assigned()) {
        if (error)
            Error(Format("Invalid property value: method %s not found", {name}));
        return;
    }
    if (prop->EventSignature == nullptr || method.Code.Signature == nullptr ||
        *prop->EventSignature != *method.Code.Signature)
        Error(Format("Invalid property value: method %s does not fit %s", {name, prop->Name}));
    if (method.Name.empty())
        method.Name = name;
    prop->SetMethod(instance, method);
}

TComponent* TReader::FindReference(TComponent* root, const std::string& name) const
{
    TComponent* current = root;
    size_t start = 0;
    bool first = true;
    while (current != nullptr) {
        const size_t dot = name.find('.', start);
        const std::string part = name.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        TComponent* next = current->FindComponent(part);
        if (next == nullptr && SameText(part, "Owner"))
            next = current;
        if (next == nullptr && first)
            next = FindGlobalComponent(part);
        current = next;
        first = false;
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    return current;
}

void TReader::FixupReferences()
{
    // A reference to something not in the stream (or not open) stays nil.
    for (Fixup& f : *FFixups) {
        if (OnReferenceName)
            OnReferenceName(this, f.Name);
        if (TComponent* target = FindReference(f.Root, f.Name))
            if (target->InheritsFrom(f.Prop->PropClass()))
                f.Prop->SetObj(f.Instance, target);
    }
    FFixups->clear();
}

void TReader::DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc&, bool)
{
    if (!FPropName.empty() && SameText(name, FPropName) && readData.Assigned()) {
        FPropName.clear();
        readData(this);
    }
}

void TReader::DefineBinaryProperty(const std::string& name, const TStreamProc& readData, const TStreamProc&, bool)
{
    if (!FPropName.empty() && SameText(name, FPropName) && readData.Assigned()) {
        FPropName.clear();
        const std::string bytes = ReadBinary();
        TPointerStream stream(bytes.data(), static_cast<Int64>(bytes.size()));
        readData(&stream);
    }
}

} // namespace ld
