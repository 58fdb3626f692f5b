#pragma once
// The report library's context: the globals every report, preview and
// designer shares, held in one object reached through fr(). start() and end()
// are counted: nested starts create the globals once, the last end frees them.
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <memory>

class QObject;

namespace report
{

class TfrLocale;
class TfrParser;
class TfrInterpretator;
class TfrVariables;
class TfrReport;
class FrStream;

// Stream compressor of prepared reports: the built-in class does nothing.
class TfrCompressor
{
public:
    virtual ~TfrCompressor() = default;
    virtual void Compress(FrStream &source, FrStream &target);
    virtual void DeCompress(FrStream &source, FrStream &target);

    bool Enabled = false;
};

// Nested evaluations (Calc, Split, names resolved through expressions) and the
// names under evaluation, so that a name that refers to itself, or a chain of
// them, ends in an error instead of an endless recursion.
struct FrEvalState {
    int depth = 0;
    QStringList names;
    // Band draws nested now, and when each name began: a name that comes
    // back to itself through band draws is a cycle of bands, not an
    // undefined name.
    int bandDepth = 0;
    QList<int> nameBandDepths;
};

class FrEvalGuard
{
public:
    static constexpr int kMaxDepth = 64;
    // Raises EParserError beyond kMaxDepth levels ("Imbrication trop
    // profonde"), and ("Symbole non défini" "name") with trackName when name is
    // already under evaluation, or EFrLimitError when band draws lie between
    // (bands showing each other from their texts).
    FrEvalGuard(const QString &name, bool trackName);
    ~FrEvalGuard();
    FrEvalGuard(const FrEvalGuard &) = delete;
    FrEvalGuard &operator=(const FrEvalGuard &) = delete;

    // The error raised for name.
    [[noreturn]] static void raiseUndefined(const QString &name);
    [[noreturn]] static void raiseBandCycle();

private:
    bool m_tracked;
};

// The pace of the work of a build, counted over the whole build and not per
// script run: script lines, band draws and records add cheap units; every
// kCheckUnits units the clock is read, and once kYieldMs have passed since
// the last yield a yield to the message pump is due. "Annuler" is so seen
// every few tens of milliseconds, whatever the template, without reading
// the clock for every line.
class FrPace
{
public:
    static constexpr int kCheckUnits = 64;
    static constexpr std::uint32_t kYieldMs = 25;
    // Units of work done; true when a yield is due now (it counts as taken).
    bool step(int units = 1)
    {
        m_units += units;
        return (m_units >= kCheckUnits || m_hurry) && clockSaysYield();
    }
    // Work that cannot yield where it is done (a long value built inside an
    // expression): the next step sees it.
    void add(int units) { m_units += units; }
    // Characters a function read or wrote: a unit per kTextChars, so that a
    // line calling functions on long texts is counted by what they cost.
    static constexpr int kTextChars = 1024;
    void addText(qint64 characters)
    {
        if (characters >= kTextChars)
            m_units += int(std::min<qint64>(characters / kTextChars, 1 << 20));
    }
    // Characters a reader of the template's texts stepped over (names,
    // brackets, expressions, scripts): what is short of a unit is carried to
    // the next read, so that many short texts count as one long one does.
    void addRead(qint64 characters)
    {
        m_read += characters;
        if (m_read >= kTextChars) {
            m_units += int(std::min<qint64>(m_read / kTextChars, 1 << 20));
            m_read %= kTextChars;
        }
    }
    // Inside an expression: true when a yield is due now.
    bool due() { return step(0); }
    // A yield was taken (or a build starts): the next one is due kYieldMs on.
    void yielded();
    // The build stopped: every step is due until the next yield is taken, so
    // that the scripts still running end at once.
    void hurry() { m_hurry = true; }

private:
    bool clockSaysYield();
    bool m_hurry = false;
    int m_units = 0;
    qint64 m_read = 0;
    std::uint32_t m_last = 0;
};

// A reader of the template's texts (the name resolver, the bracket scanner,
// the expression and script readers, the dictionary) stepped over so many
// characters: counted on the text seam (platform::TextSteps) and with the
// build's pace, so that its cost is seen whatever one text holds.
void frCountRead(qint64 characters);

// Bounds of what scripts and expressions build, far above any real memo (a
// page of small print holds some 10,000 characters): one text value holds at
// most kFrMaxTextLength characters (2 MB, a hundred such pages in one memo),
// and the variables scripts create hold at most kFrMaxHeldText characters
// together. Past them the evaluation raises
// EFrLimitError: a script doubling a text in a loop stops within a few
// megabytes instead of taking all the memory.
constexpr qint64 kFrMaxTextLength = 1 << 20;
constexpr qint64 kFrMaxHeldText = 16 * kFrMaxTextLength;
// Raises the error of a text of length characters, when beyond the bound.
void frCheckTextLength(qint64 length);

// State kept by the layers above the core (report objects, pages, printing),
// which link widgets and so cannot live in the core: they create it on first
// use and the context frees it with everything else.
class FrLibraryExtension
{
public:
    virtual ~FrLibraryExtension() = default;
};

class FrLibrary
{
public:
    FrLibrary();
    ~FrLibrary();
    FrLibrary(const FrLibrary &) = delete;
    FrLibrary &operator=(const FrLibrary &) = delete;

