// Scripts over arbitrary text: check and translate, then run under an
// interpreter that stops after 10,000 evaluations (a script may loop for ever).
#include "platform/text/codec.h"
#include "report/core/frlibrary.h"
#include "report/expr/frinterpreter.h"

#include <QMap>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <stdexcept>

namespace
{

class BoundedInterpreter : public report::TfrInterpretator
{
public:
    QMap<QString, report::FrVariant> vars;
    int evaluations = 0;

    void GetValue(const QString &name, report::FrVariant &value) override
    {
        count();
        value = vars.value(name.toUpper());
    }
    void SetValue(const QString &name, const report::FrVariant &value) override
    {
        count();
        vars[name.toUpper()] = value;
    }
    void DoFunction(const QString &, const report::FrVariant &p1, const report::FrVariant &,
                    const report::FrVariant &, report::FrVariant &value) override
    {
        count();
        value = parser().Calc(p1.toString());
    }

protected:
    void BeforeLine(int) override { count(); }

private:
    void count()
    {
        if (++evaluations > 10000)
            throw std::runtime_error("too many evaluations");
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text =
        platform::fromAnsi(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    BoundedInterpreter in;
    QStringList coded, errors;
    in.PrepareScript(text.split(QLatin1Char('\n')), coded, errors);
    if (errors.isEmpty()) {
        try {
            in.DoScript(coded);
        } catch (const std::exception &) {
        }
    }
    // Damaged coded lines must not be read past their end either.
    try {
        BoundedInterpreter raw;
        raw.DoScript(text.split(QLatin1Char('\n')));
    } catch (const std::exception &) {
    }
    return 0;
}
