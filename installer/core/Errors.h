// Failures the installer raises. Nothing inside the installer catches them: the
// program's top level shows them as an unhandled failure and exits with 1.
#pragma once

#include <stdexcept>
#include <string>

namespace ld::deckinstall {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    virtual const char* ClassName() const { return "Exception"; }
    std::string Message() const { return what(); }
};

class ERegistryException : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "ERegistryException"; }
};

class EFOpenError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "EFOpenError"; }
};

class EFCreateError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "EFCreateError"; }
};

} // namespace ld::deckinstall
