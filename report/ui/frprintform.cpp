#include "report/ui/frprintform.h"

#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "report/core/frlocale.h"
#include "report/objects/frglobals.h"
#include "report/objects/frprinterinfo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace report
{

namespace
{

const QColor kButtonFace(192, 192, 192);

// One sheet of the collate picture: a white page with a folded corner and
// its number.
void drawSheet(QPainter &p, int x, int y, int number)
{
    const QPolygon outline({QPoint(x, y), QPoint(x + 17, y), QPoint(x + 23, y + 6),
                            QPoint(x + 23, y + 30), QPoint(x, y + 30)});
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(outline);
    p.drawPolyline(QPolygon({QPoint(x + 17, y), QPoint(x + 17, y + 6), QPoint(x + 23, y + 6)}));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(x, y + 8, 23, 20), Qt::AlignCenter, QString::number(number));
}

} // namespace

QImage frPrinterGlyph()
{
    // Drawn on olive (0x008080 in the platform's BGR order), the colour the
    // list treats as transparent.
    QImage image(18, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(5, 1, 8, 5); // paper fed in
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(1, 6, 15, 6); // body
    p.setBrush(Qt::white);
    p.drawRect(4, 11, 10, 4); // paper out
    p.setPen(QColor(0, 128, 0));
    p.drawPoint(14, 8); // power light
    return image;
}

QImage frCollateImage(bool collated)
{
    if (collated) {
        QImage image(74, 53, QImage::Format_RGB32);
        image.fill(kButtonFace);
        QPainter p(&image);
        for (int stack = 0; stack < 2; ++stack)
            for (int sheet = 2; sheet >= 0; --sheet)
                drawSheet(p, stack * 38 + sheet * 6, 22 - sheet * 10, sheet + 1);
        return image;
    }
    QImage image(92, 40, QImage::Format_RGB32);
    image.fill(kButtonFace);
    QPainter p(&image);
    for (int stack = 0; stack < 3; ++stack)
        for (int sheet = 1; sheet >= 0; --sheet)
            drawSheet(p, stack * 31 + sheet * 5, 8 - sheet * 8 + 1, stack + 1);
    return image;
}

TfrPrintForm::TfrPrintForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frPrintForm"));
    setWindowTitle(frLoadString(53040));
    FrPrinterInfo &printer = frObjects().frGlobalPrinter();

    auto *printerBox = new QGroupBox(frLoadString(53041), this);
    printerBox->setObjectName(QStringLiteral("GroupBox1"));
    auto *nameLabel = new QLabel(frLoadString(53049), printerBox);
    CB1 = new QComboBox(printerBox);
    CB1->setObjectName(QStringLiteral("CB1"));
    nameLabel->setBuddy(CB1);
    const QIcon glyph(QPixmap::fromImage(frPrinterGlyph()));
    CB1->setIconSize(QSize(18, 16));
    for (const QString &name : printer.Printers())
        CB1->addItem(glyph, name);
    CB1->setCurrentIndex(printer.PrinterIndex());
    m_oldIndex = printer.PrinterIndex();
    PropButton = new QPushButton(frLoadString(53042), printerBox);
    PropButton->setObjectName(QStringLiteral("PropButton"));
    auto *printerRow = new QHBoxLayout(printerBox);
    printerRow->addWidget(nameLabel);
    printerRow->addWidget(CB1, 1);
    printerRow->addWidget(PropButton);

    auto *copiesBox = new QGroupBox(frLoadString(53043), this);
    copiesBox->setObjectName(QStringLiteral("GroupBox2"));
    auto *copiesLabel = new QLabel(frLoadString(53050), copiesBox);
    E1 = new QSpinBox(copiesBox);
    E1->setObjectName(QStringLiteral("E1"));
    E1->setRange(1, 9999);
    E1->setValue(1);
    copiesLabel->setBuddy(E1);
    CollateCB = new QCheckBox(copiesBox);
    CollateCB->setObjectName(QStringLiteral("CollateCB"));
    CollateLabel = new QLabel(frLoadString(53051), copiesBox);
    CollateLabel->setObjectName(QStringLiteral("CollateLabel"));
    CollateLabel->setBuddy(CollateCB);
    CollateLabel->installEventFilter(this);
    CollateImage = new QLabel(copiesBox);
    CollateImage->setObjectName(QStringLiteral("Image1"));
    CollateImage->setFixedSize(92, 53);
    CollateImage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *copiesGrid = new QGridLayout(copiesBox);
    copiesGrid->addWidget(copiesLabel, 0, 0);
    copiesGrid->addWidget(E1, 0, 1);
    auto *collateRow = new QHBoxLayout;
    collateRow->addWidget(CollateCB);
    collateRow->addWidget(CollateLabel);
    collateRow->addStretch();
    copiesGrid->addLayout(collateRow, 1, 0);
    copiesGrid->addWidget(CollateImage, 1, 1);

    auto *pagesBox = new QGroupBox(frLoadString(53044), this);
    pagesBox->setObjectName(QStringLiteral("GroupBox3"));
    RB1 = new QRadioButton(frLoadString(53045), pagesBox);
    RB1->setObjectName(QStringLiteral("RB1"));
    RB1->setChecked(true);
    RB2 = new QRadioButton(frLoadString(53046), pagesBox);
    RB2->setObjectName(QStringLiteral("RB2"));
    RB3 = new QRadioButton(frLoadString(53047), pagesBox);
    RB3->setObjectName(QStringLiteral("RB3"));
    E2 = new QLineEdit(pagesBox);
    E2->setObjectName(QStringLiteral("E2"));
    E2->installEventFilter(this);
    auto *hint = new QLabel(frLoadString(53048), pagesBox);
    hint->setObjectName(QStringLiteral("Label2"));
    hint->setWordWrap(true);
    auto *pagesGrid = new QGridLayout(pagesBox);
    pagesGrid->addWidget(RB1, 0, 0, 1, 2);
    pagesGrid->addWidget(RB2, 1, 0, 1, 2);
    pagesGrid->addWidget(RB3, 2, 0);
    pagesGrid->addWidget(E2, 2, 1);
    pagesGrid->addWidget(hint, 3, 0, 1, 2);

    auto *kindLabel = new QLabel(frLoadString(53052), this);
    CB2 = new QComboBox(this);
    CB2->setObjectName(QStringLiteral("CB2"));
    CB2->addItems({frLoadString(53053), frLoadString(53054), frLoadString(53055)});
    CB2->setCurrentIndex(0);
    kindLabel->setBuddy(CB2);

    OkButton = new QPushButton(frLoadString(55000), this);
    OkButton->setObjectName(QStringLiteral("Button1"));
    OkButton->setDefault(true);
    CancelButton = new QPushButton(frLoadString(55001), this);
    CancelButton->setObjectName(QStringLiteral("Button2"));

    auto *middle = new QHBoxLayout;
    middle->addWidget(pagesBox, 1);
    middle->addWidget(copiesBox, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(kindLabel);
    bottom->addWidget(CB2); // right of its label
    bottom->addStretch();
    bottom->addWidget(OkButton);
    bottom->addWidget(CancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(printerBox);
    layout->addLayout(middle);
    layout->addLayout(bottom);

    connect(CB1, &QComboBox::activated, this, platform::handler(this, &TfrPrintForm::CB1Click));
    connect(PropButton, &QPushButton::clicked, this,
            platform::handler(this, &TfrPrintForm::PropButtonClick));
    connect(CollateCB, &QCheckBox::toggled, this,
            platform::handler(this, &TfrPrintForm::drawCollate));
    connect(RB3, &QRadioButton::clicked, this, platform::handler(this, &TfrPrintForm::RB3Click));
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    drawCollate();
}

TfrPrintForm::~TfrPrintForm() = default;

void TfrPrintForm::drawCollate()
{
    QImage area(92, 53, QImage::Format_RGB32);
    area.fill(palette().color(QPalette::Button));
    QPainter p(&area);
    QImage picture = frCollateImage(CollateCB->isChecked());
    // Light grey is the pictures' transparent colour.
    QImage masked = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < masked.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x)
            if ((line[x] & 0xFFFFFF) == 0xC0C0C0)
                line[x] = 0;
    }
    p.drawImage(0, 0, masked);
    p.end();
    CollateImage->setPixmap(QPixmap::fromImage(area));
}

