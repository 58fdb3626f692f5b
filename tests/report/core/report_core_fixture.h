#pragma once
// Shared helpers of the report core tests: a library reset around every test
// and map-backed callbacks for the parser and the interpreter.
#include "report/core/frlibrary.h"
#include "report/expr/frinterpreter.h"
#include "report/expr/frparser.h"

#include <QMap>
#include <QStringList>
#include <gtest/gtest.h>

namespace report::test
{

class ReportCoreTest : public ::testing::Test
{
protected:
    void SetUp() override { fr().resetForTests(); }
    void TearDown() override { fr().resetForTests(); }
};

// A parser whose names come from a map (keys as the parser passes them) and
// whose calls are logged.
struct MapParser {
    TfrParser parser;
    QMap<QString, FrVariant> values;
    QStringList askedNames;
    struct Call {
        QString name, p1, p2, p3;
    };
    QList<Call> calls;
    FrVariant functionResult;

    MapParser()
    {
        parser.OnGetValue = [this](const QString &name, FrVariant &value) {
            askedNames.append(name);
            auto it = values.constFind(name);
            if (it != values.constEnd())
                value = it.value();
        };
        parser.OnFunction = [this](const QString &name, const FrVariant &p1, const FrVariant &p2,
                                   const FrVariant &p3, FrVariant &value) {
            calls.append(Call{name, p1.toString(), p2.toString(), p3.toString()});
            value = functionResult;
        };
    }
};

// An interpreter over a case-insensitive map of variables; calls are logged.
class MapInterpreter : public TfrInterpretator
{
public:
    QMap<QString, FrVariant> vars; // keys in upper case
    QList<QStringList> calls;
    int evaluations = 0;
    int evaluationLimit = 0; // 0: no limit

    void GetValue(const QString &name, FrVariant &value) override
    {
        count();
        auto it = vars.constFind(name.toUpper());
        if (it != vars.constEnd())
            value = it.value();
    }
    void SetValue(const QString &name, const FrVariant &value) override
    {
        count();
        vars[name.toUpper()] = value;
    }
    void DoFunction(const QString &name, const FrVariant &p1, const FrVariant &p2,
                    const FrVariant &p3, FrVariant &value) override
    {
        count();
        calls.append({name, p1.toString(), p2.toString(), p3.toString()});
        if (name == QLatin1String("GETARRAY"))
            value = vars.value(p1.toString().trimmed().toUpper() + QLatin1Char('[') +
                               parser().Calc(p2.toString()).toString() + QLatin1Char(']'));
        else if (name == QLatin1String("SETARRAY"))
            vars[p1.toString().trimmed().toUpper() + QLatin1Char('[') +
                 parser().Calc(p2.toString()).toString() + QLatin1Char(']')] =
                parser().Calc(p3.toString());
    }

protected:
    void BeforeLine(int) override { count(); }

private:
    void count()
    {
        if (evaluationLimit > 0 && ++evaluations > evaluationLimit)
            throw std::runtime_error("evaluation limit");
    }
};

inline QString ch(int code)
{
    return QString(QChar(char16_t(code)));
}

} // namespace report::test
