#pragma once

#include <stdexcept>
#include <string>

namespace zdawnik {

// An error that carries the type name the program shows in its error reports
// ("<type> error raised, with message : <message>"), besides its message.
class NamedError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
    virtual const char* typeName() const noexcept = 0;
};

// A text that should hold a decimal integer does not.
class EConvertError : public NamedError
{
public:
    using NamedError::NamedError;
    const char* typeName() const noexcept override { return "EConvertError"; }
};

// A file could not be opened or read.
class EInOutError : public NamedError
{
public:
    using NamedError::NamedError;
    const char* typeName() const noexcept override { return "EInOutError"; }
};

// A line of a question file longer than the reader keeps.
class ELineTooLong : public NamedError
{
public:
    using NamedError::NamedError;
    const char* typeName() const noexcept override { return "ELineTooLong"; }
};

// A choice question with more answers than the window has answer panels.
class ETooManyAnswers : public NamedError
{
public:
    using NamedError::NamedError;
    const char* typeName() const noexcept override { return "ETooManyAnswers"; }
};

} // namespace zdawnik
