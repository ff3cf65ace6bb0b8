#pragma once

#include <stdexcept>
#include <string>

namespace zdawnik {

// The errors of the bank carry the type name the program shows in its error reports
// ("<type> error raised, with message : <message>"), besides their message.
class BankError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
    virtual const char* typeName() const noexcept = 0;
};

// A text that should hold a decimal integer does not.
class EConvertError : public BankError
{
public:
    using BankError::BankError;
    const char* typeName() const noexcept override { return "EConvertError"; }
};

// A question file could not be opened or read.
class EInOutError : public BankError
{
public:
    using BankError::BankError;
    const char* typeName() const noexcept override { return "EInOutError"; }
};

// A choice question with more answers than the window has answer panels.
class ETooManyAnswers : public BankError
{
public:
    using BankError::BankError;
    const char* typeName() const noexcept override { return "ETooManyAnswers"; }
};

// "'<text>' is not a valid integer value"
std::string NotAnIntegerMessage(const std::string& text);

// Converts a decimal integer text the way the program's number fields do: optional sign, digits,
// nothing else; throws EConvertError otherwise.
int StrToInt(const std::string& text);

} // namespace zdawnik
