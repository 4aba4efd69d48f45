#include "platform/core/Strings.h"

#include <algorithm>

#include "platform/core/FilerHooks.h"
#include "platform/core/SysUtils.h"

namespace ld {

TClass TStrings::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TStrings>("TStrings", TPersistent::StaticClass());
    return &info;
}

TClass TStringList::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TStringList>("TStringList", TStrings::StaticClass());
    return &info;
}

TStrings::~TStrings() = default;

void TStrings::Error(const char* message, Integer data) const
{
    throw EStringListError(Format(message, {data}));
}

void TStrings::Put(Integer index, const std::string& s)
{
    TObject* object = GetObject(index);
    Delete(index);
    InsertObject(index, s, object);
}

TObject* TStrings::GetObject(Integer) const { return nullptr; }

void TStrings::PutObject(Integer, TObject*) {}

Integer TStrings::Add(const std::string& s)
{
    const Integer index = Count();
    Insert(index, s);
    return index;
}

Integer TStrings::AddObject(const std::string& s, TObject* object)
{
    const Integer index = Add(s);
    PutObject(index, object);
    return index;
}

void TStrings::InsertObject(Integer index, const std::string& s, TObject* object)
{
    Insert(index, s);
    PutObject(index, object);
}

void TStrings::AddStrings(const TStrings* strings)
{
    BeginUpdate();
    try {
        for (Integer i = 0; i < strings->Count(); ++i)
            AddObject(strings->Get(i), strings->GetObject(i));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::Move(Integer curIndex, Integer newIndex)
{
    if (curIndex == newIndex)
        return;
    BeginUpdate();
    try {
        const std::string s = Get(curIndex);
        TObject* object = GetObject(curIndex);
        Delete(curIndex);
        InsertObject(newIndex, s, object);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::Exchange(Integer index1, Integer index2)
{
    BeginUpdate();
    try {
        const std::string s1 = Get(index1);
        TObject* o1 = GetObject(index1);
        Put(index1, Get(index2));
        PutObject(index1, GetObject(index2));
        Put(index2, s1);
        PutObject(index2, o1);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

Integer TStrings::IndexOf(std::string_view s) const
{
    for (Integer i = 0; i < Count(); ++i)
        if (SameText(Get(i), s))
            return i;
    return -1;
}

Integer TStrings::IndexOfObject(const TObject* object) const
{
    for (Integer i = 0; i < Count(); ++i)
        if (GetObject(i) == object)
            return i;
    return -1;
}

Integer TStrings::IndexOfName(std::string_view name) const
{
    for (Integer i = 0; i < Count(); ++i) {
        const std::string s = Get(i);
        const size_t eq = s.find('=');
        if (eq != std::string::npos && SameText(std::string_view(s).substr(0, eq), name))
            return i;
    }
    return -1;
}

std::string TStrings::Names(Integer index) const
{
    const std::string s = Get(index);
    const size_t eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStrings::Values(std::string_view name) const
{
    const Integer i = IndexOfName(name);
    if (i < 0)
        return {};
    const std::string s = Get(i);
    return s.substr(s.find('=') + 1);
}

void TStrings::SetValue(std::string_view name, const std::string& value)
{
    const Integer i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0)
            Delete(i);
    } else if (i < 0) {
        Add(std::string(name) + "=" + value);
    } else {
        Put(i, std::string(name) + "=" + value);
    }
}

std::string TStrings::GetText() const
{
    std::string text;
    for (Integer i = 0; i < Count(); ++i)
        text += Get(i) + "\r\n";
    return text;
}

void TStrings::SetText(std::string_view text)
{
    BeginUpdate();
    try {
        Clear();
        size_t i = 0;
        while (i < text.size()) {
            size_t e = i;
            while (e < text.size() && text[e] != '\r' && text[e] != '\n')
                ++e;
            Add(std::string(text.substr(i, e - i)));
            if (e < text.size() && text[e] == '\r')
                ++e;
            if (e < text.size() && text[e] == '\n')
                ++e;
            i = e;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TStrings::GetCommaText() const
{
    std::string out;
    for (Integer i = 0; i < Count(); ++i) {
        const std::string s = Get(i);
        bool quote = s.empty();
        for (char c : s)
            if (static_cast<unsigned char>(c) <= ' ' || c == '"' || c == ',')
                quote = true;
        if (i > 0)
            out += ',';
        if (!quote) {
            out += s;
            continue;
        }
        out += '"';
        for (char c : s) {
            if (c == '"')
                out += '"';
            out += c;
        }
        out += '"';
    }
    return out;
}

void TStrings::SetCommaText(std::string_view text)
{
    BeginUpdate();
    try {
        Clear();
        size_t i = 0;
        auto skipBlanks = [&] {
            while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
                ++i;
        };
        skipBlanks();
        while (i < text.size()) {
            std::string item;
            if (text[i] == '"') {
                ++i;
                while (i < text.size()) {
                    if (text[i] == '"') {
                        if (i + 1 < text.size() && text[i + 1] == '"') {
                            item += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    item += text[i++];
                }
            } else {
                while (i < text.size() && static_cast<unsigned char>(text[i]) > ' ' && text[i] != ',')
                    item += text[i++];
            }
            Add(item);
            skipBlanks();
            if (i < text.size() && text[i] == ',') {
                ++i;
                skipBlanks();
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount == 0)
        SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate()
{
    if (FUpdateCount <= 0)
        return;
    if (--FUpdateCount == 0)
        SetUpdateState(false);
}

void TStrings::Assign(TPersistent* source)
{
    if (auto* strings = dynamic_cast<TStrings*>(source)) {
        if (strings == this)
            return;
        BeginUpdate();
        try {
            Clear();
            AddStrings(strings);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return;
    }
    inherited::Assign(source);
}

bool TStrings::Equals(const TStrings* other) const
{
    if (other == nullptr || other->Count() != Count())
        return false;
    for (Integer i = 0; i < Count(); ++i)
        if (Get(i) != other->Get(i))
            return false;
    return true;
}

void TStrings::DefineProperties(TFiler* filer)
{
    if (FilerHooks().DefineStrings != nullptr)
        FilerHooks().DefineStrings(this, filer);
}

// TStringList

TStringList::~TStringList()
{
    FOnChange = nullptr;
    FOnChanging = nullptr;
}

void TStringList::CheckIndex(Integer index) const
{
    if (index < 0 || index >= Count())
        Error("List index out of bounds (%d)", index);
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && FOnChanging)
        FOnChanging(this);
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && FOnChange)
        FOnChange(this);
}

void TStringList::SetUpdateState(bool updating)
{
    if (updating)
        Changing();
    else
        Changed();
}

std::string TStringList::Get(Integer index) const
{
    CheckIndex(index);
    return FItems[static_cast<size_t>(index)].String;
}

void TStringList::Put(Integer index, const std::string& s)
{
    if (FSorted)
        throw EStringListError("Operation not allowed on sorted string list");
    CheckIndex(index);
    Changing();
    FItems[static_cast<size_t>(index)].String = s;
    Changed();
}

TObject* TStringList::GetObject(Integer index) const
{
    CheckIndex(index);
    return FItems[static_cast<size_t>(index)].Object;
}

void TStringList::PutObject(Integer index, TObject* object)
{
    CheckIndex(index);
    Changing();
    FItems[static_cast<size_t>(index)].Object = object;
    Changed();
}

Integer TStringList::Add(const std::string& s)
{
    Integer index = Count();
    if (FSorted && Find(s, index)) {
        if (FDuplicates == dupIgnore)
            return index;
        if (FDuplicates == dupError)
            throw EStringListError("String list does not allow duplicates");
    }
    InsertItem(index, s);
    return index;
}

void TStringList::Insert(Integer index, const std::string& s)
{
    if (FSorted)
        throw EStringListError("Operation not allowed on sorted string list");
    if (index < 0 || index > Count())
        Error("List index out of bounds (%d)", index);
    InsertItem(index, s);
}

void TStringList::InsertItem(Integer index, const std::string& s)
{
    Changing();
    FItems.insert(FItems.begin() + index, Entry{s, nullptr});
    Changed();
}

void TStringList::Delete(Integer index)
{
    CheckIndex(index);
    Changing();
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TStringList::Clear()
{
    if (FItems.empty())
        return;
    Changing();
    FItems.clear();
    Changed();
}

void TStringList::Exchange(Integer index1, Integer index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(FItems[static_cast<size_t>(index1)], FItems[static_cast<size_t>(index2)]);
    Changed();
}

Integer TStringList::IndexOf(std::string_view s) const
{
    if (!FSorted)
        return TStrings::IndexOf(s);
    Integer index = 0;
    return Find(s, index) ? index : -1;
}

bool TStringList::Find(std::string_view s, Integer& index) const
{
    Integer lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        const Integer mid = (lo + hi) / 2;
        const Integer c = CompareText(FItems[static_cast<size_t>(mid)].String, s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (FDuplicates != dupAccept)
                    lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

void TStringList::Sort()
{
    Changing();
    std::stable_sort(FItems.begin(), FItems.end(),
                     [](const Entry& a, const Entry& b) { return CompareText(a.String, b.String) < 0; });
    Changed();
}

void TStringList::SetSorted(bool value)
{
    if (FSorted == value)
        return;
    if (value)
        Sort();
    FSorted = value;
}

} // namespace ld
