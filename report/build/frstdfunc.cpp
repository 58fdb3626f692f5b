#include "report/build/frstdfunc.h"

#include "platform/dialogs/dialogs.h"
#include "platform/format/editmask.h"
#include "platform/format/format.h"
#include "platform/text/convert.h"
#include "report/build/frbuild.h"
#include "report/build/frinterpretator.h"
#include "report/core/frlibrary.h"
#include "report/core/frlocale.h"
#include "report/core/frutils.h"
#include "report/expr/frparser.h"
#include "report/objects/frband.h"
#include "report/objects/frbandview.h"
#include "report/objects/frglobals.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frview.h"

#include <optional>
#include <vector>

namespace report
{

namespace
{

enum StdFunction {
    fnAvg,
    fnCount,
    fnDayOf,
    fnFormatDateTime,
    fnFormatFloat,
    fnFormatText,
    fnInput,
    fnLength,
    fnLowerCase,
    fnMax,
    fnMaxNum,
    fnMessageBox,
    fnMin,
    fnMinNum,
    fnMonthOf,
    fnNameCase,
    fnPos,
    fnSum,
    fnTrim,
    fnUpperCase,
    fnYearOf,
};

const char *const kNames[] = {"AVG",        "COUNT",      "DAYOF",  "FORMATDATETIME", "FORMATFLOAT",
                              "FORMATTEXT", "INPUT",      "LENGTH", "LOWERCASE",      "MAX",
                              "MAXNUM",     "MESSAGEBOX", "MIN",    "MINNUM",         "MONTHOF",
                              "NAMECASE",   "POS",        "SUM",    "TRIM",           "UPPERCASE",
                              "YEAROF"};

struct Description {
    const char *name;
    int category;
    int text;
};

// The order in which the expression builder receives them.
const Description kDescriptions[] = {
    {"AVG", 55349, 55360},         {"COUNT", 55349, 55361},
    {"DAYOF", 55350, 55362},       {"FORMATDATETIME", 55351, 55363},
    {"FORMATFLOAT", 55351, 55364}, {"FORMATTEXT", 55351, 55416},
    {"INPUT", 55352, 55365},       {"LENGTH", 55351, 55366},
    {"LOWERCASE", 55351, 55367},   {"MAX", 55349, 55368},
    {"MIN", 55349, 55369},         {"MONTHOF", 55350, 55370},
    {"NAMECASE", 55351, 55371},    {"STRTODATE", 55350, 55372},
    {"STRTOTIME", 55350, 55373},   {"SUM", 55349, 55374},
    {"TRIM", 55351, 55375},        {"UPPERCASE", 55351, 55376},
    {"YEAROF", 55350, 55377},      {"MAXNUM", 55353, 55412},
    {"MINNUM", 55353, 55413},      {"POS", 55351, 55414},
    {"MESSAGEBOX", 55352, 55415},  {"IF", 55352, 55378},
    {"COPY", 55351, 55379},        {"MOD", 55353, 55380},
    {"STR", 55351, 55381},         {"NOT", 55354, 55382},
    {"AND", 55354, 55383},         {"OR", 55354, 55384},
    {"ROUND", 55353, 55385},       {"FRAC", 55353, 55386},
    {"INT", 55353, 55387},         {"TRUE", 55354, 55388},
    {"FALSE", 55354, 55389},       {"PAGE#", 55352, 55390},
    {"DATE", 55350, 55391},        {"TIME", 55350, 55392},
    {"LINE#", 55352, 55393},       {"LINETHROUGH#", 55352, 55394},
    {"COLUMN#", 55352, 55395},     {"TOTALPAGES", 55352, 55396},
    {"MROK", 55355, 55397},        {"MRCANCEL", 55355, 55398},
    {"CURY", 55355, 55399},        {"FREESPACE", 55355, 55400},
    {"FINALPASS", 55355, 55401},   {"PAGEHEIGHT", 55355, 55402},
    {"PAGEWIDTH", 55355, 55403},   {"PROGRESS", 55355, 55404},
    {"MODALRESULT", 55355, 55405}, {"STOPREPORT", 55355, 55406},
    {"NEWPAGE", 55355, 55407},     {"NEWCOLUMN", 55355, 55408},
    {"SHOWBAND", 55355, 55409},    {"INC", 55355, 55410},
    {"DEC", 55355, 55411},
};

// The text of the string table itself: FORMATTEXT's description is read
// past the application's localisation hook.
QString programText(int id)
{
    return FrStringTable::program().text(id);
}

// An argument text evaluated; a blank argument is the empty text (so that
// LENGTH() is 0 and an INPUT without default starts empty).
FrVariant calc(const FrVariant &argument)
{
    const QString text = argument.toString();
    if (text.trimmed().isEmpty())
        return FrVariant(QString());
    return fr().frGlobalParser->Calc(text);
}

QString calcText(const FrVariant &argument)
{
    const FrVariant v = calc(argument);
    return v.isNull() || v.isUnassigned() ? QString() : v.toString();
}

// A date part of an evaluated date through the date pattern, as an integer.
FrVariant datePart(const FrVariant &argument, const char *pattern)
{
    const FrVariant date = calc(argument);
    return FrVariant(
        platform::StrToInt(platform::FormatDateTime(QLatin1String(pattern), date.toDouble())));
}

// Where needle first stands in text, or -1: in linear time whatever the
// needle (a long needle of repeated characters makes the usual search
// quadratic). Short needles keep the library's search.
qsizetype findText(const QString &text, const QString &needle)
{
    const qsizetype m = needle.size(), n = text.size();
    platform::detail::countTextSteps(m + n);
    if (m <= 16 || m > n)
        return text.indexOf(needle);
    // The longest proper border of each prefix of the needle.
    std::vector<qsizetype> border(size_t(m), 0);
    const QChar *p = needle.constData(), *t = text.constData();
    for (qsizetype i = 1, k = 0; i < m; ++i) {
        while (k > 0 && p[i] != p[k])
            k = border[size_t(k - 1)];
        if (p[i] == p[k])
            ++k;
        border[size_t(i)] = k;
    }
    for (qsizetype i = 0, k = 0; i < n; ++i) {
        while (k > 0 && t[i] != p[k])
            k = border[size_t(k - 1)];
        if (t[i] == p[k] && ++k == m)
            return i - m + 1;
    }
    return -1;
}

QString trimControls(const QString &text)
{
    qsizetype start = 0, end = text.size();
    while (start < end && text.at(start).unicode() <= 32)
        ++start;
    while (end > start && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(start, end - start);
}

// The button of a script's box that stops the build, as the progress
// window's "Annuler" does; Escape and the box's close button press it too.
QString stopBuildCaption()
{
    return QStringLiteral("Arrêter la préparation");
}

// The answer of a message box given the platform's mb_ flags.
int messageBox(const QString &text, const QString &title, int flags)
{
    platform::MsgDlgButtons buttons = platform::mbOK;
    switch (flags & 0x0F) {
    case 1:
        buttons = platform::mbOKCancel;
        break;
    case 2:
        buttons = platform::mbAbortRetryIgnore;
        break;
    case 3:
        buttons = platform::mbYesNoCancel;
        break;
    case 4:
        buttons = platform::mbYes | platform::mbNo;
        break;
    case 5:
        buttons = platform::mbRetry | platform::mbCancel;
        break;
    default:
        break;
    }
    platform::MsgDlgType type = platform::mtCustom;
    switch (flags & 0xF0) {
    case 16:
        type = platform::mtError;
        break;
    case 32:
        type = platform::mtConfirmation;
        break;
    case 48:
        type = platform::mtWarning;
        break;
    case 64:
        type = platform::mtInformation;
        break;
    default:
        break;
    }
    // A box shown while a report is built offers to stop the build: the
    // box's own buttons, "Annuler" among them, stay answers for the script.
    if (!frBuildMaster())
        return platform::MessageDlgWithCaption(title, text, type, buttons);
    if (frBuildTerminated())
        return platform::mrCancel;
    platform::MessageRequest request{text, type, buttons, title};
    request.extraButton = stopBuildCaption();
    const int answer = platform::MessageDlgWithExtra(request);
    if (answer != platform::mrExtra)
        return answer;
    frBuildStop();
    return platform::mrCancel;
}

// The input box of scripts; while a report is built, as messageBox. A
// stopped build or a cancelled box gives the default text.
QString inputBox(const QString &prompt, const QString &defaultText)
{
    if (!frBuildMaster())
        return platform::InputBox(QString(), prompt, defaultText);
    if (frBuildTerminated())
        return defaultText;
    const platform::InputBoxAnswer answer =
        platform::InputBoxWithExtra({QString(), prompt, defaultText, stopBuildCaption()});
    if (answer.extra)
        frBuildStop();
    return answer.text ? *answer.text : defaultText;
}

// The data band whose aggregates a band shows when its call names none.
int defaultDataBandType(int bandType)
{
    switch (bandType) {
    case btReportSummary:
    case btPageFooter:
    case btMasterFooter:
    case btGroupFooter:
        return btMasterData;
    case btDetailFooter:
        return btDetailData;
    case btSubDetailFooter:
        return btSubDetailData;
    case btCrossFooter:
        return btCrossData;
    default:
        return btNone;
    }
}

// Registers the aggregate with the data band being prepared, or reads the
// value the band accumulated for it.
void aggregate(int kind, const FrVariant &p1, const FrVariant &p2, const FrVariant &p3,
               FrVariant &val)
{
    FrObjectGlobals &g = frObjects();
    QString bandName = p2.toString();
    QString flag = p3.toString();
    if (kind == TfrStdFunctionLibrary::kCount) {
        bandName = p1.toString();
        flag = p2.toString();
    }
    // "SUM([x], MasterData1, 1)": the flag as the band reads it, without the blank.
    flag = flag.trimmed();
    const QString expression = p1.toString();
    TfrBand *current = g.frCurrentBand;
    if (!current)
        return;
    const QChar sep(char16_t(1));

    if (g.frAggregatePrepare) {
        TfrBand *dataBand = g.frAggregateBand;
        if (!dataBand)
            return;
        if (bandName.isEmpty()) {
            if (dataBand->Typ != defaultDataBandType(current->Typ))
                return;
            bandName = dataBand->Name;
        }
        if (!frSameText(bandName.trimmed(), dataBand->Name))
            return;
        QString head = current->Name;
        if (current->Typ != btCrossFooter && current->HasCrossObjects)
            head = QStringLiteral("0") + sep + head;
        const FrVariant initial =
            kind == TfrStdFunctionLibrary::kMin ? FrVariant(1e300) : FrVariant(0);
        dataBand->SetAggregateValue(
            TfrStdFunctionLibrary::AggregateKey(head, kind, expression, flag), initial);
        current->AggregateBand = dataBand;
        return;
    }

    TfrBand *dataBand = current->AggregateBand;
    if (!dataBand)
        return;
    QString head = current->Name;
    if (current->Typ == btCrossData) {
        // A cross cell shows the column's copy of the key that the row
        // registered; a footer row's keys live in its data band.
        const TfrPage *page = dynamic_cast<const TfrPage *>(current->Page);
        head = QString::number(page ? page->CrossColumn : 1) + sep + dataBand->Name;
        const int t = dataBand->Typ;
        if (t != btMasterData && t != btDetailData && t != btSubDetailData) {
            dataBand = dataBand->AggregateBand;
            if (!dataBand)
                return;
        }
    }
    val = dataBand->GetAggregateValue(
        TfrStdFunctionLibrary::AggregateKey(head, kind, expression, flag));
}

} // namespace

TfrStdFunctionLibrary::TfrStdFunctionLibrary()
{
    for (const char *name : kNames)
        List.append(QString::fromLatin1(name));
    for (const Description &d : kDescriptions) {
        const QString text = d.text == 55416 ? programText(d.text) : frLoadString(d.text);
        AddFunctionDesc(QString::fromLatin1(d.name), frLoadString(d.category), text);
    }
}

QString TfrStdFunctionLibrary::AggregateKey(const QString &head, int kind,
                                            const QString &expression, const QString &flag)
{
    const QChar sep(char16_t(1));
    QString key = head;
    key += sep;
    key += QChar(char16_t(kind));
    key += sep;
    key += expression;
    key += sep;
    key += flag;
    key += sep;
    return key;
}

void TfrStdFunctionLibrary::DoFunction(int fno, const FrVariant &p1, const FrVariant &p2,
                                       const FrVariant &p3, FrVariant &val)
{
    val = FrVariant(QStringLiteral("0"));
    switch (fno) {
    case fnAvg:
        aggregate(kAvg, p1, p2, p3, val);
        break;
    case fnCount:
        aggregate(kCount, p1, p2, p3, val);
        break;
    case fnMax:
        aggregate(kMax, p1, p2, p3, val);
        break;
    case fnMin:
        aggregate(kMin, p1, p2, p3, val);
        break;
    case fnSum:
        aggregate(kSum, p1, p2, p3, val);
        break;
    case fnDayOf:
        val = datePart(p1, "d");
        break;
    case fnMonthOf:
        val = datePart(p1, "m");
        break;
    case fnYearOf:
        val = datePart(p1, "yyyy");
        break;
    case fnFormatDateTime: {
        // A short pattern may make a long text: refused as it passes the bound.
        std::optional<QString> text = platform::FormatDateTimeWithin(
            calcText(p1), calc(p2).toDouble(), qsizetype(kFrMaxTextLength));
        if (!text)
            frCheckTextLength(kFrMaxTextLength + 1);
        val = FrVariant(std::move(*text));
        break;
    }
    case fnFormatFloat:
        val = FrVariant(platform::FormatFloat(calcText(p1), calc(p2).toDouble()));
        break;
    case fnFormatText:
        val = FrVariant(
            platform::FormatMaskText(calcText(p1) + QStringLiteral(";0; "), calcText(p2)));
        break;
    case fnInput:
        val = FrVariant(inputBox(calcText(p1), calcText(p2)));
        break;
    case fnLength:
        val = FrVariant(int(calcText(p1).size()));
        break;
    case fnLowerCase:
        val = FrVariant(frLowerCase(calcText(p1)));
        break;
    case fnUpperCase:
        val = FrVariant(frUpperCase(calcText(p1)));
        break;
    case fnMaxNum:
    case fnMinNum: {
        const FrVariant a = calc(p1), b = calc(p2);
        const int c = frCompare(a, b);
        val = (fno == fnMaxNum ? c > 0 : c < 0) ? a : b;
        break;
    }
    case fnMessageBox:
        // Without flags the box has its one OK button.
        val = FrVariant(messageBox(calcText(p1), calcText(p2),
                                   p3.toString().trimmed().isEmpty() ? 0 : calc(p3).toInt()));
        break;
    case fnNameCase: {
        QString s = frLowerCase(calcText(p1));
        if (!s.isEmpty())
            s[0] = frUpperChar(s.at(0));
        val = FrVariant(s);
        break;
    }
    case fnPos:
        val = FrVariant(int(findText(calcText(p2), calcText(p1))) + 1);
        break;
    case fnTrim:
        val = FrVariant(trimControls(calcText(p1)));
        break;
    default:
        break;
    }
}

void frStartObjectLayer(FrLibrary &library)
{
    library.frInterpreter = std::make_unique<TInterpretator>();
    frRegisterFunctionLibrary<TfrStdFunctionLibrary>(
        QString::fromLatin1(TfrStdFunctionLibrary::kClassName));
    frObjects().memoFieldValue = [](const QString &expression, TfrView *view) {
        FrObjectGlobals &g = frObjects();
        TfrReport *report = g.frCurrentReport ? g.frCurrentReport->AsReport() : nullptr;
        if (!report)
            return fr().frGlobalParser ? fr().frGlobalParser->Calc(expression).toString()
                                       : QString();
        TfrView *kept = g.frCurrentView;
        if (view)
            g.frCurrentView = view;
        QString result;
        try {
            report->FormatValue(expression, result);
        } catch (...) {
            g.frCurrentView = kept;
            throw;
        }
        g.frCurrentView = kept;
        return result;
    };
}

void frEndObjectLayer(FrLibrary &library)
{
    if (!library.objectLayer)
        return;
    frUnRegisterFunctionLibrary(QString::fromLatin1(TfrStdFunctionLibrary::kClassName));
    frObjects().memoFieldValue = nullptr;
}

} // namespace report
