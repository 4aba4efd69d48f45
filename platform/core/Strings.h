// TStrings, a list of strings each with an attached object, and TStringList, its
// stored implementation (optionally sorted). Stored in a form file as the defined
// property "Strings", a list of strings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Events.h"
#include "platform/core/Persistent.h"

namespace ld {

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
    LD_CLASS(TStrings, TPersistent)

    ~TStrings() override;

    virtual Integer Count() const = 0;
    virtual std::string Get(Integer index) const = 0;
    virtual void Put(Integer index, const std::string& s);
    virtual TObject* GetObject(Integer index) const;
    virtual void PutObject(Integer index, TObject* object);
    virtual void Insert(Integer index, const std::string& s) = 0;
    virtual void Delete(Integer index) = 0;
    virtual void Clear() = 0;

    std::string Strings(Integer index) const { return Get(index); }
    TObject* Objects(Integer index) const { return GetObject(index); }
    virtual Integer Add(const std::string& s);
    Integer AddObject(const std::string& s, TObject* object);
    void InsertObject(Integer index, const std::string& s, TObject* object);
    void AddStrings(const TStrings* strings);
    virtual void Move(Integer curIndex, Integer newIndex);
    virtual void Exchange(Integer index1, Integer index2);
    virtual Integer IndexOf(std::string_view s) const;
    Integer IndexOfObject(const TObject* object) const;
    Integer IndexOfName(std::string_view name) const;
    // "Name=Value" lines.
    std::string Names(Integer index) const;
    std::string Values(std::string_view name) const;
    void SetValue(std::string_view name, const std::string& value);
    // Lines joined with CR LF after each; setting splits at CR, LF or CR LF.
    std::string GetText() const;
    void SetText(std::string_view text);
    std::string GetCommaText() const;
    void SetCommaText(std::string_view text);

    void BeginUpdate();
    void EndUpdate();
    Integer UpdateCount() const { return FUpdateCount; }

    void Assign(TPersistent* source) override;
    bool Equals(const TStrings* other) const;

protected:
    void DefineProperties(TFiler* filer) override;
    virtual void SetUpdateState(bool updating) {}
    [[noreturn]] void Error(const char* message, Integer data) const;

private:
    Integer FUpdateCount = 0;
};

class TStringList : public TStrings {
    LD_CLASS(TStringList, TStrings)

    TStringList() = default;
    ~TStringList() override;

    Integer Count() const override { return static_cast<Integer>(FItems.size()); }
    std::string Get(Integer index) const override;
    void Put(Integer index, const std::string& s) override;
    TObject* GetObject(Integer index) const override;
    void PutObject(Integer index, TObject* object) override;
    Integer Add(const std::string& s) override;
    void Insert(Integer index, const std::string& s) override;
    void Delete(Integer index) override;
    void Clear() override;
    void Exchange(Integer index1, Integer index2) override;
    Integer IndexOf(std::string_view s) const override;

    // Binary search in a sorted list (case-insensitive); Index is where S is or
    // would go.
    bool Find(std::string_view s, Integer& index) const;
    void Sort();
    bool GetSorted() const { return FSorted; }
    void SetSorted(bool value);
    TDuplicates GetDuplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates value) { FDuplicates = value; }

    TNotifyEvent GetOnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent value) { FOnChange = std::move(value); }
    TNotifyEvent GetOnChanging() const { return FOnChanging; }
    void SetOnChanging(TNotifyEvent value) { FOnChanging = std::move(value); }

protected:
    virtual void Changed();
    virtual void Changing();
    void SetUpdateState(bool updating) override;

private:
    struct Entry {
        std::string String;
        TObject* Object = nullptr;
    };
    void CheckIndex(Integer index) const;
    void InsertItem(Integer index, const std::string& s);
    std::vector<Entry> FItems;
    bool FSorted = false;
    TDuplicates FDuplicates = dupIgnore;
    TNotifyEvent FOnChange;
    TNotifyEvent FOnChanging;
};

} // namespace ld
