#include "report/build/frinterpretator.h"

#include "report/build/frbuild.h"
#include "report/core/frexceptions.h"
#include "report/core/frlibrary.h"
#include "report/core/frutils.h"
#include "report/data/frdictionary.h"
#include "report/expr/frvariables.h"
#include "report/objects/frband.h"
#include "report/objects/frglobals.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frseams.h"
#include "report/objects/frview.h"

namespace report
{

namespace
{

TfrDataDictionary *currentDictionary()
{
    TfrReport *report = fr().frCurrentReport;
    return report ? &report->Dictionary() : nullptr;
}

// What every value scripts keep holds, but for the part a caller replaces:
// the scripts' variables, the dictionary's and the objects' texts.
qint64 heldBesides(bool variables, bool dictionary, bool objects)
{
    qint64 held = 0;
    if (variables && fr().frVariables)
        held += fr().frVariables->HeldText();
    if (dictionary)
        if (const TfrDataDictionary *d = currentDictionary())
            held += d->Variables.HeldText();
    if (objects)
        held += frObjects().frScriptObjectHeld;
    return held;
}

void checkHeld(qint64 held)
{
    if (held > kFrMaxHeldText)
        throw EFrLimitError(
            QStringLiteral("Variables trop volumineuses (plus de %1 caractères en tout)")
                .arg(kFrMaxHeldText));
}

qint64 textSize(const FrVariant &value)
{
    return value.isString() ? value.stringValue().size() : 0;
}

} // namespace

void frSetScriptVariable(const QString &name, const FrVariant &value)
{
    TfrVariables *variables = fr().frVariables.get();
    if (!variables)
        return;
    frCheckTextLength(textSize(value));
    checkHeld(variables->HeldTextIfSet(name, value) + heldBesides(false, true, true));
    variables->SetVariable(name, value);
}

void frNoteScriptObjectValue(TfrPropRec &property, const FrVariant &value)
{
    // Numbers, colours and flags given to a property that holds no text of
    // this build's scripts: nothing to count.
    if (property.ScriptText == 0 && !value.isString())
        return;
    FrObjectGlobals &g = frObjects();
    const qint64 size = textSize(value);
    const qint64 before =
        property.ScriptTextBuild == g.frScriptTextsBuild ? property.ScriptText : 0;
    // Every growth of what scripts hold is checked: a text no longer than the
    // one it replaces passes neither bound.
    if (size > before) {
        frCheckTextLength(size);
        checkHeld(heldBesides(true, true, true) - before + size);
    }
    g.frScriptObjectHeld += size - before;
    property.ScriptText = size;
    property.ScriptTextBuild = g.frScriptTextsBuild;
}

void frNoteScriptObjectElement(const TfrObject *object, const QString &property,
                               const FrVariant &index, const FrVariant &value)
{
    FrObjectGlobals &g = frObjects();
    if (g.frScriptElementTexts.isEmpty() && !value.isString())
        return;
    const qint64 size = textSize(value);
    frCheckTextLength(size);
    const FrScriptElementKey key{object, frUpperCase(property), index.toString()};
    const qint64 before = g.frScriptElementTexts.value(key, 0);
    if (size == 0 && before == 0)
        return;
    if (size > before)
        checkHeld(heldBesides(true, true, true) - before + size);
    g.frScriptObjectHeld += size - before;
    g.frScriptElementTexts.insert(key, size);
}

void TInterpretator::GetValue(const QString &name, FrVariant &value)
{
    TfrParser *parser = fr().frGlobalParser.get();
    if (parser && parser->OnGetValue)
        parser->OnGetValue(name, value);
}

void TInterpretator::DoFunction(const QString &name, const FrVariant &p1, const FrVariant &p2,
                                const FrVariant &p3, FrVariant &value)
{
    TfrParser *parser = fr().frGlobalParser.get();
    if (parser && parser->OnFunction)
        parser->OnFunction(name, p1, p2, p3, value);
}

void TInterpretator::SetValue(const QString &name, const FrVariant &value)
{
    FrLibrary &lib = fr();
    FrObjectGlobals &g = frObjects();
    if (lib.frVariables && lib.frVariables->find(name)) {
        frSetScriptVariable(name, value);
        return;
    }
    if (TfrDataDictionary *dictionary = currentDictionary();
        dictionary && dictionary->IsVariable(name)) {
        frCheckTextLength(textSize(value));
        TfrVariables &kept = dictionary->Variables;
        checkHeld(kept.HeldTextIfSet(name, value) + heldBesides(true, false, true));
        dictionary->AssignValue(name, value);
        return;
    }
    const QString up = frUpperCase(name);
    auto *page = dynamic_cast<TfrPage *>(g.frCurrentPage);
    if (up == QLatin1String("MODALRESULT")) {
        const int result = value.toInt();
        if (page && page->PageType() == ptDialog && page->Form)
            page->Form->SetModalResult(result);
        return;
    }
    if (up == QLatin1String("CURY")) {
        // A band that started a page or column keeps the Y its script gives.
        if (TfrBand *band = g.frCurrentBand;
            band && (band->NewPageCount > 0 || band->NewColumnCount > 0))
            band->KeepY = true;
        const int y = value.toInt();
        if (page)
            page->CurY = y;
        return;
    }
    if (up == QLatin1String("PROGRESS")) {
        const QString text = value.toString();
        if (FrProgressWindow *progress = g.frProgressWindow())
            progress->SetLine(text);
        g.ProcessMessages();
        return;
    }
    TfrObject *object = nullptr;
    QString property;
    frFindObjectProperty(name, object, property);
    if (TfrPropRec *rec = object ? object->FindProperty(property) : nullptr) {
        frNoteScriptObjectValue(*rec, value);
        object->SetPropertyValue(property, value);
        return;
    }
    frSetScriptVariable(name, value);
}

bool TInterpretator::YieldToEvents()
{
    frBuildYield();
    if (!frBuildTerminated())
        return true;
    // The scripts the stopped build still runs end at their first line.
    fr().pace.hurry();
    return false;
}

void TInterpretator::YieldWithin()
{
    // Expressions outside a build (the designer's) never run the event loop.
    if (frObjects().frBuilding)
        YieldToEvents();
}

const QStringList &TAggregateFunctionsSplitter::AggregateNames()
{
    static const QStringList names{QStringLiteral("AVG"), QStringLiteral("COUNT"),
                                   QStringLiteral("MAX"), QStringLiteral("MIN"),
                                   QStringLiteral("SUM")};
    return names;
}

TAggregateFunctionsSplitter::TAggregateFunctionsSplitter(QStringList &splitTo)
    : TfrFunctionSplitter(AggregateNames(), splitTo,
                          currentDictionary() ? &currentDictionary()->Variables : nullptr),
      m_splitTo(splitTo)
{
}

void TAggregateFunctionsSplitter::SplitMemo(const QStringList &memo)
{
    for (const QString &line : memo) {
        const int n = int(line.size());
        int pos = 1;
        while (true) {
            while (pos < n && line.at(pos - 1) != QLatin1Char('['))
                ++pos;
            int open = pos, close = pos;
            const QString inner = frGetBracketedName(line, open, close);
            if (close == pos)
                break;
            Split(QLatin1Char('[') + inner + QLatin1Char(']'));
            pos = close + 1;
        }
    }
}

void TAggregateFunctionsSplitter::SplitScript(const QStringList &script)
{
    if (script.isEmpty())
        return;
    TfrInterpretator interpreter;
    interpreter.SplitExpressions(script, AggregateNames(), m_splitTo,
                                 currentDictionary() ? &currentDictionary()->Variables : nullptr);
}

} // namespace report
