#pragma once
// The band dialogs: the record source of a data band, the record sources of
// a cross band for each band it crosses, the type of a new band and the
// condition of a group band. Each OK announces the change to the open
// designer once (one undo entry) before writing the band's text.
#include "designer/core/bandsources.h"
#include "report/ui/frdialogform.h"

#include "platform/dialogs/dialogs.h"

#include <QIcon>
#include <array>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace report
{
class TfrBandView;
class TfrComboEdit;
} // namespace report

namespace designer
{

// The picker's icon of an item (18 x 16): the record count's, or a record
// source's.
QIcon bandSourceIcon(bool recordCount);
// An empty icon of that size: a row without an icon keeps its text in line
// with the others' (20 pixels from the left).
QIcon blankPickerIcon();

class TfrBandEditorForm : public report::TfrObjEditorForm
{
    Q_OBJECT
public:
    explicit TfrBandEditorForm(QWidget *parent = nullptr);
    // Escape and the close box answer Cancel, as the buttons do.
    void reject() override { done(platform::mrCancel); }
    int ShowEditor(report::TfrView &view) override;

    void Load(const report::TfrBandView &band);
    void Apply(report::TfrBandView &band);
    // The count box follows the choice of item 1.
    void updateCountBox();

    QLabel *Label2 = nullptr; // the count label
    QListWidget *LB1 = nullptr;
    QLineEdit *E1 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr;
    QStringList Items;
};

class TfrVBandEditorForm : public report::TfrObjEditorForm
{
    Q_OBJECT
public:
    explicit TfrVBandEditorForm(QWidget *parent = nullptr);
    // Escape and the close box answer Cancel, as the buttons do.
    void reject() override { done(platform::mrCancel); }
    // Cancel, unshown, when the page has no band the cross band crosses.
    int ShowEditor(report::TfrView &view) override;

    // False when there is no band to list.
    bool Load(const report::TfrBandView &band);
    void Apply(report::TfrBandView &band);
    // Shows a row's value; stores the shown value into the current row.
    void showRow(int row);
    void storeRow();
    void updateCountBox();

    QGroupBox *GroupBox1 = nullptr, *GroupBox2 = nullptr;
    QListWidget *LB1 = nullptr;
    QComboBox *CB1 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *E1 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr;
    QStringList Items;
    std::vector<CrossSourceRow> Rows;

private:
    int m_row = -1;
    bool m_updating = false;
};

class TfrBandTypesForm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrBandTypesForm(QWidget *parent = nullptr);
    // Escape and the close box answer Cancel, as the buttons do.
    void reject() override { done(platform::mrCancel); }

    // Enables the types a new band of the page may take and selects the
    // first of them; usedOnPage(type): the page already holds one.
    void Prepare(bool subreportTarget, const std::function<bool(int)> &usedOnPage);
    // The chosen type on OK.
    std::optional<int> Choose(bool subreportTarget, const std::function<bool(int)> &usedOnPage);

    QGroupBox *GB1 = nullptr;
    std::array<QRadioButton *, 22> Buttons{};
    QPushButton *Button1 = nullptr, *Button2 = nullptr;
    int SelectedType = -1;

private:
    void layOut();
};

class TfrGroupEditorForm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrGroupEditorForm(QWidget *parent = nullptr);
    // Escape and the close box answer Cancel, as the buttons do.
    void reject() override { done(platform::mrCancel); }
    int ShowEditor(report::TfrBandView &band);

    void Load(const report::TfrBandView &band);
    void Apply(report::TfrBandView &band);
    // The button: the designer's expression replaces the text unless empty.
    void pickExpression();

    QGroupBox *GB1 = nullptr;
    report::TfrComboEdit *CB1 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr;
};

// The band editor of a band type: data bands, group header and cross data
// band; true on OK (false for other types, which have none).
bool frEditBand(report::TfrView *view, QWidget *parent);

} // namespace designer
