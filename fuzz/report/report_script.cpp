// Scripts over arbitrary text: check and translate, then run. A script may
// loop for ever: the run stops at its third yield to the event loop, as a
// cancelled build stops it, and after 10,000 evaluations of names and calls.
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
    bool YieldToEvents() override { return ++yields < 3; }

private:
    int yields = 0;
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
