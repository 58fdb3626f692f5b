#pragma once
// The page options dialog: paper and orientation, paper source, margins,
// columns and two flags of a report page, on four tabs.
#include "designer/core/pagecommands.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace designer
{

class TfrPgoptForm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrPgoptForm(QWidget *parent = nullptr);

    // The controls take the values; choice() reads them back.
    void setChoice(const PageOptionsChoice &choice);
    PageOptionsChoice choice() const;

    // The orientation picture follows the checked button.
    void RB1Click();
    // Width and height are asked for the custom size only.
    void ComB1Change();
    void FormActivate();
    // OK refuses while a field holds no usable value.
    void accept() override;

    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr, *TabSheet2 = nullptr, *TabSheet3 = nullptr,
            *TabSheet4 = nullptr;
    QGroupBox *GroupBox1 = nullptr, *GroupBox2 = nullptr, *GroupBox3 = nullptr,
              *GroupBox4 = nullptr, *GroupBox5 = nullptr, *GroupBox6 = nullptr;
    QRadioButton *RB1 = nullptr, *RB2 = nullptr;
    QLabel *ImgPortrait = nullptr, *ImgLandscape = nullptr;
    QComboBox *ComB1 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr;
    QLineEdit *E1 = nullptr, *E2 = nullptr;
    QCheckBox *CB2 = nullptr;
    QListWidget *BinList = nullptr;
    QLineEdit *E3 = nullptr, *E4 = nullptr, *E5 = nullptr, *E6 = nullptr;
    QCheckBox *CB5 = nullptr;
    QCheckBox *CB1 = nullptr;
    QSpinBox *Edit1 = nullptr;
    QLineEdit *E7 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *fieldOf(PageOptionsField field) const;

    PageOptionsChoice m_choice;
};

// The page options dialog over the current page of a designer: fills the
// designer's page options slot.
void installPageOptionsDialog(DesignerCore &core, std::shared_ptr<PageCommands> pages);

} // namespace designer
