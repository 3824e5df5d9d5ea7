#pragma once
// The exception classes of the run-time layer. Every error the program raises
// derives from Exception; EAbort is the silent exception that ends an action
// without a message.
#include <QString>
#include <exception>
#include <QByteArray>

class Exception : public std::exception {
public:
    explicit Exception(const QString& message) : m_message(message), m_utf8(message.toUtf8()) {}
    ~Exception() override = default;
    const QString& Message() const { return m_message; }
    void SetMessage(const QString& m) { m_message = m; m_utf8 = m.toUtf8(); }
    const char* what() const noexcept override { return m_utf8.constData(); }
    // Exact class name as the class library reports it ("EConvertError", ...).
    virtual QString ClassName() const { return QStringLiteral("Exception"); }
private:
    QString m_message;
    QByteArray m_utf8;
};

#define DPX_EXCEPTION(Name, Base)                                                  \
    class Name : public Base {                                                     \
    public:                                                                        \
        explicit Name(const QString& message) : Base(message) {}                  \
        QString ClassName() const override { return QStringLiteral(#Name); }      \
    };

DPX_EXCEPTION(EAbort, Exception)            // silent: the application shows nothing
DPX_EXCEPTION(EConvertError, Exception)
DPX_EXCEPTION(EVariantError, Exception)
DPX_EXCEPTION(EVariantTypeCastError, EVariantError)
DPX_EXCEPTION(EVariantOverflowError, EVariantError)
DPX_EXCEPTION(EMathError, Exception)
DPX_EXCEPTION(EZeroDivide, EMathError)
DPX_EXCEPTION(EOverflow, EMathError)
DPX_EXCEPTION(EInvalidOp, EMathError)
DPX_EXCEPTION(EIntOverflow, Exception)
DPX_EXCEPTION(EDivByZero, Exception)        // integer division by zero: "Division by zero"
DPX_EXCEPTION(ERangeError, Exception)
DPX_EXCEPTION(EListError, Exception)
DPX_EXCEPTION(EStringListError, Exception)
DPX_EXCEPTION(EInOutError, Exception)
DPX_EXCEPTION(EFOpenError, Exception)
DPX_EXCEPTION(EFCreateError, Exception)
DPX_EXCEPTION(EInvalidOperation, Exception)
DPX_EXCEPTION(EInvalidPointer, Exception)
DPX_EXCEPTION(EOutOfResources, Exception)
DPX_EXCEPTION(EDatabaseError, Exception)    // dataset and field errors
DPX_EXCEPTION(EOleException, Exception)     // engine errors, message = engine text
DPX_EXCEPTION(EPrinter, Exception)
DPX_EXCEPTION(EIniFileException, Exception) // "Unable to write to <file>"

// Raises the silent exception.
[[noreturn]] inline void Abort() { throw EAbort(QStringLiteral("Operation aborted")); }
