// Display formats and the standard library's formatting functions over
// arbitrary codes, patterns and values. Input: four bytes of format code,
// one byte choosing the value's type, then the pattern and the value text
// separated by a line feed (Windows-1252).
#include "platform/format/editmask.h"
#include "platform/format/format.h"
#include "platform/text/codec.h"
#include "platform/text/exceptions.h"
#include "report/build/frformat.h"
#include "report/build/frstdfunc.h"
#include "report/core/frlibrary.h"
#include "report/core/frutils.h"
#include "report/expr/frparser.h"
#include "report/objects/frreport.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>

namespace
{

QString quoted(const QString &text)
{
    QString q = text;
    q.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace report;
    static bool started = false;
    if (!started) {
        fr().start();
        started = true;
    }
    if (size < 5)
        return 0;
    qint32 code = 0;
    std::memcpy(&code, data, 4);
    const uint8_t mode = data[4];
    const QString rest = platform::fromAnsi(
        QByteArrayView(reinterpret_cast<const char *>(data + 5), qsizetype(size - 5)));
    const qsizetype cut = rest.indexOf(QLatin1Char('\n'));
    const QString pattern = cut < 0 ? rest : rest.left(cut);
    const QString text = cut < 0 ? QString() : rest.mid(cut + 1);

    double number = 0;
    if (size >= 13 && (mode & 0x80))
        std::memcpy(&number, data + size - 8, 8);
    else
        number = platform::StrToFloatDef(text, double(mode));
    FrVariant value;
    switch (mode % 5) {
    case 0:
        value = FrVariant(text);
        break;
    case 1:
        value = FrVariant(number);
        break;
    case 2:
        value = FrVariant(int(mode) - 128);
        break;
    case 3:
        value = FrVariant::fromDate(number);
        break;
    default:
        value = FrVariant::null();
        break;
    }

    (void)TfrReport::FormatDisplayValue(value, code, pattern);
    QString expression, inlineFormat;
    qint32 inlineCode = code;
    QString inlinePattern = pattern;
    if (frSplitInlineFormat(text, expression, inlineFormat) &&
        frApplyInlineFormat(inlineFormat, inlineCode, inlinePattern))
        (void)TfrReport::FormatDisplayValue(value, inlineCode, inlinePattern);

    try {
        (void)platform::FormatFloat(pattern, number, QChar(char16_t(code & 0xFF)));
    } catch (const platform::Exception &) {
    }
    try {
        (void)platform::FormatDateTime(pattern, number);
    } catch (const platform::Exception &) {
    }
    try {
        (void)platform::FormatMaskText(pattern + QStringLiteral(";0; "), text);
    } catch (const platform::Exception &) {
    }

    // The same through the library's functions, arguments as written in reports.
    TfrStdFunctionLibrary lib;
    const char *const functions[] = {"FORMATFLOAT", "FORMATDATETIME", "FORMATTEXT"};
    const QString numberText = frFloatToStr(number).replace(QLatin1Char(','), QLatin1Char('.'));
    for (const char *f : functions) {
        FrVariant result;
        const QString p2 = std::strcmp(f, "FORMATTEXT") == 0 ? quoted(text) : numberText;
        try {
            lib.OnFunction(QLatin1String(f), FrVariant(quoted(pattern)), FrVariant(p2), FrVariant(),
                           result);
        } catch (const std::exception &) {
        }
    }
    return 0;
}
