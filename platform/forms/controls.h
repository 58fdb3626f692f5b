#pragma once
// Small controls the windows share that Qt has no direct match for: a panel
// with a centred caption and a radio group with an item index.
#include <QFrame>
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QLabel;
class QPushButton;
class QTableWidget;

namespace platform
{

// A push button with its caption, named as the system names the control.
QPushButton *newButton(QWidget *parent, const char *name, const QString &caption);
// Grid cells that may not exist yet: written by creating the item, read as
// empty text.
void setCellText(QTableWidget *grid, int row, int column, const QString &text);
QString cellText(const QTableWidget *grid, int row, int column);

// A raised panel showing a centred caption; it can hold other controls.
class TPanel : public QFrame
{
    Q_OBJECT

public:
    explicit TPanel(const QString &name, QWidget *parent = nullptr);
    QString Caption() const;
    void setCaption(const QString &caption);
    QLabel *captionLabel() const { return m_label; }

private:
    QLabel *m_label;
};

// A group of radio buttons chosen by index (-1: none). Setting the index from
// code changes the choice as a click would and emits clicked().
class TRadioGroup : public QGroupBox
{
    Q_OBJECT

public:
    TRadioGroup(const QString &name, const QString &caption, const QStringList &items,
                QWidget *parent = nullptr, int columns = 1);

    int ItemIndex() const { return m_index; }
    void setItemIndex(int index);
    QStringList Items() const { return m_items; }

signals:
    // The choice changed (by the user or by setItemIndex).
    void clicked();

private:
    QStringList m_items;
    QButtonGroup *m_group;
    int m_index = -1;
};

} // namespace platform
