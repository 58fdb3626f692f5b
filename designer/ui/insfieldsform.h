#pragma once
// The designer's DB fields tool window: the report's data sets above, the
// fields of the chosen one below; a field dragged onto the page becomes a
// memo holding it. Created when shown, freed when hidden.
#include <QListWidget>
#include <QString>
#include <QWidget>
#include <functional>

class QFrame;

namespace report
{
class TfrReport;
}

namespace designer
{

class TfrInsFieldsForm;

// The lower list: a drag carries the chosen field in the designer's field
// drag format.
class TfrFieldsList : public QListWidget
{
    Q_OBJECT
public:
    TfrFieldsList(TfrInsFieldsForm *form, QWidget *parent);

protected:
    void startDrag(Qt::DropActions supportedActions) override;

private:
    TfrInsFieldsForm *m_form;
};

class TfrInsFieldsForm : public QWidget
{
    Q_OBJECT
public:
    // owner: the designer window, which the tool window stays above.
    TfrInsFieldsForm(report::TfrReport *report, QWidget *owner);
    ~TfrInsFieldsForm() override;

    QListWidget *DatasetsLB;
    QFrame *Splitter;
    TfrFieldsList *FieldsLB;
    // The text of the field dragged (or chosen when the window was hidden).
    QString DBField;
    // Offer the dictionary's variable categories after the data sets (no
    // report of this program asks for it).
    bool OfferVariables = false;
    // Called after the window was resized or rolled up or down.
    std::function<void()> OnChanged;

    // Fills the lists again, keeping the chosen data set.
    void Refresh();
    // Back to its full height with both lists.
    void Expand();
    // Notes the chosen data set and the chosen field's text.
    void FieldsLBStartDrag();
    // Saves the placement and the split and hands the focus back.
    void FormHide();
    int fullHeight() const { return m_fullHeight; }

    // The item data of a variable category or a variable.
    static constexpr int kVariableMark = 1;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillDataSets();
    void dataSetClicked();
    void rememberDataSet();
    void layoutLists();

    report::TfrReport *m_report;
    QWidget *m_owner;
    int m_upperHeight = 120;
    int m_fullHeight = 233;
    bool m_splitDrag = false;
    int m_splitStart = 0;
    bool m_hidden = false;
};

} // namespace designer
