#pragma once

#include <memory>
#include <stdexcept>
#include <string>

namespace zdawnik {

// An error that carries the type name the program shows in its error reports
// ("<type> error raised, with message : <message>"), besides its message.
class NamedError : public std::runtime_error
{
public:
    explicit NamedError(const std::string& message)
        : std::runtime_error(message), m_message(std::make_shared<const std::string>(message))
    {
    }
    virtual const char* typeName() const noexcept = 0;
    // The whole message. Messages quote what files hold, NUL bytes included, and what() ends at the
    // first of them.
    const std::string& message() const noexcept { return *m_message; }

private:
    // Shared, so that copying the error never throws.
    std::shared_ptr<const std::string> m_message;
};

// A text that should hold a decimal integer does not.
class EConvertError : public NamedError
{
public:
    using NamedError::NamedError;
    static constexpr const char* Name = "EConvertError";
    const char* typeName() const noexcept override { return Name; }
};

// A file could not be opened or read.
class EInOutError : public NamedError
{
public:
    using NamedError::NamedError;
    static constexpr const char* Name = "EInOutError";
    const char* typeName() const noexcept override { return Name; }
};

// A line of a question file longer than the reader keeps.
class ELineTooLong : public NamedError
{
public:
    using NamedError::NamedError;
    static constexpr const char* Name = "ELineTooLong";
    const char* typeName() const noexcept override { return Name; }
};

// A choice question with more answers than the window has answer panels.
class ETooManyAnswers : public NamedError
{
public:
    using NamedError::NamedError;
    static constexpr const char* Name = "ETooManyAnswers";
    const char* typeName() const noexcept override { return Name; }
};

} // namespace zdawnik
