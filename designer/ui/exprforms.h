#pragma once
// The expression builder and its pickers: the builder's text box with its
// operator and insert buttons, the data field, variable and function
// pickers, and the argument window of a function call.
#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QStyledItemDelegate>
#include <optional>

class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace report
{
class TfrComboEdit;
class TfrDataDictionary;
} // namespace report

namespace designer
{

// The little pictures of our list rows, 18 x 16, drawn on their transparent
// colour and keyed out.
enum class ExprGlyph { DataSet, Field, Category, Variable, Function, AllFunctions, Printer };
const QImage &exprGlyphImage(ExprGlyph kind);
QPixmap exprGlyph(ExprGlyph kind);

// Rows of 16 pixels: the glyph (item data kGlyphRole, an ExprGlyph) two
// pixels in, the text twenty pixels in and one pixel down.
class FrGlyphRowDelegate : public QStyledItemDelegate
{
public:
    static constexpr int kGlyphRole = Qt::UserRole + 40;
    explicit FrGlyphRowDelegate(QObject *parent = nullptr);
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

// The dictionary of the report being designed (null when there is none).
report::TfrDataDictionary *currentDictionary();

class TfrExprForm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrExprForm(QWidget *parent = nullptr);
    ~TfrExprForm() override;

    QGroupBox *GroupBox1 = nullptr; // the expression
    QGroupBox *GroupBox2 = nullptr; // the insert buttons
    QPlainTextEdit *ExprMemo = nullptr;
    QPushButton *DBFieldB = nullptr;
    QPushButton *VarB = nullptr;
    QPushButton *FuncB = nullptr;
    QPushButton *OkB = nullptr;
    QPushButton *CancelB = nullptr;

    QString Expression() const;
    void SetExpression(const QString &text);
    // Replaces the selection of ExprMemo (or inserts at its cursor).
    void InsertText(const QString &text);

    void OperatorClick(const QString &caption);
    void DBFieldBClick();
    void VarBClick();
    void FuncBClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

class TfrFieldsForm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrFieldsForm(QWidget *parent = nullptr);
    ~TfrFieldsForm() override;

    // Entry kinds of both lists (item data Qt::UserRole).
    enum Kind { kDataSet, kField, kCategory, kVariable };

    QListWidget *DatasetsLB = nullptr;
    QListWidget *FieldsLB = nullptr;
    QPushButton *OkB = nullptr;
    QPushButton *CancelB = nullptr;
    // After closing: DataSet."Field", a variable's name, or "" when nothing
    // was chosen.
    QString DBField;

    void FormShow();
    void DatasetsLBClick();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
};

class TfrVarForm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrVarForm(QWidget *parent = nullptr);
    ~TfrVarForm() override;

    QListWidget *CategoryLB = nullptr;
    QListWidget *VarLB = nullptr;
    QPushButton *OkB = nullptr;
    QPushButton *CancelB = nullptr;
    // After OK: the chosen variable's name.
    QString SelectedVar;

    void FormActivate();
    void CategoryLBClick();
    bool systemCategory() const;

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
};

class TfrFuncForm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrFuncForm(QWidget *parent = nullptr);
    ~TfrFuncForm() override;

    QTreeWidget *CategoryTV = nullptr;
    QListWidget *FuncLB = nullptr;
    QLabel *FuncLabel = nullptr;  // syntax, bold
    QLabel *DescrLabel = nullptr; // explanation
    QPushButton *OkB = nullptr;
    QPushButton *CancelB = nullptr;

    // The selected function's name ("" when none).
    QString FunctionName() const;

    void CategoryTVChange();
    void FuncLBClick();
};

class TfrFuncArgForm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrFuncArgForm(QWidget *parent = nullptr);
    ~TfrFuncArgForm() override;

    // In before showing.
    QString FuncName;
    QString Syntax;
    QString Description;
    // Out after closing: the assembled call.
    QString Result;

    QLabel *FuncLabel = nullptr;
    QLabel *DescrLabel = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    report::TfrComboEdit *Edit1 = nullptr;
    report::TfrComboEdit *Edit2 = nullptr;
    report::TfrComboEdit *Edit3 = nullptr;
    QPushButton *OkB = nullptr;
    QPushButton *CancelB = nullptr;

    void FormShow();
    void ArgButtonClick(report::TfrComboEdit *box);

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
};

// An editable box with the button that opens the expression builder on its
// text (the hint "Insérer une expression").
report::TfrComboEdit *newExpressionBox(QWidget *parent, const QString &name);

// The builder run modally on a text: its expression on OK.
std::optional<QString> frEditExpression(const QString &initial, QWidget *parent = nullptr);
// The fields picker run modally: its choice on OK ("" when none).
std::optional<QString> frPickField(QWidget *parent = nullptr);

} // namespace designer
