#pragma once
// Exception hierarchy of the class library. Every error the library raises is
// an Exception carrying a user-facing message; subclasses let callers catch
// one kind of failure and let others reach the application's default handler.
#include <QString>
#include <exception>
#include <string>
#include <initializer_list>

class Exception : public std::exception {
public:
    explicit Exception(QString message);
    virtual ~Exception() = default;
    const QString& Message() const { return message_; }
    void SetMessage(const QString& message);
    const char* what() const noexcept override { return utf8_.c_str(); }
    virtual const char* ClassName() const { return "Exception"; }

private:
    QString message_;
    std::string utf8_;
};

#define VK_EXCEPTION(Name, Base)                                       \
    class Name : public Base {                                         \
    public:                                                            \
        using Base::Base;                                              \
        const char* ClassName() const override { return #Name; }      \
    }

VK_EXCEPTION(EListError, Exception);
VK_EXCEPTION(EStringListError, EListError);
VK_EXCEPTION(EConvertError, Exception);
VK_EXCEPTION(EInvalidCast, Exception);
VK_EXCEPTION(EFilerError, Exception);
VK_EXCEPTION(EReadError, EFilerError);
VK_EXCEPTION(EWriteError, EFilerError);
VK_EXCEPTION(EClassNotFound, EFilerError);
VK_EXCEPTION(EStreamError, Exception);
VK_EXCEPTION(EFOpenError, EStreamError);
VK_EXCEPTION(EFCreateError, EStreamError);
VK_EXCEPTION(EComponentError, Exception);
VK_EXCEPTION(EInvalidOperation, Exception);
VK_EXCEPTION(EInvalidGraphic, Exception);
VK_EXCEPTION(EPrinter, Exception);

// I/O failure with the operating system's error code.
class EInOutError : public Exception {
public:
    EInOutError(QString message, int errorCode) : Exception(std::move(message)), ErrorCode(errorCode) {}
    const char* ClassName() const override { return "EInOutError"; }
    int ErrorCode;
};

// Substitutes %s and %d in order with the given arguments, as the library's
// message texts are written.
QString Format(const QString& pattern, std::initializer_list<QString> args);

// The library's message texts.
namespace rtlstr {
inline const char* const SListIndexError = "List index out of bounds (%d)";
inline const char* const SInvalidInteger = "'%s' is not a valid integer value";
inline const char* const SPropertyNotFound = "Property %s does not exist";
inline const char* const SInvalidStream = "Invalid stream format";
inline const char* const SReadError = "Stream read error";
inline const char* const SClassNotFound = "Class %s not found";
inline const char* const SDuplicateClass = "A class named %s already exists";
inline const char* const SInvalidCast = "Invalid class typecast";
inline const char* const SFOpenError = "Cannot open file \"%s\". %s";
inline const char* const SFCreateError = "Cannot create file \"%s\". %s";
inline const char* const SDuplicateName = "A component named %s already exists";
inline const char* const SInvalidName = "Component name \"%s\" is not a valid identifier";
inline const char* const SInvalidPropertyValue = "Invalid property value";
}  // namespace rtlstr
