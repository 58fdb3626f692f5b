#pragma once
// Three small dialogs of the designer: the conditional highlight of memos,
// the tag of an object and the report's options. Each is filled from plain
// values and hands plain values back; the commands apply them.
#include "designer/core/requestslots.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace report
{
class TfrComboEdit;
class TfrView;
} // namespace report

namespace designer
{

class DesignerCore;

class TfrHilightForm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrHilightForm(QWidget *parent = nullptr);
    ~TfrHilightForm() override;

    QLabel *Label1 = nullptr;
    report::TfrComboEdit *Edit1 = nullptr;
    QGroupBox *GroupBox1 = nullptr; // font
    QPushButton *SpeedButton1 = nullptr;
    QCheckBox *CB1 = nullptr;       // bold
    QCheckBox *CB2 = nullptr;       // italic
    QCheckBox *CB3 = nullptr;       // underline
    QGroupBox *GroupBox2 = nullptr; // background
    QRadioButton *RB1 = nullptr;    // transparent
    QRadioButton *RB2 = nullptr;    // other
    QPushButton *SpeedButton2 = nullptr;
    QPushButton *OkB = nullptr;
    QPushButton *CancelB = nullptr;

    // Colours held by the window while it is open.
    platform::TColor FontColor = 0;
    platform::TColor FillColor = 0x1FFFFFFF;

    void SetChoice(const HighlightChoice &choice);
    // The window's values; style bits other than 1, 2 and 4 as they came in.
    HighlightChoice Choice() const;

    void FormActivate();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void RB1Click();
    void RB2Click();
    void ExprButtonClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showColors();
    int m_otherStyleBits = 0;
};

class TfrAttrEditorForm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrAttrEditorForm(QWidget *parent = nullptr);
    ~TfrAttrEditorForm() override;

    report::TfrComboEdit *Edit1 = nullptr;
    QPushButton *OkB = nullptr;
    QPushButton *CancelB = nullptr;

    QString Text() const;
    void SetText(const QString &text);
    void ExprButtonClick();
};

class TfrDocOptForm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrDocOptForm(QWidget *parent = nullptr);
    ~TfrDocOptForm() override;

    QGroupBox *GroupBox1 = nullptr; // printer
    QCheckBox *CB1 = nullptr;       // choose the printer when loading
    QListWidget *LB1 = nullptr;     // printers
    QGroupBox *GroupBox2 = nullptr; // other
    QCheckBox *CB2 = nullptr;       // two passes
    QPushButton *OkB = nullptr;
    QPushButton *CancelB = nullptr;

    void SetChoice(const ReportOptionsChoice &choice);
    ReportOptionsChoice Choice() const;

    void FormActivate();

protected:
    void showEvent(QShowEvent *event) override;

private:
    ReportOptionsChoice m_choice;
};

// A swatch of a colour for a colour button (a hatched one for "no fill").
QIcon colorSwatch(platform::TColor color);

// Fills the expression builder, field picker, highlight, tag editor and
// report options slots of a designer window.
void installExpressionDialogs(DesignerCore &core, QObject *window);

} // namespace designer
