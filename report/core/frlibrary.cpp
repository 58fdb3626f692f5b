#include "report/core/frlibrary.h"

#include "platform/clock/clock.h"
#include "platform/format/format.h"
#include "platform/text/convert.h"
#include "report/core/frexceptions.h"
#include "report/core/frlocale.h"
#include "report/core/frutils.h"
#include "report/core/frvariant.h"
#include "report/expr/frinterpreter.h"
#include "report/expr/frparser.h"
#include "report/expr/frvariables.h"

#include <QObject>
#include <vector>

namespace report
{

void TfrCompressor::Compress(FrStream &, FrStream &) {}
void TfrCompressor::DeCompress(FrStream &, FrStream &) {}

FrEvalGuard::FrEvalGuard(const QString &name, bool trackName) : m_tracked(false)
{
    FrEvalState &state = fr().evalState;
    // Too deep is not unknown: the user must learn to simplify the expression.
    if (state.depth >= kMaxDepth)
        throw EParserError(
            QStringLiteral("Imbrication trop profonde (plus de %1 niveaux)").arg(kMaxDepth));
    if (trackName) {
        for (qsizetype i = 0; i < state.names.size(); ++i)
            if (frSameText(state.names.at(i), name)) {
                if (state.nameBandDepths.value(i) < state.bandDepth)
                    raiseBandCycle();
                raiseUndefined(name);
            }
        state.names.append(name);
        state.nameBandDepths.append(state.bandDepth);
        m_tracked = true;
    }
    ++state.depth;
}

FrEvalGuard::~FrEvalGuard()
{
    FrEvalState &state = fr().evalState;
    if (state.depth > 0)
        --state.depth;
    if (m_tracked && !state.names.isEmpty()) {
        state.names.removeLast();
        if (!state.nameBandDepths.isEmpty())
            state.nameBandDepths.removeLast();
    }
}

void FrEvalGuard::raiseBandCycle()
{
    // The same box as a chain of bands too deep: a template whose bands show
    // each other stops with it whatever shows them.
    throw EFrLimitError(QStringLiteral("Imbrication des bandes trop profonde (des bandes "
                                       "s'affichent l'une l'autre)"));
}

void FrEvalGuard::raiseUndefined(const QString &name)
{
    throw EParserError(frLoadString(55439) + QStringLiteral(" \"") + platform::excerpt(name) +
                       QLatin1Char('"'));
}

void FrPace::yielded()
{
    m_units = 0;
    m_hurry = false;
    m_last = platform::GetTickCount();
}

bool FrPace::clockSaysYield()
{
    m_units = 0;
    if (m_hurry)
        return true;
    const std::uint32_t now = platform::GetTickCount();
    // Unsigned: the tick count wraps.
    if (now - m_last < kYieldMs)
        return false;
    m_last = now;
    return true;
}

void frCountRead(qint64 characters)
{
    platform::detail::countTextSteps(characters);
    fr().pace.addRead(characters);
}

void frCheckTextLength(qint64 length)
{
    if (length > kFrMaxTextLength)
        throw EFrLimitError(
            QStringLiteral("Valeur trop longue (plus de %1 caractères)").arg(kFrMaxTextLength));
}

namespace
{
struct LayerHooks {
    FrLibrary::LayerHook onStart;
    FrLibrary::LayerHook onEnd;
};
std::vector<LayerHooks> &layerHooks()
{
    static std::vector<LayerHooks> hooks;
    return hooks;
}
} // namespace

void FrLibrary::addLayerHooks(LayerHook onStart, LayerHook onEnd)
{
    for (const LayerHooks &h : layerHooks())
        if (h.onStart == onStart && h.onEnd == onEnd)
            return;
    layerHooks().push_back({onStart, onEnd});
}

FrLibrary::FrLibrary() = default;
FrLibrary::~FrLibrary() = default;

FrLibrary *frInstance = nullptr;

FrLibrary &frMake()
{
    static FrLibrary library;
    frInstance = &library;
    return library;
}

TfrLocale &FrLibrary::frLocale()
{
    if (!m_locale)
        m_locale = std::make_unique<TfrLocale>();
    return *m_locale;
}

void FrLibrary::start()
{
    if (m_startCount++ == 0)
        createGlobals();
}

void FrLibrary::end()
{
    if (m_startCount == 0)
        return;
    if (--m_startCount == 0)
        freeGlobals();
}

void FrLibrary::createGlobals()
{
    frCharset = platform::StrToIntDef(frLoadString(55337), 1);
    frBandNames.clear();
    for (int id = 55077; id <= 55099; ++id)
        frBandNames.append(frLoadString(id));
    frBooleanFormats.clear();
    for (int id = 55170; id <= 55173; ++id)
        frBooleanFormats.append(frLoadString(id));
    frDateFormats.clear();
    frTimeFormats.clear();
    for (int i = 0; i < 4; ++i) {
        frDateFormats.append(frLoadString(55175 + i));
        frTimeFormats.append(frLoadString(55179 + i));
    }
    frScratchList.clear();
    frGlobalParser = std::make_unique<TfrParser>();
    frInterpreter = std::make_unique<TfrInterpretator>();
    frVariables = std::make_unique<TfrVariables>();
    frVariables->SetSorted(true);
    frConsts = std::make_unique<TfrVariables>();
    frConsts->SetSorted(true);
    frFillConstants(*frConsts);
    frCompressor = std::make_unique<TfrCompressor>();
    for (const LayerHooks &h : layerHooks())
        if (h.onStart)
            h.onStart(*this);
}

void FrLibrary::freeGlobals()
{
    for (auto it = layerHooks().rbegin(); it != layerHooks().rend(); ++it)
        if (it->onEnd)
            it->onEnd(*this);
    m_locale.reset();
    frScratchList.clear();
    frGlobalParser.reset();
    frInterpreter.reset();
    frVariables.reset();
    frConsts.reset();
    frCompressor.reset();
}

void FrLibrary::resetForTests()
{
    freeGlobals();
    m_startCount = 0;
    frTemplateVersion = 24;
    frPageNo = 0;
    frCharset = 1;
    frBandNames.clear();
    frBooleanFormats.clear();
    frDateFormats.clear();
    frTimeFormats.clear();
    frCurrentReport = nullptr;
    m_currentReportOwner = nullptr;
    m_forms.clear();
    m_dataModules.clear();
    evalState = FrEvalState();
    pace = FrPace();
    designerLayer.reset();
    objectLayer.reset();
}

void FrLibrary::setCurrentReport(TfrReport *report, QObject *owner)
{
    frCurrentReport = report;
    m_currentReportOwner = report ? owner : nullptr;
}

void FrLibrary::registerForm(QObject *form)
{
    if (form && !m_forms.contains(form))
        m_forms.append(form);
}

void FrLibrary::registerDataModule(QObject *module)
{
    if (module && !m_dataModules.contains(module))
        m_dataModules.append(module);
}

void FrLibrary::unregisterComponent(QObject *object)
{
    m_forms.removeAll(object);
    m_dataModules.removeAll(object);
}

QList<QObject *> FrLibrary::applicationComponents() const
{
    QList<QObject *> result;
    for (const auto &f : m_forms)
        if (f)
            result.append(f.data());
    for (const auto &m : m_dataModules)
        if (m)
            result.append(m.data());
    return result;
}

namespace
{
struct ColourEntry {
    const char *name;
    qint64 value;
};
// The named colours of scripts and of the designer's colour choosers.
const ColourEntry kColours[] = {
    {"clWhite", 0xFFFFFF},
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clTransparent", 0x1FFFFFFF},
    {"clScrollBar", 0x80000000},
    {"clBackground", 0x80000001},
    {"clActiveCaption", 0x80000002},
    {"clInactiveCaption", 0x80000003},
    {"clMenu", 0x80000004},
    {"clWindow", 0x80000005},
    {"clWindowFrame", 0x80000006},
    {"clMenuText", 0x80000007},
    {"clWindowText", 0x80000008},
    {"clCaptionText", 0x80000009},
    {"clActiveBorder", 0x8000000A},
    {"clInactiveBorder", 0x8000000B},
    {"clAppWorkSpace", 0x8000000C},
    {"clHighlight", 0x8000000D},
    {"clHighlightText", 0x8000000E},
    {"clBtnFace", 0x8000000F},
    {"clBtnShadow", 0x80000010},
    {"clGrayText", 0x80000011},
    {"clBtnText", 0x80000012},
    {"clInactiveCaptionText", 0x80000013},
    {"clBtnHighlight", 0x80000014},
    {"cl3DDkShadow", 0x80000015},
    {"cl3DLight", 0x80000016},
    {"clInfoText", 0x80000017},
    {"clInfoBk", 0x80000018},
};
} // namespace

const QStringList &frColorNames()
{
    static const QStringList names = [] {
        QStringList list;
        for (const ColourEntry &e : kColours)
            list << QString::fromLatin1(e.name);
        return list;
    }();
    return names;
}

const QList<qint32> &frColorValues()
{
    static const QList<qint32> values = [] {
        QList<qint32> list;
        for (const ColourEntry &e : kColours)
            list << qint32(quint32(e.value));
        return list;
    }();
    return values;
}

void frFillConstants(TfrVariables &consts)
{
    struct Entry {
        const char *name;
        qint64 value;
    };
    static const Entry modalResults[] = {
        {"mrNone", 0}, {"mrOk", 1}, {"mrCancel", 2}, {"mrYes", 6}, {"mrNo", 7}};
    static const Entry fontStyles[] = {
        {"fsBold", 2}, {"fsItalic", 1}, {"fsUnderline", 4}, {"fsStrikeOut", 8}};
    static const Entry frameEdges[] = {
        {"frftNone", 0}, {"frftRight", 1}, {"frftBottom", 2}, {"frftLeft", 4}, {"frftTop", 8}};
    static const Entry alignments[] = {{"frtaLeft", 0},     {"frtaRight", 1},  {"frtaCenter", 2},
                                       {"frtaVertical", 4}, {"frtaMiddle", 8}, {"frtaDown", 16}};
    static const Entry bandAligns[] = {{"baNone", 0},   {"baLeft", 1},  {"baRight", 2},
                                       {"baCenter", 3}, {"baWidth", 4}, {"baBottom", 5},
                                       {"baTop", 6}};
    static const Entry frameStyles[] = {{"psSolid", 0},   {"psDash", 1},       {"psDot", 2},
                                        {"psDashDot", 3}, {"psDashDotDot", 4}, {"psDouble", 5}};
    static const Entry messageFlags[] = {{"mb_Ok", 0},
                                         {"mb_OkCancel", 1},
                                         {"mb_YesNo", 4},
                                         {"mb_YesNoCancel", 3},
                                         {"mb_IconError", 16},
                                         {"mb_IconQuestion", 32},
                                         {"mb_IconInformation", 64},
                                         {"mb_IconWarning", 48}};

    // Colours keep the platform's 32-bit encoding: system colours are negative.
    auto add = [&consts](const auto &table) {
        for (const Entry &e : table)
            consts.SetVariable(QString::fromLatin1(e.name), FrVariant(qint32(quint32(e.value))));
    };
    for (qsizetype i = 0; i < frColorNames().size(); ++i)
        consts.SetVariable(frColorNames()[i], FrVariant(frColorValues()[i]));
    add(modalResults);
    consts.SetVariable(QStringLiteral("CRLF"), FrVariant(QStringLiteral("\r\n")));
    consts.SetVariable(QStringLiteral("Null"), FrVariant::null());
    add(fontStyles);
    add(frameEdges);
    add(alignments);
    add(bandAligns);
    add(frameStyles);
    add(messageFlags);
}

} // namespace report
