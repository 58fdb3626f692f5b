#include "designer/ui/dialogrows.h"

#include "report/core/frlocale.h"

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

namespace designer
{

QHBoxLayout *okCancelButtons(QWidget *dialog, QPushButton *&ok, QPushButton *&cancel,
                             const char *okName, const char *cancelName)
{
    ok = new QPushButton(report::frLoadString(55000), dialog);
    ok->setObjectName(QString::fromLatin1(okName));
    cancel = new QPushButton(report::frLoadString(55001), dialog);
    cancel->setObjectName(QString::fromLatin1(cancelName));
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

QHBoxLayout *okCancelRow(QDialog *dialog, QPushButton *&ok, QPushButton *&cancel,
                         const char *okName, const char *cancelName)
{
    QHBoxLayout *row = okCancelButtons(dialog, ok, cancel, okName, cancelName);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return row;
}

QVBoxLayout *columnOf(QWidget *box, std::initializer_list<QWidget *> widgets)
{
    auto *column = new QVBoxLayout(box);
    for (QWidget *w : widgets)
        column->addWidget(w);
    return column;
}

} // namespace designer