    void start();
    void end();
    bool started() const { return m_startCount > 0; }
    // Frees everything and forgets every setting, whatever the start count.
    void resetForTests();

    // Created on first use, possibly before start().
    TfrLocale &frLocale();

    // Format version of the stream being read (21 to 24); writers write 24.
    quint8 frTemplateVersion = 24;
    // Index of the prepared page being built, from 0.
    int frPageNo = 0;

    int frCharset = 1;
    QStringList frBandNames;      // 23 band display texts, in band type order
    QStringList frBooleanFormats; // "false;true" display pairs
    QStringList frDateFormats;
    QStringList frTimeFormats;
    QStringList frScratchList; // shared work list of the memo and the readers

    std::unique_ptr<TfrParser> frGlobalParser;
    std::unique_ptr<TfrInterpretator> frInterpreter;
    std::unique_ptr<TfrVariables> frVariables; // variables created by scripts
    std::unique_ptr<TfrVariables> frConsts;    // named constants of expressions
    std::unique_ptr<TfrCompressor> frCompressor;

    // The report being built or designed, and the window or module that holds it.
    TfrReport *frCurrentReport = nullptr;
    QObject *frCurrentReportOwner() const { return m_currentReportOwner; }
    void setCurrentReport(TfrReport *report, QObject *owner);

    // The application's forms and data modules, where dotted component names
    // are looked up: forms first, then data modules, each in registration order.
    void registerForm(QObject *form);
    void registerDataModule(QObject *module);
    void unregisterComponent(QObject *object);
    QList<QObject *> applicationComponents() const;

    FrEvalState evalState;
    FrPace pace;

    // The object layer's globals (report/objects: frObjects()).
    std::unique_ptr<FrLibraryExtension> objectLayer;
    // The designer's program-wide state (its clipboard, last-used attributes).
    std::unique_ptr<FrLibraryExtension> designerLayer;

    // Steps that the layers above the core add to the creation of the
    // globals (run last) and to their release (run first): the object layer
    // puts in its interpreter and registers its standard functions. Kept
    // across resetForTests.
    using LayerHook = void (*)(FrLibrary &);
    static void addLayerHooks(LayerHook onStart, LayerHook onEnd);

private:
    void createGlobals();
    void freeGlobals();

    int m_startCount = 0;
    std::unique_ptr<TfrLocale> m_locale;
    QPointer<QObject> m_currentReportOwner;
    QList<QPointer<QObject>> m_forms;
    QList<QPointer<QObject>> m_dataModules;
};

// The one instance, made on the first call. Inline: the engine asks for it
// several times for every object it prints.
FrLibrary &frMake();
extern FrLibrary *frInstance;
inline FrLibrary &fr()
{
    return frInstance ? *frInstance : frMake();
}

// Fills a constants list with the library's named constants, in their order.
void frFillConstants(TfrVariables &consts);
// The 42 named colours ("clWhite" ... "clInfoBk") and their values, in one
// order: script constants and the designer's colour choosers share them.
const QStringList &frColorNames();
const QList<qint32> &frColorValues();

} // namespace report
