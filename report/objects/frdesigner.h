#pragma once
// The engine's view of the report designer: an abstract window class that the
// designer registers at start-up (frDesignerClass), the open designer
// (frCurrentDesigner) and the property editors it registers for the objects.
#include "report/objects/frobject.h"

#include <QString>
#include <array>
#include <functional>
#include <memory>

namespace report
{

class FrPageLink;

class TfrReportDesigner
{
public:
    // designMode: 1 design a report, 0 edit one prepared page.
    explicit TfrReportDesigner(int designMode) : DesignMode(designMode) {}
    virtual ~TfrReportDesigner() = default;
    TfrReportDesigner(const TfrReportDesigner &) = delete;
    TfrReportDesigner &operator=(const TfrReportDesigner &) = delete;

    virtual bool IsModified() const = 0;
    virtual void SetModified(bool value) = 0;
    // Records the state before a change (undo).
    virtual void NotifyBeforeChange() = 0;
    // Updates the window after a change.
    virtual void NotifyAfterChange() = 0;
    virtual void RepaintPage() = 0;
    virtual void SelectByName(const QString &name) = 0;
    virtual QString PickDataField() = 0;
    virtual QString PickExpression() = 0;
    // Shows the window modally; its modal result.
    virtual int ShowModal() = 0;
    // The template's objects are about to be made anew (new IDs) while the
    // designer is open, and have been: what it holds of them is noted before
    // and found again after.
    virtual void TemplateAboutToRebuild() {}
    virtual void TemplateRebuilt() {}

    int DesignMode;
    // The page shown (the designer's current page).
    FrPageLink *Page = nullptr;
};

// The registered designer class: builds a designer window for a mode.
using TfrDesignerClass = std::function<std::unique_ptr<TfrReportDesigner>(int designMode)>;

// Property editors the designer registers for the objects' property lists.
enum class FrEditorKind : int {
    Memo = 0,
    Tag,
    Restrictions,
    Picture,
    Highlight,
    Font,
    DataField,
    BandDataSource,
    VBandDataSource,
    Count
};

class FrPropEditors
{
public:
    void Register(FrEditorKind kind, FrPropEditor editor)
    {
        m_editors[size_t(kind)] = std::move(editor);
    }
    // The editor, or an empty function when none is registered.
    const FrPropEditor &Get(FrEditorKind kind) const { return m_editors[size_t(kind)]; }
    // Calls it when there is one; false otherwise, and false when the
    // editor was cancelled (see Answer), so that callers record nothing.
    bool Call(FrEditorKind kind) const;
    // Calls an editor taken from a property list the same way.
    bool Run(const FrPropEditor &editor) const;
    // Said by an editor while it runs: false when it was cancelled or could
    // not open. Editors that say nothing count as accepted. The answer stays
    // until the next editor starts, so a caller around an object's own editor
    // operation (which calls the registry itself) can read it.
    void Answer(bool accepted) const { m_accepted = accepted; }
    bool LastAnswer() const { return m_accepted; }

private:
    std::array<FrPropEditor, size_t(FrEditorKind::Count)> m_editors;
    mutable bool m_accepted = true;
};

// A designer that only counts the calls the objects make; its page and the
// objects' selection flags are set by the test.
class FrCountingDesigner : public TfrReportDesigner
{
public:
    explicit FrCountingDesigner(int designMode = 1) : TfrReportDesigner(designMode) {}
    bool IsModified() const override { return modified; }
    void SetModified(bool value) override { modified = value; }
    void NotifyBeforeChange() override { ++beforeChanges; }
    void NotifyAfterChange() override { ++afterChanges; }
    void RepaintPage() override { ++repaints; }
    void SelectByName(const QString &name) override { selectedName = name; }
    QString PickDataField() override { return dataField; }
    QString PickExpression() override { return expression; }
    // Runs the scripted edit, then answers the scripted result.
    void TemplateAboutToRebuild() override { ++rebuildNotes; }
    void TemplateRebuilt() override { ++rebuilds; }
    int ShowModal() override
    {
        ++shows;
        if (edit)
            edit(*this);
        return modalResult;
    }

    int modalResult = 1;
    int shows = 0;
    int rebuildNotes = 0;
    int rebuilds = 0;
    std::function<void(FrCountingDesigner &)> edit;
    bool modified = false;
    int beforeChanges = 0;
    int afterChanges = 0;
    int repaints = 0;
    QString selectedName;
    QString dataField;
    QString expression;
};

} // namespace report
