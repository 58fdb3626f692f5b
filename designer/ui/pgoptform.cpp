#include "designer/ui/pgoptform.h"

#include "designer/core/designercore.h"
#include "designer/ui/dialogrows.h"

#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "report/core/frlocale.h"
#include "report/ui/frctrls.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace designer
{

using report::frLoadString;

namespace pgopt_detail
{

// A sheet of paper, upright or lying, with a few lines of text on it.
QPixmap sheetPicture(bool landscape)
{
    QPixmap pm(48, 48);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    const QRect sheet = landscape ? QRect(4, 12, 40, 28) : QRect(10, 4, 28, 40);
    p.fillRect(sheet.translated(2, 2), QColor(128, 128, 128));
    p.fillRect(sheet, Qt::white);
    p.setPen(Qt::black);
    p.drawRect(sheet.adjusted(0, 0, -1, -1));
    p.setPen(QColor(0, 0, 128));
    for (int y = sheet.top() + 5; y < sheet.bottom() - 4; y += 4)
        p.drawLine(sheet.left() + 4, y, sheet.right() - 5, y);
    return pm;
}

} // namespace pgopt_detail

TfrPgoptForm::TfrPgoptForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frPgoptForm"));
    setWindowTitle(frLoadString(53390));
    auto named = [](QWidget *w, const char *name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    // Paper
    TabSheet1 = named(new QWidget, "TabSheet1");
    GroupBox2 = new QGroupBox(frLoadString(53392), TabSheet1);
    named(GroupBox2, "GroupBox2");
    RB1 = new QRadioButton(frLoadString(53393), GroupBox2);
    named(RB1, "RB1");
    RB2 = new QRadioButton(frLoadString(53394), GroupBox2);
    named(RB2, "RB2");
    ImgPortrait = new QLabel(GroupBox2);
    named(ImgPortrait, "ImgPortrait");
    ImgPortrait->setPixmap(pgopt_detail::sheetPicture(false));
    ImgLandscape = new QLabel(GroupBox2);
    named(ImgLandscape, "ImgLandscape");
    ImgLandscape->setPixmap(pgopt_detail::sheetPicture(true));
    {
        auto *buttons = new QVBoxLayout;
        buttons->addWidget(RB1);
        buttons->addWidget(RB2);
        auto *row = new QHBoxLayout(GroupBox2);
        row->addLayout(buttons);
        row->addStretch();
        row->addWidget(ImgPortrait);
        row->addWidget(ImgLandscape);
    }
    GroupBox3 = new QGroupBox(frLoadString(53395), TabSheet1);
    named(GroupBox3, "GroupBox3");
    ComB1 = new QComboBox(GroupBox3);
    named(ComB1, "ComB1");
    ComB1->setEditable(false);
    Label1 = new QLabel(frLoadString(53396), GroupBox3);
    named(Label1, "Label1");
    E1 = new QLineEdit(GroupBox3);
    named(E1, "E1");
    Label1->setBuddy(E1);
    Label2 = new QLabel(frLoadString(53397), GroupBox3);
    named(Label2, "Label2");
    E2 = new QLineEdit(GroupBox3);
    named(E2, "E2");
    Label2->setBuddy(E2);
    {
        auto *grid = new QGridLayout(GroupBox3);
        grid->addWidget(ComB1, 0, 0, 1, 2);
        grid->addWidget(Label1, 1, 0);
        grid->addWidget(E1, 1, 1);
        grid->addWidget(Label2, 2, 0);
        grid->addWidget(E2, 2, 1);
    }
    CB2 = new QCheckBox(frLoadString(53413), TabSheet1);
    named(CB2, "CB2");
    {
        auto *col = new QVBoxLayout(TabSheet1);
        col->addWidget(GroupBox2);
        col->addWidget(GroupBox3);
        col->addWidget(CB2);
        col->addStretch();
    }

    // Paper source
    TabSheet4 = named(new QWidget, "TabSheet4");
    GroupBox6 = new QGroupBox(frLoadString(53412), TabSheet4);
    named(GroupBox6, "GroupBox6");
    BinList = new QListWidget(GroupBox6);
    named(BinList, "BinList");
    (new QVBoxLayout(GroupBox6))->addWidget(BinList);
    (new QVBoxLayout(TabSheet4))->addWidget(GroupBox6);

    // Margins
    TabSheet2 = named(new QWidget, "TabSheet2");
    GroupBox4 = new QGroupBox(frLoadString(53399), TabSheet2);
    named(GroupBox4, "GroupBox4");
    {
        auto *grid = new QGridLayout(GroupBox4);
        QLineEdit **edits[] = {&E3, &E4, &E5, &E6};
        const char *names[] = {"E3", "E4", "E5", "E6"};
        const char *labels[] = {"Label3", "Label4", "Label5", "Label6"};
        for (int i = 0; i < 4; ++i) {
            auto *label = new QLabel(frLoadString(53400 + i), GroupBox4);
            named(label, labels[i]);
            *edits[i] = new QLineEdit(GroupBox4);
            named(*edits[i], names[i]);
            label->setBuddy(*edits[i]);
            grid->addWidget(label, i / 2, (i % 2) * 2);
            grid->addWidget(*edits[i], i / 2, (i % 2) * 2 + 1);
        }
    }
    CB5 = new QCheckBox(frLoadString(53404), TabSheet2);
    named(CB5, "CB5");
    {
        auto *col = new QVBoxLayout(TabSheet2);
        col->addWidget(GroupBox4);
        col->addWidget(CB5);
        col->addStretch();
    }

    // Options
    TabSheet3 = named(new QWidget, "TabSheet3");
    GroupBox1 = new QGroupBox(frLoadString(53406), TabSheet3);
    named(GroupBox1, "GroupBox1");
    CB1 = new QCheckBox(frLoadString(53407), GroupBox1);
    named(CB1, "CB1");
    (new QVBoxLayout(GroupBox1))->addWidget(CB1);
    GroupBox5 = new QGroupBox(frLoadString(53408), TabSheet3);
    named(GroupBox5, "GroupBox5");
    {
        auto *countLabel = new QLabel(frLoadString(53409), GroupBox5);
        named(countLabel, "Label7");
        Edit1 = new QSpinBox(GroupBox5);
        named(Edit1, "Edit1");
        // Up and down by one, never below 0.
        Edit1->setRange(0, 999);
        Edit1->setValue(1);
        countLabel->setBuddy(Edit1);
        auto *gapLabel = new QLabel(frLoadString(53410), GroupBox5);
        named(gapLabel, "Label8");
        E7 = new QLineEdit(GroupBox5);
        named(E7, "E7");
        gapLabel->setBuddy(E7);
        auto *grid = new QGridLayout(GroupBox5);
        grid->addWidget(countLabel, 0, 0);
        grid->addWidget(Edit1, 0, 1);
        grid->addWidget(gapLabel, 1, 0);
        grid->addWidget(E7, 1, 1);
    }
    {
        auto *col = new QVBoxLayout(TabSheet3);
        col->addWidget(GroupBox1);
        col->addWidget(GroupBox5);
        col->addStretch();
    }

    PageControl1->addTab(TabSheet1, frLoadString(53391));
    PageControl1->addTab(TabSheet4, frLoadString(53411));
    PageControl1->addTab(TabSheet2, frLoadString(53398));
    PageControl1->addTab(TabSheet3, frLoadString(53405));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(okCancelRow(this, Button1, Button2, "Button1", "Button2"));

    connect(RB1, &QRadioButton::toggled, this, platform::handler([this] { RB1Click(); }));
    connect(ComB1, &QComboBox::currentIndexChanged, this,
            platform::handler([this] { ComB1Change(); }));
    RB1->setChecked(true);
    FormActivate();
}

void TfrPgoptForm::setChoice(const PageOptionsChoice &choice)
{
    m_choice = choice;
    (choice.landscape ? RB2 : RB1)->setChecked(true);
    {
        const QSignalBlocker block(ComB1);
        ComB1->clear();
        ComB1->addItems(choice.paperNames);
        ComB1->setCurrentIndex(choice.paperIndex);
    }
    E1->setText(choice.paperWidth);
    E2->setText(choice.paperHeight);
    CB2->setChecked(choice.unlimitedHeight);
    BinList->clear();
    BinList->addItems(choice.binNames);
    if (choice.binIndex >= 0 && choice.binIndex < BinList->count())
        BinList->setCurrentRow(choice.binIndex);
    QLineEdit *margins[] = {E3, E4, E5, E6};
    for (size_t i = 0; i < 4; ++i)
        margins[i]->setText(choice.margins[i]);
    CB5->setChecked(choice.stretch);
    CB1->setChecked(choice.printToPrevious);
    Edit1->setValue(choice.columns);
    E7->setText(choice.columnGap);
    FormActivate();
}

PageOptionsChoice TfrPgoptForm::choice() const
{
    PageOptionsChoice c = m_choice;
    c.landscape = !RB1->isChecked();
    c.paperIndex = ComB1->currentIndex();
    c.paperWidth = E1->text();
    c.paperHeight = E2->text();
    c.unlimitedHeight = CB2->isChecked();
    c.binIndex = BinList->currentRow();
    const QLineEdit *margins[] = {E3, E4, E5, E6};
    for (size_t i = 0; i < 4; ++i)
        c.margins[i] = margins[i]->text();
    c.stretch = CB5->isChecked();
    c.printToPrevious = CB1->isChecked();
    c.columns = Edit1->value();
    c.columnGap = E7->text();
    return c;
}

void TfrPgoptForm::RB1Click()
{
    ImgPortrait->setVisible(RB1->isChecked());
    ImgLandscape->setVisible(!RB1->isChecked());
}

void TfrPgoptForm::ComB1Change()
{
    PageOptionsChoice c = m_choice;
    c.paperIndex = ComB1->currentIndex();
    report::frEnableControls({Label1, E1, Label2, E2}, c.customSize());
}

void TfrPgoptForm::FormActivate()
{
    RB1Click();
    ComB1Change();
    ComB1->view()->setMinimumWidth(200);
}

void TfrPgoptForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
    const QRect area = platform::availableScreenArea(this);
    if (!area.isEmpty())
        move(area.center() - QPoint(width() / 2, height() / 2));
}

