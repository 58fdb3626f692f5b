#pragma once
// The print dialog: printer (with its properties), copies and collation,
// all pages, the current page or a typed list, and odd, even or all pages.
// Cancelling it puts back the printer that was current when it opened.
#include "report/print/frprint.h"

#include <QDialog>

class QComboBox;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace report
{

class TfrPrintForm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrPrintForm(QWidget *parent = nullptr);
    ~TfrPrintForm() override;

    QComboBox *CB1 = nullptr;
    QPushButton *PropButton = nullptr;
    QSpinBox *E1 = nullptr;
    QCheckBox *CollateCB = nullptr;
    QLabel *CollateLabel = nullptr;
    QLabel *CollateImage = nullptr;
    QRadioButton *RB1 = nullptr;
    QRadioButton *RB2 = nullptr;
    QRadioButton *RB3 = nullptr;
    QLineEdit *E2 = nullptr;
    QComboBox *CB2 = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;

    // The dialog on choice (copies and collate in); the answer on OK.
    bool Execute(FrPrintChoice &choice);

    // Handlers (the controls' events).
    void CB1Click();
    void PropButtonClick();
    void CollateLabelClick();
    void E2Enter();
    void RB3Click();

protected:
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void drawCollate();
    int m_oldIndex = 0;
};

// The print dialog seam of the library: a TfrPrintForm under a ModalScope.
class FrPrintFormDialog : public FrPrintDialogSeam
{
public:
    bool Execute(FrPrintChoice &choice, QWidget *owner) override;
};

// The printer picture of the printer list (18 x 16).
QImage frPrinterGlyph();
// The collated and uncollated sheets of the collate picture.
QImage frCollateImage(bool collated);

} // namespace report