bool TfrPrintForm::Execute(FrPrintChoice &choice)
{
    E1->setValue(std::max(choice.copies, 1));
    CollateCB->setChecked(choice.collate);
    drawCollate();
    int result = 0;
    {
        platform::ModalScope scope(parentWidget());
        result = exec();
    }
    if (result != QDialog::Accepted)
        return false;
    choice.copies = E1->value();
    choice.collate = CollateCB->isChecked();
    choice.range = RB1->isChecked() ? 0 : RB2->isChecked() ? 1 : 2;
    choice.pages = E2->text();
    choice.kind = CB2->currentIndex();
    return true;
}

void TfrPrintForm::CB1Click()
{
    FrPrinterInfo &printer = frObjects().frGlobalPrinter();
    printer.SetPrinterIndex(CB1->currentIndex());
    // A printer that could not be taken leaves the layer on another one.
    if (printer.PrinterIndex() != CB1->currentIndex())
        CB1->setCurrentIndex(printer.PrinterIndex());
}

void TfrPrintForm::PropButtonClick()
{
    frObjects().frGlobalPrinter().PropertiesDialog();
}

void TfrPrintForm::CollateLabelClick()
{
    CollateCB->setChecked(!CollateCB->isChecked());
}

void TfrPrintForm::E2Enter()
{
    RB3->setChecked(true);
}

void TfrPrintForm::RB3Click()
{
    E2->setFocus();
}

void TfrPrintForm::done(int result)
{
    if (result != QDialog::Accepted) {
        FrPrinterInfo &printer = frObjects().frGlobalPrinter();
        if (printer.PrinterIndex() != m_oldIndex)
            printer.SetPrinterIndex(m_oldIndex);
    }
    QDialog::done(result);
}

bool TfrPrintForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == E2 && event->type() == QEvent::FocusIn)
        E2Enter();
    else if (watched == CollateLabel && event->type() == QEvent::MouseButtonRelease)
        CollateLabelClick();
    return QDialog::eventFilter(watched, event);
}

bool FrPrintFormDialog::Execute(FrPrintChoice &choice, QWidget *owner)
{
    TfrPrintForm form(owner ? owner : platform::TForm::activeForm());
    return form.Execute(choice);
}

} // namespace report
