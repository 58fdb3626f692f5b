#pragma once
// The display-format dialog: category, type, decimals, decimal separator
// and, for a user-defined type, the format text of a report object.
#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace report
{

// Format code: category (bits 24-27), type (16-23), decimals (8-15) and
// the decimal separator's Windows-1252 code (0-7).
struct FrFormatParts {
    int category = 0;
    int type = 0;
    int decimals = 2;
    int separator = ',';
    bool operator==(const FrFormatParts &) const = default;
};
qint32 frPackFormat(const FrFormatParts &parts);
FrFormatParts frUnpackFormat(qint32 format);
// The decimals field: an integer clamped to 0..255; 0 when it is no number.
int frDecimalsOfText(const QString &text);
// The separator field: the Windows-1252 code of its first character; ','
// when it is empty or that character has no Windows-1252 code.
int frSeparatorOfText(const QString &text);
// The separator code as the field shows it.
QString frSeparatorText(int code);

class TfrFmtForm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrFmtForm(QWidget *parent = nullptr);
    ~TfrFmtForm() override;

    // In before showing, out after OK.
    qint32 Format = 0;
    QString FormatStr;

    QListWidget *CatLB = nullptr;
    QListWidget *TypeLB = nullptr;
    QLabel *Label1 = nullptr; // decimals
    QLineEdit *DecEdit = nullptr;
    QLabel *Label2 = nullptr; // separator
    QLineEdit *SplEdit = nullptr;
    QLabel *Label3 = nullptr; // format text
    QLineEdit *FormatEdit = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;

    void FormActivate();
    void CatLBClick();
    void TypeLBClick();
    void SplEditEnter();
    void FormDeactivate(); // after OK: the fields into Format and FormatStr

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillTypes(int category);
    void updateControls();
    int m_category = 0;
};

// Fills frObjects().displayFormatDialog with the dialog.
void frInstallFormatDialog();

} // namespace report
