#include "manager/vorn_fvorn.h"

#include "platform/forms/application.h"
#include "platform/forms/controls.h"

#include <QSpinBox>

namespace
{
QSpinBox *spinEdit(QWidget *parent, const char *name, int min, int max, int value)
{
    auto *spin = new QSpinBox(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setRange(min, max);
    spin->setValue(value);
    return spin;
}
} // namespace

TVorn_FVorn::TVorn_FVorn(QWidget *parent) : platform::TForm(QStringLiteral("Vorn_FVorn"), parent)
{
    resize(900, 700);

    RgType = new platform::TRadioGroup(
        QStringLiteral("RgType"), QStringLiteral("Type"),
        {QStringLiteral("Paires"), QStringLiteral("Suisse"), QStringLiteral("Poule")}, this);
    RgType->setGeometry(8, 8, 105, 97);

    Qa = spinEdit(this, "Qa", 1, 70, 3);
    Qa->setGeometry(8, 480, 57, 25);
    Ce1 = spinEdit(this, "Ce1", 1, 100, 1);
    Ce1->setGeometry(8, 520, 57, 25);
    Ce2 = spinEdit(this, "Ce2", 0, 100, 0);
    Ce2->setGeometry(8, 560, 57, 25);

    connect(RgType, &platform::TRadioGroup::clicked, this,
            platform::handler(this, &TVorn_FVorn::RgTypeClick));
    connect(Qa, &QSpinBox::valueChanged, this, platform::handler(this, &TVorn_FVorn::QaChange));
    connect(Ce1, &QSpinBox::valueChanged, this, platform::handler(this, &TVorn_FVorn::Ce1Change));
    connect(Ce2, &QSpinBox::valueChanged, this, platform::handler(this, &TVorn_FVorn::Ce2Change));
}

void TVorn_FVorn::RgTypeClick() {}

void TVorn_FVorn::QaChange() {}

void TVorn_FVorn::Ce1Change() {}

void TVorn_FVorn::Ce2Change() {}
