#include "designer/ui/bandforms.h"

#include "designer/ui/dialogrows.h"

#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "report/core/frlibrary.h"
#include "report/core/frlocale.h"
#include "report/data/frdictionary.h"
#include "report/objects/frbandview.h"
#include "report/objects/frdesigner.h"
#include "report/objects/frglobals.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/ui/frctrls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace designer
{

namespace bandforms_detail
{

report::TfrDataDictionary *dictionary()
{
    report::TfrReport *r = report::fr().frCurrentReport;
    return r ? &r->Dictionary() : nullptr;
}

void notifyBeforeChange()
{
    if (report::TfrReportDesigner *d = report::frObjects().frCurrentDesigner)
        d->NotifyBeforeChange();
}

void addOkCancel(QDialog *dialog, QBoxLayout *layout, QPushButton *&ok, QPushButton *&cancel)
{
    layout->addLayout(okCancelButtons(dialog, ok, cancel, "Button1", "Button2"));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog,
                     platform::handler([dialog] { dialog->done(platform::mrOk); }));
    QObject::connect(cancel, &QPushButton::clicked, dialog,
                     platform::handler([dialog] { dialog->done(platform::mrCancel); }));
}

// The picker's rows: item 0 plain, the others with their icon.
void fillPicker(QListWidget *list, const QStringList &items)
{
    list->clear();
    for (int i = 0; i < items.size(); ++i) {
        auto *row = new QListWidgetItem(items.at(i), list);
        row->setIcon(i > 0 ? bandSourceIcon(i == 1) : blankPickerIcon());
    }
}

void fillPicker(QComboBox *combo, const QStringList &items)
{
    combo->clear();
    for (int i = 0; i < items.size(); ++i) {
        combo->addItem(i > 0 ? bandSourceIcon(i == 1) : blankPickerIcon(), items.at(i));
    }
}

int runModal(QDialog *dialog)
{
    platform::ModalScope scope(dialog->parentWidget());
    return dialog->exec();
}

} // namespace bandforms_detail

