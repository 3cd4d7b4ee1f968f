#pragma once

#include <QString>
#include <exception>

namespace vornel {

// Base of every error the service client and the generation model raise.
// description() is the user-facing text that console lines print.
class Error : public std::exception {
public:
    explicit Error(QString description)
        : m_description(std::move(description)), m_utf8(m_description.toUtf8())
    {
    }
    const QString& description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_description;
    QByteArray m_utf8;
};

// An error reported by the service, or about a request that could not be built.
// Its description is its detail.
class ServiceError : public Error {
public:
    explicit ServiceError(const QString& detail) : Error(detail) {}
    const QString& detail() const noexcept { return description(); }
};

// No HTTP response at all: connection refused, reset, timed out, TLS failure.
class TransportError : public Error {
    using Error::Error;
};

// A 2xx body that does not decode as the expected record.
class DecodingError : public Error {
    using Error::Error;
};

// A wait that gave up: poll limit reached or deadline passed.
class CancellationError : public Error {
public:
    CancellationError() : Error(QStringLiteral("The operation was cancelled.")) {}
};

// A general error with a domain and code, as the generation model raises.
class GeneralError : public Error {
public:
    GeneralError(QString domain, int code, const QString& message)
        : Error(message), m_domain(std::move(domain)), m_code(code)
    {
    }
    const QString& domain() const noexcept { return m_domain; }
    int code() const noexcept { return m_code; }

private:
    QString m_domain;
    int m_code;
};

} // namespace vornel
