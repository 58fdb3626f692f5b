#pragma once
// Errors raised by the report library. Their messages are the French texts
// that the library's error reporting shows.
#include "platform/text/exceptions.h"

namespace report
{

// A stream record that is short, truncated or runs past the end.
class EFrStreamError : public platform::Exception
{
public:
    EFrStreamError() : Exception(QStringLiteral("Erreur de lecture du flux")) {}
    using Exception::Exception;
};

// Variant conversions and operations on values that do not fit together.
class EVariantError : public platform::Exception
{
public:
    using Exception::Exception;
    static EVariantError typeCast()
    {
        return EVariantError(QStringLiteral("Conversion de type variant incorrecte"));
    }
    static EVariantError invalidOp()
    {
        return EVariantError(QStringLiteral("Opération de variant incorrecte"));
    }
};

// A bound of what a template may build was passed (a value's length, the
// variables of scripts, the nesting or the count of band draws): unlike an
// expression error, never taken as an empty value; it stops the build.
class EFrLimitError : public platform::Exception
{
public:
    using Exception::Exception;
};

// Integer division or remainder by zero.
class EDivByZero : public platform::Exception
{
public:
    EDivByZero() : Exception(QStringLiteral("Division par zéro")) {}
};

// Expressions that cannot be converted or evaluated.
class EParserError : public platform::Exception
{
public:
    using Exception::Exception;
};

// A component of the wrong class where a record source is expected.
class EInvalidCast : public platform::Exception
{
public:
    EInvalidCast() : Exception(QStringLiteral("Transtypage de classe incorrect")) {}
};

// A component or object class that cannot be found.
class EClassNotFound : public platform::Exception
{
public:
    using Exception::Exception;
};

// A record source with no data set behind it.
class EDSError : public platform::Exception
{
public:
    using Exception::Exception;
};

} // namespace report