QIcon bandSourceIcon(bool recordCount)
{
    QPixmap pixmap(18, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    if (recordCount) {
        // A stack of numbered rows.
        p.setPen(QColor(0, 0, 128));
        for (int i = 0; i < 3; ++i) {
            p.fillRect(QRect(3, 2 + i * 4, 12, 3), QColor(255, 255, 192));
            p.drawRect(QRect(3, 2 + i * 4, 12, 3));
        }
    } else {
        // A small table: header row and a grid.
        p.fillRect(QRect(1, 2, 16, 12), Qt::white);
        p.fillRect(QRect(1, 2, 16, 3), QColor(0, 0, 128));
        p.setPen(QColor(0, 0, 128));
        p.drawRect(QRect(1, 2, 15, 11));
        p.drawLine(6, 5, 6, 13);
        p.drawLine(11, 5, 11, 13);
        p.drawLine(1, 9, 16, 9);
    }
    return QIcon(pixmap);
}

QIcon blankPickerIcon()
{
    QPixmap pixmap(18, 16);
    pixmap.fill(Qt::transparent);
    return QIcon(pixmap);
}

// --- data band source

TfrBandEditorForm::TfrBandEditorForm(QWidget *parent) : TfrObjEditorForm(parent)
{
    setObjectName(QStringLiteral("frBandEditorForm"));
    setWindowTitle(report::frLoadString(53480));
    auto *top = new QVBoxLayout(this);
    LB1 = new QListWidget(this);
    LB1->setObjectName(QStringLiteral("LB1"));
    LB1->setIconSize(QSize(18, 16));
    top->addWidget(LB1);
    auto *countRow = new QHBoxLayout;
    Label2 = new QLabel(report::frLoadString(53482), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    E1 = new QLineEdit(this);
    E1->setObjectName(QStringLiteral("E1"));
    Label2->setBuddy(E1);
    countRow->addWidget(Label2);
    countRow->addWidget(E1);
    top->addLayout(countRow);
    bandforms_detail::addOkCancel(this, top, Button1, Button2);
    connect(LB1, &QListWidget::currentRowChanged, this,
            platform::handler([this](int) { updateCountBox(); }));
    connect(LB1, &QListWidget::itemDoubleClicked, this,
            platform::handler([this](QListWidgetItem *) { done(platform::mrOk); }));
    resize(260, 300);
}

void TfrBandEditorForm::updateCountBox()
{
    report::frEnableControls({Label2, E1}, LB1->currentRow() == 1);
}

void TfrBandEditorForm::Load(const report::TfrBandView &band)
{
    static report::TfrDataDictionary empty;
    report::TfrDataDictionary *dict = bandforms_detail::dictionary();
    Items = bandSourceItems(dict ? *dict : empty);
    bandforms_detail::fillPicker(LB1, Items);
    const BandSourceChoice choice = classifyBandSource(band.FormatStr, Items, dict ? *dict : empty);
    E1->setText(choice.count);
    LB1->setCurrentRow(choice.item);
    updateCountBox();
}

void TfrBandEditorForm::Apply(report::TfrBandView &band)
{
    static report::TfrDataDictionary empty;
    report::TfrDataDictionary *dict = bandforms_detail::dictionary();
    BandSourceChoice choice;
    choice.item = std::max(0, LB1->currentRow());
    choice.count = E1->text();
    bandforms_detail::notifyBeforeChange();
    band.FormatStr = bandSourceText(choice, Items, dict ? *dict : empty);
}

int TfrBandEditorForm::ShowEditor(report::TfrView &view)
{
    auto *band = dynamic_cast<report::TfrBandView *>(&view);
    if (!band)
        return platform::mrCancel;
    Load(*band);
    const int result = bandforms_detail::runModal(this);
    if (result == platform::mrOk)
        Apply(*band);
    return result;
}

// --- cross band sources

TfrVBandEditorForm::TfrVBandEditorForm(QWidget *parent) : TfrObjEditorForm(parent)
{
    setObjectName(QStringLiteral("frVBandEditorForm"));
    setWindowTitle(report::frLoadString(53485));
    auto *top = new QVBoxLayout(this);
    auto *boxes = new QHBoxLayout;
    GroupBox1 = new QGroupBox(report::frLoadString(53486), this);
    auto *left = new QVBoxLayout(GroupBox1);
    LB1 = new QListWidget(GroupBox1);
    LB1->setObjectName(QStringLiteral("LB1"));
    left->addWidget(LB1);
    GroupBox2 = new QGroupBox(report::frLoadString(53487), this);
    auto *right = new QVBoxLayout(GroupBox2);
    CB1 = new QComboBox(GroupBox2);
    CB1->setObjectName(QStringLiteral("CB1"));
    CB1->setIconSize(QSize(18, 16));
    right->addWidget(CB1);
    Label1 = new QLabel(report::frLoadString(53488), GroupBox2);
    Label1->setObjectName(QStringLiteral("Label1"));
    E1 = new QLineEdit(GroupBox2);
    E1->setObjectName(QStringLiteral("E1"));
    Label1->setBuddy(E1);
    right->addWidget(Label1);
    right->addWidget(E1);
    right->addStretch();
    boxes->addWidget(GroupBox1, 3);
    boxes->addWidget(GroupBox2, 2);
    top->addLayout(boxes);
    bandforms_detail::addOkCancel(this, top, Button1, Button2);
    connect(LB1, &QListWidget::currentRowChanged, this, platform::handler([this](int row) {
                if (m_updating)
                    return;
                storeRow();
                showRow(row);
            }));
    // The shown value is the row's at once: no way out of the dialog can
    // lose it.
    connect(CB1, &QComboBox::currentIndexChanged, this, platform::handler([this](int) {
                updateCountBox();
                if (!m_updating)
                    storeRow();
            }));
    connect(E1, &QLineEdit::textEdited, this,
            platform::handler([this](const QString &) { storeRow(); }));
    resize(420, 260);
}

void TfrVBandEditorForm::updateCountBox()
{
    report::frEnableControls({Label1, E1}, CB1->currentIndex() == 1);
}

bool TfrVBandEditorForm::Load(const report::TfrBandView &band)
{
    static report::TfrDataDictionary empty;
    report::TfrDataDictionary *dict = bandforms_detail::dictionary();
    Rows.clear();
    m_row = -1;
    const report::TfrPage *page = nullptr;
    if (report::TfrReportDesigner *d = report::frObjects().frCurrentDesigner)
        page = dynamic_cast<const report::TfrPage *>(d->Page);
    if (page)
        Rows = crossSourceRows(*page, band.FormatStr);
    if (Rows.empty())
        return false;
    Items = bandSourceItems(dict ? *dict : empty);
    m_updating = true;
    bandforms_detail::fillPicker(CB1, Items);
    LB1->clear();
    for (const CrossSourceRow &row : Rows)
        LB1->addItem(row.text());
    LB1->setCurrentRow(0);
    m_updating = false;
    showRow(0);
    return true;
}

void TfrVBandEditorForm::showRow(int row)
{
    static report::TfrDataDictionary empty;
    report::TfrDataDictionary *dict = bandforms_detail::dictionary();
    m_row = row;
    if (row < 0 || row >= int(Rows.size()))
        return;
    const BandSourceChoice choice =
        classifyBandSource(Rows[size_t(row)].value, Items, dict ? *dict : empty);
    m_updating = true;
    CB1->setCurrentIndex(choice.item);
    E1->setText(choice.count);
    m_updating = false;
    updateCountBox();
}

void TfrVBandEditorForm::storeRow()
{
    static report::TfrDataDictionary empty;
    report::TfrDataDictionary *dict = bandforms_detail::dictionary();
    if (m_row < 0 || m_row >= int(Rows.size()))
        return;
    BandSourceChoice choice;
    choice.item = std::max(0, CB1->currentIndex());
    choice.count = E1->text();
    Rows[size_t(m_row)].value = bandSourceText(choice, Items, dict ? *dict : empty);
}

void TfrVBandEditorForm::Apply(report::TfrBandView &band)
{
    storeRow();
    bandforms_detail::notifyBeforeChange();
    band.FormatStr = buildCrossSources(Rows);
}

int TfrVBandEditorForm::ShowEditor(report::TfrView &view)
{
    auto *band = dynamic_cast<report::TfrBandView *>(&view);
    if (!band || !Load(*band))
        return platform::mrCancel;
    const int result = bandforms_detail::runModal(this);
    if (result == platform::mrOk)
        Apply(*band);
    return result;
}

// --- band types

TfrBandTypesForm::TfrBandTypesForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frBandTypesForm"));
    setWindowTitle(report::frLoadString(53510));
    GB1 = new QGroupBox(report::frLoadString(53511), this);
    GB1->setObjectName(QStringLiteral("GB1"));
    const QStringList &names = report::fr().frBandNames;
    for (int type = 0; type < int(Buttons.size()); ++type) {
        auto *b = new QRadioButton(type < names.size() ? names.at(type) : QString(), GB1);
        b->setObjectName(QStringLiteral("RB%1").arg(type + 1));
        b->setProperty("Tag", type);
        connect(b, &QRadioButton::toggled, this, platform::handler([this, type](bool on) {
                    if (on)
                        SelectedType = type;
                }));
        Buttons[size_t(type)] = b;
    }
    Button1 = new QPushButton(report::frLoadString(55000), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(report::frLoadString(55001), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(Button1, &QPushButton::clicked, this,
            platform::handler([this] { done(platform::mrOk); }));
    connect(Button2, &QPushButton::clicked, this,
            platform::handler([this] { done(platform::mrCancel); }));
    layOut();
}

void TfrBandTypesForm::layOut()
{
    // Two columns as wide as the widest caption; a caption is never cut by
    // the radio mark the style draws before it.
    const QFontMetrics fm(font());
    auto textWidth = [&](QRadioButton *b) {
        return std::max(fm.horizontalAdvance(b->text()), b->sizeHint().width() - 20);
    };
    int widest = 0;
    for (QRadioButton *b : Buttons)
        widest = std::max(widest, textWidth(b));
    const int w = widest + 20;
    const int margin = 8;
    const int boxWidth = 2 * w + 54;
    const int rowHeight = 20;
    const int boxHeight = 20 + 11 * rowHeight + 8;
    GB1->setGeometry(margin, margin, boxWidth, boxHeight);
    for (int type = 0; type < int(Buttons.size()); ++type) {
        QRadioButton *b = Buttons[size_t(type)];
        const int left = type <= 10 ? 12 : w + 42;
        const int top = 20 + rowHeight * (type <= 10 ? type : type - 11);
        b->setGeometry(left, top, textWidth(b) + 20, std::max(17, b->sizeHint().height()));
    }
    const int clientWidth = boxWidth + 2 * margin;
    const int buttonTop = margin + boxHeight + 8;
    const QSize ok(std::max(75, Button1->sizeHint().width()), 25);
    const QSize cancel(std::max(75, Button2->sizeHint().width()), 25);
    Button2->setGeometry(clientWidth - cancel.width() - 5, buttonTop, cancel.width(), 25);
    Button1->setGeometry(clientWidth - ok.width() - cancel.width() - 10, buttonTop, ok.width(), 25);
    setFixedSize(clientWidth, buttonTop + 25 + margin);
}

void TfrBandTypesForm::Prepare(bool subreportTarget, const std::function<bool(int)> &usedOnPage)
{
    SelectedType = -1;
    QRadioButton *first = nullptr;
    for (int type = 0; type < int(Buttons.size()); ++type) {
        QRadioButton *b = Buttons[size_t(type)];
        const bool used = usedOnPage && usedOnPage(type);
        b->setEnabled(bandTypeAvailable(type, used, subreportTarget));
        if (b->isEnabled() && !first)
            first = b;
    }
    for (QRadioButton *b : Buttons) {
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(true);
    }
    if (first)
        first->setChecked(true);
    Button1->setEnabled(first != nullptr);
}

std::optional<int> TfrBandTypesForm::Choose(bool subreportTarget,
                                            const std::function<bool(int)> &usedOnPage)
{
    Prepare(subreportTarget, usedOnPage);
    if (bandforms_detail::runModal(this) != platform::mrOk || SelectedType < 0)
        return std::nullopt;
    return SelectedType;
}

// --- group condition

TfrGroupEditorForm::TfrGroupEditorForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frGroupEditorForm"));
    setWindowTitle(report::frLoadString(53490));
    auto *top = new QVBoxLayout(this);
    GB1 = new QGroupBox(report::frLoadString(53491), this);
    auto *box = new QVBoxLayout(GB1);
    CB1 = new report::TfrComboEdit(GB1);
    CB1->setObjectName(QStringLiteral("CB1"));
    CB1->SetButtonHint(report::frLoadString(53492));
    CB1->OnButtonClick = [this] { pickExpression(); };
    box->addWidget(CB1);
    top->addWidget(GB1);
    bandforms_detail::addOkCancel(this, top, Button1, Button2);
    resize(330, 120);
}

void TfrGroupEditorForm::pickExpression()
{
    report::TfrReportDesigner *d = report::frObjects().frCurrentDesigner;
    if (!d)
        return;
    const QString expression = d->PickExpression();
    if (!expression.isEmpty())
        CB1->setEditText(expression);
}

void TfrGroupEditorForm::Load(const report::TfrBandView &band)
{
    CB1->setEditText(band.FormatStr);
}

void TfrGroupEditorForm::Apply(report::TfrBandView &band)
{
    bandforms_detail::notifyBeforeChange();
    band.FormatStr = CB1->currentText();
}

int TfrGroupEditorForm::ShowEditor(report::TfrBandView &band)
{
    Load(band);
    const int result = bandforms_detail::runModal(this);
    if (result == platform::mrOk)
        Apply(band);
    return result;
}

bool frEditBand(report::TfrView *view, QWidget *parent)
{
    auto *band = dynamic_cast<report::TfrBandView *>(view);
    if (!band)
        return false;
    switch (band->GetBandType()) {
    case report::btMasterData:
    case report::btDetailData:
    case report::btSubDetailData: {
        TfrBandEditorForm form(parent);
        return form.ShowEditor(*band) == platform::mrOk;
    }
    case report::btCrossData: {
        TfrVBandEditorForm form(parent);
        return form.ShowEditor(*band) == platform::mrOk;
    }
    case report::btGroupHeader: {
        TfrGroupEditorForm form(parent);
        return form.ShowEditor(*band) == platform::mrOk;
    }
    default:
        return false;
    }
}

} // namespace designer
