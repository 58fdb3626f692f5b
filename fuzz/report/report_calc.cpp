// The expression parser over arbitrary text: conversion, evaluation through
// callbacks that answer a few names (one of them through another expression),
// and the function splitter.
#include "platform/text/codec.h"
#include "report/core/frlibrary.h"
#include "report/expr/frparser.h"
#include "report/expr/frvariables.h"

#include <cstddef>
#include <cstdint>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace report;
    const QString text =
        platform::fromAnsi(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    TfrVariables vars;
    vars.SetVariable(QStringLiteral("A"), FrVariant(3));
    vars.SetVariable(QStringLiteral("T"), FrVariant(QStringLiteral("texte")));
    vars.SetVariable(QStringLiteral("E"), FrVariant(text.left(64)));
    TfrParser parser;
    parser.OnGetValue = [&](const QString &name, FrVariant &value) {
        if (name.compare(QLatin1String("E"), Qt::CaseInsensitive) == 0) {
            FrEvalGuard guard(name, true);
            value = parser.Calc(vars.GetVariable(name).toString());
        } else if (vars.IndexOf(name) >= 0) {
            value = vars.GetVariable(name);
        }
    };
    parser.OnFunction = [&](const QString &name, const FrVariant &p1, const FrVariant &,
                            const FrVariant &, FrVariant &value) {
        if (name == QLatin1String("SUM"))
            value = parser.Calc(p1.toString());
    };
    try {
        parser.Calc(text);
    } catch (const std::exception &) {
    }
    try {
        QStringList found;
        QStringList match{QStringLiteral("SUM"), QStringLiteral("AVG")};
        TfrFunctionSplitter(match, found, &vars).Split(text);
    } catch (const std::exception &) {
    }
    if (fr().evalState.depth != 0 || !fr().evalState.names.isEmpty())
        __builtin_trap(); // the guard must unwind on every path
    return 0;
}