QLineEdit *TfrPgoptForm::fieldOf(PageOptionsField field) const
{
    switch (field) {
    case PageOptionsField::Width:
        return E1;
    case PageOptionsField::Height:
        return E2;
    case PageOptionsField::Left:
        return E3;
    case PageOptionsField::Top:
        return E4;
    case PageOptionsField::Right:
        return E5;
    case PageOptionsField::Bottom:
        return E6;
    case PageOptionsField::Gap:
        return E7;
    }
    return E1;
}

void TfrPgoptForm::accept()
{
    if (const std::optional<PageOptionsProblem> problem = frCheckPageOptions(choice())) {
        platform::MessageDlgWithCaption(frLoadString(55206), problem->message, platform::mtError,
                                        platform::mbOK);
        QLineEdit *edit = fieldOf(problem->field);
        PageControl1->setCurrentWidget(edit->parentWidget()->parentWidget());
        edit->setFocus();
        edit->selectAll();
        return;
    }
    QDialog::accept();
}

void installPageOptionsDialog(DesignerCore &core, std::shared_ptr<PageCommands> pages)
{
    core.state.Requests.pageOptions = [pages] {
        platform::ModalScope scope;
        TfrPgoptForm form(scope.parentWidget());
        form.setChoice(pages->currentPageOptions());
        if (form.exec() != QDialog::Accepted)
            return false;
        return pages->applyPageOptions(form.choice());
    };
}

} // namespace designer
