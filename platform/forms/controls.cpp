#include "platform/forms/controls.h"

#include <QPushButton>
#include <QTableWidget>

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace platform
{

QPushButton *newButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

void setCellText(QTableWidget *grid, int row, int column, const QString &text)
{
    QTableWidgetItem *item = grid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        grid->setItem(row, column, item);
    }
    item->setText(text);
}

QString cellText(const QTableWidget *grid, int row, int column)
{
    const QTableWidgetItem *item = grid->item(row, column);
    return item ? item->text() : QString();
}

TPanel::TPanel(const QString &name, QWidget *parent) : QFrame(parent)
{
    setObjectName(name);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_label = new QLabel(this);
    m_label->setObjectName(name + QLatin1String("_Caption"));
    m_label->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(m_label);
}

QString TPanel::Caption() const
{
    return m_label->text();
}

void TPanel::setCaption(const QString &caption)
{
    m_label->setText(caption);
}

TRadioGroup::TRadioGroup(const QString &name, const QString &caption, const QStringList &items,
                         QWidget *parent, int columns)
    : QGroupBox(caption, parent), m_items(items), m_group(new QButtonGroup(this))
{
    setObjectName(name);
    auto *layout = new QGridLayout(this);
    const int perColumn = (int(items.size()) + columns - 1) / qMax(1, columns);
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items.at(i), this);
        button->setObjectName(name + QLatin1Char('_') + QString::number(i));
        m_group->addButton(button, i);
        layout->addWidget(button, perColumn ? i % perColumn : i, perColumn ? i / perColumn : 0);
    }
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) {
        if (id == m_index)
            return;
        m_index = id;
        emit clicked();
    });
}

void TRadioGroup::setItemIndex(int index)
{
    if (index < -1 || index >= m_items.size() || index == m_index)
        return;
    m_index = index;
    if (index < 0) {
        m_group->setExclusive(false);
        for (QAbstractButton *b : m_group->buttons())
            b->setChecked(false);
        m_group->setExclusive(true);
    } else {
        m_group->button(index)->setChecked(true);
    }
    emit clicked();
}

} // namespace platform
