// Event closures: an object and one of its member functions, optionally with the
// published name of that method (set when a form file bound it). A closure of any
// signature converts to and from TMethod, its signature-erased form, which type info
// and the stream reader and writer pass around.
#pragma once

#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <typeinfo>
#include <utility>

namespace ld {

class TObject;

// Identity of a member function, kept as the bytes of its member pointer so that
// methods of any signature can be compared and found again by name.
struct TMethodCode {
    const std::type_info* Signature = nullptr; // typeid(void (TObject::*)(Args...))
    std::array<unsigned char, 2 * sizeof(void*)> Bytes{};

    template <class... Args>
    static TMethodCode Of(void (TObject::*code)(Args...))
    {
        static_assert(sizeof(code) <= sizeof(Bytes));
        TMethodCode c;
        if (code != nullptr) {
            c.Signature = &typeid(void (TObject::*)(Args...));
            std::memcpy(c.Bytes.data(), &code, sizeof(code));
        }
        return c;
    }
    bool Assigned() const { return Signature != nullptr; }
    friend bool operator==(const TMethodCode& a, const TMethodCode& b)
    {
        if (a.Signature == nullptr || b.Signature == nullptr)
            return a.Signature == b.Signature;
        return *a.Signature == *b.Signature && a.Bytes == b.Bytes;
    }
};

// A bound method with its signature erased.
struct TMethod {
    TObject* Data = nullptr;
    TMethodCode Code;
    std::string Name;
    bool Assigned() const { return Data != nullptr && Code.Assigned(); }
};

template <class... Args>
class TClosure {
public:
    using Code = void (TObject::*)(Args...);
    using Function = std::function<void(Args...)>;

    TClosure() = default;
    TClosure(std::nullptr_t) {}

    // Binds Object's Method; Name is the method's published name, if it has one.
    template <class O, class C>
    TClosure(O* object, void (C::*method)(Args...), std::string name = {})
        : FData(object ? static_cast<TObject*>(static_cast<C*>(object)) : nullptr),
          FCode(static_cast<Code>(method)), FName(std::move(name))
    {
        static_assert(std::is_base_of_v<C, O>);
    }

    // A closure around a plain function object (tests, glue code); it has no
    // method name, so the stream writer never stores it.
    static TClosure Lambda(Function fn)
    {
        TClosure c;
        c.FFunction = std::make_shared<Function>(std::move(fn));
        return c;
    }

    // Rebuilds a closure from its erased form; a method of another signature gives
    // an empty closure (check Matches first).
    static TClosure FromMethod(const TMethod& m)
    {
        TClosure c;
        if (!m.Assigned() || !Matches(m.Code))
            return c;
        c.FData = m.Data;
        std::memcpy(&c.FCode, m.Code.Bytes.data(), sizeof(Code));
        c.FName = m.Name;
        return c;
    }
    static bool Matches(const TMethodCode& code)
    {
        return code.Signature != nullptr && *code.Signature == typeid(Code);
    }
    static const std::type_info& Signature() { return typeid(Code); }
    // The code of O::NoHandler of this signature; O is TObject, named by the
    // caller because it is not complete here.
    template <class O>
    static TMethodCode NoHandlerCode()
    {
        return TMethodCode::Of(static_cast<Code>(&O::template NoHandler<Args...>));
    }

    TMethod ToMethod() const
    {
        TMethod m;
        if (FData != nullptr && FCode != nullptr) {
            m.Data = FData;
            m.Code = TMethodCode::Of(FCode);
            m.Name = FName;
        }
        return m;
    }

    bool Assigned() const { return (FData != nullptr && FCode != nullptr) || FFunction != nullptr; }
    explicit operator bool() const { return Assigned(); }

    void operator()(Args... args) const
    {
        if (FFunction)
            (*FFunction)(std::forward<Args>(args)...);
        else if (FData != nullptr && FCode != nullptr)
            (FData->*FCode)(std::forward<Args>(args)...);
    }

    TObject* Data() const { return FData; }
    const std::string& MethodName() const { return FName; }

    friend bool operator==(const TClosure& a, const TClosure& b)
    {
        return a.FData == b.FData && a.FCode == b.FCode && a.FFunction == b.FFunction;
    }

private:
    TObject* FData = nullptr;
    Code FCode = nullptr;
    std::string FName;
    std::shared_ptr<Function> FFunction;
};

template <class... Args>
bool Assigned(const TClosure<Args...>& closure)
{
    return closure.Assigned();
}

using TNotifyEvent = TClosure<TObject*>;

} // namespace ld
