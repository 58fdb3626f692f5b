#include "report/ui/frfmtform.h"

#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "platform/text/codec.h"
#include "platform/text/convert.h"
#include "report/core/frlocale.h"
#include "report/objects/frglobals.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>

namespace report
{

qint32 frPackFormat(const FrFormatParts &parts)
{
    const quint32 code = (quint32(parts.category & 0x0F) << 24) |
                         (quint32(parts.type & 0xFF) << 16) |
                         (quint32(parts.decimals & 0xFF) << 8) | quint32(parts.separator & 0xFF);
    return qint32(code);
}

FrFormatParts frUnpackFormat(qint32 format)
{
    const auto code = quint32(format);
    return {int((code >> 24) & 0x0F), int((code >> 16) & 0xFF), int((code >> 8) & 0xFF),
            int(code & 0xFF)};
}

int frDecimalsOfText(const QString &text)
{
    qint64 value = 0;
    if (!platform::TryStrToInt64(text, value))
        return 0;
    return int(std::clamp<qint64>(value, 0, 255));
}

int frSeparatorOfText(const QString &text)
{
    if (text.isEmpty())
        return ',';
    const int code = platform::ansiByte(text.at(0));
    // Only a character of the code page fits the format's separator byte.
    return code > 0 ? code : ',';
}

QString frSeparatorText(int code)
{
    if (code <= 0 || code > 255)
        return QString();
    return QString(platform::ansiChar(static_cast<unsigned char>(code)));
}

TfrFmtForm::TfrFmtForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frFmtForm"));
    setWindowTitle(frLoadString(53420));
    CatLB = new QListWidget(this);
    CatLB->setObjectName(QStringLiteral("CatLB"));
    TypeLB = new QListWidget(this);
    TypeLB->setObjectName(QStringLiteral("TypeLB"));
    Label1 = new QLabel(frLoadString(53422), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    DecEdit = new QLineEdit(this);
    DecEdit->setObjectName(QStringLiteral("DecEdit"));
    Label1->setBuddy(DecEdit);
    Label2 = new QLabel(frLoadString(53423), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    SplEdit = new QLineEdit(this);
    SplEdit->setObjectName(QStringLiteral("SplEdit"));
    SplEdit->installEventFilter(this);
    Label2->setBuddy(SplEdit);
    Label3 = new QLabel(frLoadString(53424), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    FormatEdit = new QLineEdit(this);
    FormatEdit->setObjectName(QStringLiteral("FormatEdit"));
    Label3->setBuddy(FormatEdit);
    OkButton = new QPushButton(frLoadString(55000), this);
    OkButton->setObjectName(QStringLiteral("Button1"));
    OkButton->setDefault(true);
    CancelButton = new QPushButton(frLoadString(55001), this);
    CancelButton->setObjectName(QStringLiteral("Button2"));

    auto *lists = new QHBoxLayout;
    lists->addWidget(CatLB, 2);
    lists->addWidget(TypeLB, 3);
    auto *fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(DecEdit, 0, 1);
    fields->addWidget(Label2, 0, 2);
    fields->addWidget(SplEdit, 0, 3);
    fields->addWidget(Label3, 1, 0);
    fields->addWidget(FormatEdit, 1, 1, 1, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    resize(420, 280);

    connect(CatLB, &QListWidget::itemClicked, this,
            platform::handler(this, &TfrFmtForm::CatLBClick));
    connect(TypeLB, &QListWidget::itemClicked, this,
            platform::handler(this, &TfrFmtForm::TypeLBClick));
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

TfrFmtForm::~TfrFmtForm() = default;

void TfrFmtForm::fillTypes(int category)
{
    TypeLB->clear();
    for (int type = 0; type < 5; ++type) {
        const QString text = frLoadString(55150 + 5 * category + type);
        // A type without a text does not exist in that category.
        if (text.isEmpty())
            continue;
        auto *item = new QListWidgetItem(text, TypeLB);
        item->setData(Qt::UserRole, type);
    }
}

void TfrFmtForm::FormActivate()
{
    CatLB->clear();
    for (int category = 0; category < 5; ++category)
        CatLB->addItem(frLoadString(55130 + category));
    const FrFormatParts parts = frUnpackFormat(Format);
    m_category = std::clamp(parts.category, 0, 4);
    CatLB->setCurrentRow(m_category);
    fillTypes(m_category);
    int row = 0;
    for (int i = 0; i < TypeLB->count(); ++i)
        if (TypeLB->item(i)->data(Qt::UserRole).toInt() == parts.type)
            row = i;
    TypeLB->setCurrentRow(row);
    updateControls();
}

void TfrFmtForm::CatLBClick()
{
    m_category = std::max(CatLB->currentRow(), 0);
    fillTypes(m_category);
    TypeLB->setCurrentRow(0);
    updateControls();
}

void TfrFmtForm::TypeLBClick()
{
    updateControls();
}

void TfrFmtForm::SplEditEnter()
{
    SplEdit->selectAll();
}

void TfrFmtForm::updateControls()
{
    const FrFormatParts parts = frUnpackFormat(Format);
    const bool number = m_category == 1;
    for (QWidget *w : {static_cast<QWidget *>(Label1), static_cast<QWidget *>(DecEdit),
                       static_cast<QWidget *>(Label2), static_cast<QWidget *>(SplEdit)})
        w->setEnabled(number);
    if (number) {
        DecEdit->setText(QString::number(parts.decimals));
        SplEdit->setText(frSeparatorText(parts.separator));
    } else {
        DecEdit->clear();
        SplEdit->clear();
    }
    const QListWidgetItem *item = TypeLB->currentItem();
    const bool custom = item && item->data(Qt::UserRole).toInt() == 4;
    Label3->setEnabled(custom);
    FormatEdit->setEnabled(custom);
    if (custom)
        FormatEdit->setText(FormatStr);
    else
        FormatEdit->clear();
}

void TfrFmtForm::FormDeactivate()
{
    const QListWidgetItem *item = TypeLB->currentItem();
    FrFormatParts parts;
    parts.category = m_category;
    parts.type = item ? item->data(Qt::UserRole).toInt() : 0;
    parts.decimals = frDecimalsOfText(DecEdit->text());
    parts.separator = frSeparatorOfText(SplEdit->text());
    Format = frPackFormat(parts);
    if (FormatEdit->isEnabled())
        FormatStr = FormatEdit->text();
}

void TfrFmtForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TfrFmtForm::done(int result)
{
    if (result == QDialog::Accepted)
        FormDeactivate();
    QDialog::done(result);
}

bool TfrFmtForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == SplEdit && event->type() == QEvent::FocusIn)
        platform::later(SplEdit, [this] { SplEditEnter(); });
    return QDialog::eventFilter(watched, event);
}

void frInstallFormatDialog()
{
    frObjects().displayFormatDialog = [](qint32 &format, QString &formatStr) {
        platform::ModalScope scope;
        TfrFmtForm form(scope.parentWidget());
        form.Format = format;
        form.FormatStr = formatStr;
        if (form.exec() != QDialog::Accepted)
            return false;
        format = form.Format;
        formatStr = form.FormatStr;
        return true;
    };
}

} // namespace report
