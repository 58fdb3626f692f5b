#include "designer/ui/exprforms.h"

#include "designer/core/exprhelpers.h"
#include "designer/ui/dialogrows.h"
#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "report/build/frfunclib.h"
#include "report/core/frlocale.h"
#include "report/data/frdictionary.h"
#include "report/objects/frglobals.h"
#include "report/objects/frreport.h"
#include "report/ui/frctrls.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <array>

namespace designer
{

namespace exprforms_detail
{

// Olive: the colour our glyphs are drawn on and that is keyed out.
constexpr QRgb kGlyphKey = 0xFF808000;

QImage blankGlyph()
{
    QImage image(18, 16, QImage::Format_RGB32);
    image.fill(kGlyphKey);
    return image;
}

void drawDataSet(QPainter &p)
{
    // A stack of records: a cylinder.
    p.setPen(QColor(0, 0, 128));
    p.setBrush(QColor(255, 255, 160));
    p.drawRect(4, 3, 9, 10);
    p.setBrush(QColor(255, 255, 220));
    p.drawEllipse(4, 1, 9, 4);
    p.drawLine(4, 7, 13, 7);
    p.drawLine(4, 10, 13, 10);
}

void drawField(QPainter &p)
{
    // One cell of a record with a line of text.
    p.setPen(QColor(0, 0, 0));
    p.setBrush(Qt::white);
    p.drawRect(2, 4, 13, 7);
    p.setPen(QColor(0, 0, 192));
    p.drawLine(4, 7, 11, 7);
}

void drawCategory(QPainter &p)
{
    // A folder.
    p.setPen(QColor(96, 64, 0));
    p.setBrush(QColor(240, 200, 80));
    p.drawRect(2, 4, 13, 9);
    p.drawRect(2, 2, 5, 2);
}

void drawVariable(QPainter &p)
{
    // A value box holding an "x".
    p.setPen(QColor(128, 0, 0));
    p.setBrush(Qt::white);
    p.drawRect(3, 3, 11, 10);
    p.drawLine(6, 6, 11, 11);
    p.drawLine(11, 6, 6, 11);
}

void drawFunction(QPainter &p)
{
    // A stylised "f" next to brackets.
    p.setPen(QColor(0, 0, 160));
    p.drawLine(6, 3, 6, 13);
    p.drawLine(6, 3, 9, 3);
    p.drawLine(4, 7, 8, 7);
    p.drawLine(11, 5, 10, 7);
    p.drawLine(10, 8, 11, 11);
    p.drawLine(14, 5, 15, 7);
    p.drawLine(15, 8, 14, 11);
}

void drawAllFunctions(QPainter &p)
{
    // A closed book.
    p.setPen(QColor(0, 64, 0));
    p.setBrush(QColor(64, 160, 64));
    p.drawRect(4, 2, 10, 12);
    p.setPen(Qt::white);
    p.drawLine(6, 5, 12, 5);
    p.drawLine(6, 7, 12, 7);
}

void drawPrinter(QPainter &p)
{
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(5, 1, 7, 5); // sheet
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(2, 6, 13, 6); // body
    p.setBrush(Qt::white);
    p.drawRect(5, 10, 7, 4); // printed sheet
    p.setPen(QColor(0, 160, 0));
    p.drawPoint(13, 8);
}

QString comboText(const report::TfrComboEdit *box)
{
    return box->currentText();
}

void setComboText(report::TfrComboEdit *box, const QString &text)
{
    box->setEditText(text);
}

QListWidget *glyphList(QWidget *parent, const char *name)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setItemDelegate(new FrGlyphRowDelegate(list));
    list->setUniformItemSizes(true); // thousands of rows stay quick
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

QListWidgetItem *glyphItem(QListWidget *list, const QString &text, ExprGlyph glyph, int kind)
{
    auto *item = new QListWidgetItem(text, list);
    item->setData(FrGlyphRowDelegate::kGlyphRole, int(glyph));
    item->setData(Qt::UserRole, kind);
    return item;
}

// The row of a list whose text and kind match, or -1.
int findEntry(const QListWidget *list, const QString &text, int kind)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == text && list->item(i)->data(Qt::UserRole).toInt() == kind)
            return i;
    return -1;
}

// Two lists side by side over OK and Cancel: the shape of the pickers.
void twoListsOverButtons(QDialog *dialog, QListWidget *left, QListWidget *right, QPushButton *&ok,
                         QPushButton *&cancel)
{
    auto *lists = new QHBoxLayout;
    lists->addWidget(left);
    lists->addWidget(right);
    auto *layout = new QVBoxLayout(dialog);
    layout->addLayout(lists, 1);
    layout->addLayout(okCancelRow(dialog, ok, cancel));
    dialog->resize(400, 300);
}

// Makes current the row showing that text, the first one when none does.
void selectRowOfText(QListWidget *list, const QString &text)
{
    int row = 0;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == text) {
            row = i;
            break;
        }
    list->setCurrentRow(row);
}

} // namespace exprforms_detail

using namespace exprforms_detail;

const QImage &exprGlyphImage(ExprGlyph kind)
{
    // Drawn once: list rows ask for their glyph at every paint.
    static std::array<QImage, 7> cache;
    QImage &cached = cache[size_t(kind)];
    if (!cached.isNull())
        return cached;
    QImage image = blankGlyph();
    {
        QPainter p(&image);
        switch (kind) {
        case ExprGlyph::DataSet:
            drawDataSet(p);
            break;
        case ExprGlyph::Field:
            drawField(p);
            break;
        case ExprGlyph::Category:
            drawCategory(p);
            break;
        case ExprGlyph::Variable:
            drawVariable(p);
            break;
        case ExprGlyph::Function:
            drawFunction(p);
            break;
        case ExprGlyph::AllFunctions:
            drawAllFunctions(p);
            break;
        case ExprGlyph::Printer:
            drawPrinter(p);
            break;
        }
    }
    // The key colour becomes see-through.
    cached = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < cached.height(); ++y)
        for (int x = 0; x < cached.width(); ++x)
            if (cached.pixel(x, y) == kGlyphKey)
                cached.setPixel(x, y, 0);
    return cached;
}

QPixmap exprGlyph(ExprGlyph kind)
{
    return QPixmap::fromImage(exprGlyphImage(kind));
}

FrGlyphRowDelegate::FrGlyphRowDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

void FrGlyphRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const
{
    painter->save();
    const QRect r = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette &pal = option.palette;
    painter->fillRect(r, selected ? pal.highlight() : pal.base());
    const QVariant glyph = index.data(kGlyphRole);
    if (glyph.isValid())
        painter->drawImage(r.left() + 2, r.top(), exprGlyphImage(ExprGlyph(glyph.toInt())));
    painter->setPen(selected ? pal.highlightedText().color() : pal.text().color());
    painter->setFont(option.font);
    const QRect textRect(r.left() + 20, r.top() + 1, std::max(0, r.width() - 20), r.height() - 1);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    if (option.state & QStyle::State_HasFocus && selected && option.widget) {
        QStyleOptionFocusRect focus;
        focus.rect = r;
        focus.palette = pal;
        option.widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter,
                                              option.widget);
    }
    painter->restore();
}

QSize FrGlyphRowDelegate::sizeHint(const QStyleOptionViewItem &option,
                                   const QModelIndex &index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    return QSize(20 + option.fontMetrics.horizontalAdvance(text) + 4, 16);
}

report::TfrDataDictionary *currentDictionary()
{
    auto *rep = dynamic_cast<report::TfrReport *>(report::frObjects().frCurrentReport);
    return rep ? &rep->Dictionary() : nullptr;
}

// --- expression builder

TfrExprForm::TfrExprForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frExprForm"));
    setWindowTitle(report::frLoadString(53700));
    GroupBox1 = new QGroupBox(report::frLoadString(53701), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    ExprMemo = new QPlainTextEdit(GroupBox1);
    ExprMemo->setObjectName(QStringLiteral("ExprMemo"));
    ExprMemo->installEventFilter(this);
    auto *memoLayout = new QVBoxLayout(GroupBox1);
    memoLayout->addWidget(ExprMemo);

    // The operators, in two rows as on a calculator's keypad.
    auto *ops = new QGridLayout;
    static const char *const kOperators[] = {"+", "-",  "*",  "/",   "=",  "<>", ">",
                                             "<", ">=", "<=", "And", "Or", "Not"};
    int n = 0;
    for (const char *op : kOperators) {
        const QString caption = QString::fromLatin1(op);
        // "&" would turn the caption into a shortcut: none of them has one.
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QStringLiteral("OpB%1").arg(n + 1));
        b->setFocusPolicy(Qt::NoFocus); // the cursor of the text box stays
        b->setMinimumWidth(36);
        connect(b, &QPushButton::clicked, this,
                platform::handler([this, caption] { OperatorClick(caption); }));
        ops->addWidget(b, n / 7, n % 7);
        ++n;
    }
    memoLayout->addLayout(ops);

    GroupBox2 = new QGroupBox(report::frLoadString(53702), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    DBFieldB = new QPushButton(report::frLoadString(53703), GroupBox2);
    DBFieldB->setObjectName(QStringLiteral("DBFieldB"));
    VarB = new QPushButton(report::frLoadString(53704), GroupBox2);
    VarB->setObjectName(QStringLiteral("VarB"));
    FuncB = new QPushButton(report::frLoadString(53705), GroupBox2);
    FuncB->setObjectName(QStringLiteral("FuncB"));
    auto *insertLayout = new QHBoxLayout(GroupBox2);
    insertLayout->addWidget(DBFieldB);
    insertLayout->addWidget(VarB);
    insertLayout->addWidget(FuncB);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1, 1);
    layout->addWidget(GroupBox2);
    layout->addLayout(okCancelRow(this, OkB, CancelB));
    resize(460, 300);

    connect(DBFieldB, &QPushButton::clicked, this,
            platform::handler(this, &TfrExprForm::DBFieldBClick));
    connect(VarB, &QPushButton::clicked, this, platform::handler(this, &TfrExprForm::VarBClick));
    connect(FuncB, &QPushButton::clicked, this, platform::handler(this, &TfrExprForm::FuncBClick));
    ExprMemo->setFocus();
}

TfrExprForm::~TfrExprForm() = default;

QString TfrExprForm::Expression() const
{
    return ExprMemo->toPlainText();
}

void TfrExprForm::SetExpression(const QString &text)
{
    ExprMemo->setPlainText(text);
    ExprMemo->moveCursor(QTextCursor::End);
}

void TfrExprForm::InsertText(const QString &text)
{
    ExprMemo->textCursor().insertText(text);
    ExprMemo->setFocus();
}

void TfrExprForm::OperatorClick(const QString &caption)
{
    InsertText(caption + u' ');
}

void TfrExprForm::DBFieldBClick()
{
    TfrFieldsForm form(this);
    if (form.exec() == QDialog::Accepted && !form.DBField.isEmpty())
        InsertText(wrapExpressionName(form.DBField));
}

void TfrExprForm::VarBClick()
{
    TfrVarForm form(this);
    if (form.exec() == QDialog::Accepted && !form.SelectedVar.isEmpty())
        InsertText(wrapExpressionName(form.SelectedVar));
}

void TfrExprForm::FuncBClick()
{
    QString name, syntax, explanation;
    {
        TfrFuncForm form(this);
        if (form.exec() != QDialog::Accepted)
            return;
        name = form.FunctionName();
        syntax = form.FuncLabel->text();
        explanation = form.DescrLabel->text();
    }
    if (name.isEmpty())
        return;
    if (!syntax.contains(u'(')) {
        InsertText(wrapExpressionName(name));
        return;
    }
    TfrFuncArgForm args(this);
    args.FuncName = name;
    args.Syntax = syntax;
    args.Description = explanation;
    // The call is an expression of its own: it goes in without brackets.
    if (args.exec() == QDialog::Accepted)
        InsertText(args.Result);
}

bool TfrExprForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ExprMemo && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// --- data fields picker

TfrFieldsForm::TfrFieldsForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frFieldsForm"));
    setWindowTitle(report::frLoadString(53450));
    DatasetsLB = glyphList(this, "DatasetsLB");
    FieldsLB = glyphList(this, "FieldsLB");
    twoListsOverButtons(this, DatasetsLB, FieldsLB, OkB, CancelB);
    connect(DatasetsLB, &QListWidget::currentRowChanged, this,
            platform::handler([this](int) { DatasetsLBClick(); }));
    connect(FieldsLB, &QListWidget::itemDoubleClicked, this,
            platform::handler([this](QListWidgetItem *) { accept(); }));
}

TfrFieldsForm::~TfrFieldsForm() = default;

void TfrFieldsForm::FormShow()
{
    const QSignalBlocker block(DatasetsLB);
    DatasetsLB->clear();
    FieldsLB->clear();
    if (report::TfrDataDictionary *d = currentDictionary()) {
        QStringList list;
        d->GetDataSetList(list);
        for (const QString &s : std::as_const(list))
            glyphItem(DatasetsLB, s, ExprGlyph::DataSet, kDataSet);
        d->GetCategoryList(list);
        for (const QString &s : std::as_const(list))
            glyphItem(DatasetsLB, s, ExprGlyph::Category, kCategory);
    }
    if (DatasetsLB->count() == 0)
        return;
    selectRowOfText(DatasetsLB, pickerMemory().fieldsEntry);
    DatasetsLBClick();
}

void TfrFieldsForm::DatasetsLBClick()
{
    FieldsLB->clear();
    const QListWidgetItem *entry = DatasetsLB->currentItem();
    report::TfrDataDictionary *d = currentDictionary();
    if (!entry || !d)
        return;
    QStringList list;
    if (entry->data(Qt::UserRole).toInt() == kCategory) {
        d->GetVariableList(entry->text(), list);
        for (const QString &s : std::as_const(list))
            glyphItem(FieldsLB, s, ExprGlyph::Variable, kVariable);
    } else {
        d->GetFieldList(entry->text(), list);
        for (const QString &s : std::as_const(list))
            glyphItem(FieldsLB, s, ExprGlyph::Field, kField);
    }
}

void TfrFieldsForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrFieldsForm::done(int result)
{
    DBField.clear();
    if (const QListWidgetItem *entry = DatasetsLB->currentItem())
        pickerMemory().fieldsEntry = entry->text();
    const QListWidgetItem *chosen = FieldsLB->currentItem();
    if (chosen && chosen->isSelected()) {
        if (chosen->data(Qt::UserRole).toInt() == kVariable)
            DBField = chosen->text();
        else
            DBField = dataFieldReference(pickerMemory().fieldsEntry, chosen->text());
    }
    QDialog::done(result);
}

// --- variables picker

TfrVarForm::TfrVarForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frVarForm"));
    setWindowTitle(report::frLoadString(53440));
    CategoryLB = glyphList(this, "CategoryLB");
    VarLB = glyphList(this, "VarLB");
    twoListsOverButtons(this, CategoryLB, VarLB, OkB, CancelB);
    connect(CategoryLB, &QListWidget::currentRowChanged, this,
            platform::handler([this](int) { CategoryLBClick(); }));
    connect(VarLB, &QListWidget::itemDoubleClicked, this,
            platform::handler([this](QListWidgetItem *) { accept(); }));
}

TfrVarForm::~TfrVarForm() = default;

bool TfrVarForm::systemCategory() const
{
    // The system entry is always the last one, after the dictionary's.
    const int row = CategoryLB->currentRow();
    return row >= 0 && row == CategoryLB->count() - 1;
}

void TfrVarForm::FormActivate()
{
    const QSignalBlocker block(CategoryLB);
    CategoryLB->clear();
    if (report::TfrDataDictionary *d = currentDictionary()) {
        QStringList list;
        d->GetCategoryList(list);
        for (const QString &s : std::as_const(list))
            glyphItem(CategoryLB, s, ExprGlyph::Category, 0);
    }
    glyphItem(CategoryLB, report::frLoadString(55075), ExprGlyph::Category, 1);
    selectRowOfText(CategoryLB, pickerMemory().variableCategory);
    CategoryLBClick();
}

void TfrVarForm::CategoryLBClick()
{
    VarLB->clear();
    const QListWidgetItem *entry = CategoryLB->currentItem();
    if (!entry)
        return;
    QStringList list;
    if (systemCategory())
        list = systemVariableTexts();
    else if (report::TfrDataDictionary *d = currentDictionary())
        d->GetVariableList(entry->text(), list);
    for (const QString &s : std::as_const(list))
        glyphItem(VarLB, s, ExprGlyph::Variable, 0);
}

void TfrVarForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TfrVarForm::done(int result)
{
    if (const QListWidgetItem *entry = CategoryLB->currentItem())
        pickerMemory().variableCategory = entry->text();
    if (result == QDialog::Accepted) {
        const QListWidgetItem *chosen = VarLB->currentItem();
        const bool picked = chosen && chosen->isSelected();
        if (systemCategory())
            SelectedVar = systemVariableName(picked ? VarLB->currentRow() : -1);
        else
            SelectedVar = picked ? chosen->text() : QString();
    }
    QDialog::done(result);
}

// --- functions picker

TfrFuncForm::TfrFuncForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frFuncForm"));
    setWindowTitle(report::frLoadString(53720));
    CategoryTV = new QTreeWidget(this);
    CategoryTV->setObjectName(QStringLiteral("CategoryTV"));
    CategoryTV->setHeaderHidden(true);
    CategoryTV->setIconSize(QSize(18, 16));
    FuncLB = glyphList(this, "FuncLB");
    FuncLabel = new QLabel(this);
    FuncLabel->setObjectName(QStringLiteral("FuncLabel"));
    QFont bold = FuncLabel->font();
    bold.setBold(true);
    FuncLabel->setFont(bold);
    FuncLabel->setTextFormat(Qt::PlainText);
    FuncLabel->setWordWrap(true);
    DescrLabel = new QLabel(this);
    DescrLabel->setObjectName(QStringLiteral("DescrLabel"));
    DescrLabel->setTextFormat(Qt::PlainText);
    DescrLabel->setWordWrap(true);
    DescrLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    DescrLabel->setMinimumHeight(48);

    auto *lists = new QHBoxLayout;
    lists->addWidget(CategoryTV, 2);
    lists->addWidget(FuncLB, 3);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addWidget(FuncLabel);
    layout->addWidget(DescrLabel);
    layout->addLayout(okCancelRow(this, OkB, CancelB));
    resize(480, 360);

    auto *root = new QTreeWidgetItem(CategoryTV, QStringList{report::frLoadString(55348)});
    root->setIcon(0, exprGlyph(ExprGlyph::AllFunctions));
    if (report::TfrInstalledFunctions *f = report::frObjects().frInstalledFunctions.get()) {
        QStringList categories;
        f->GetCategories(categories);
        for (const QString &c : std::as_const(categories)) {
            auto *node = new QTreeWidgetItem(root, QStringList{c});
            node->setIcon(0, exprGlyph(ExprGlyph::Category));
        }
    }
    CategoryTV->expandAll();
    connect(
        CategoryTV, &QTreeWidget::currentItemChanged, this,
        platform::handler([this](QTreeWidgetItem *, QTreeWidgetItem *) { CategoryTVChange(); }));
    connect(FuncLB, &QListWidget::currentRowChanged, this,
            platform::handler([this](int) { FuncLBClick(); }));
    connect(FuncLB, &QListWidget::itemDoubleClicked, this,
            platform::handler([this](QListWidgetItem *) { accept(); }));
    CategoryTV->setCurrentItem(root);
}

TfrFuncForm::~TfrFuncForm() = default;

QString TfrFuncForm::FunctionName() const
{
    const QListWidgetItem *item = FuncLB->currentItem();
    return item ? item->text() : QString();
}

void TfrFuncForm::CategoryTVChange()
{
    const QSignalBlocker block(FuncLB);
    FuncLB->clear();
    const QTreeWidgetItem *node = CategoryTV->currentItem();
    report::TfrInstalledFunctions *f = report::frObjects().frInstalledFunctions.get();
    if (node && f) {
        QStringList names;
        // The root's text is the one that stands for every category.
        f->GetFunctionsOfCategory(node->text(0), names);
        for (const QString &s : std::as_const(names))
            glyphItem(FuncLB, s, ExprGlyph::Function, 0);
    }
    if (FuncLB->count() > 0)
        FuncLB->setCurrentRow(0);
    FuncLBClick();
}

void TfrFuncForm::FuncLBClick()
{
    const QString name = FunctionName();
    report::TfrInstalledFunctions *f = report::frObjects().frInstalledFunctions.get();
    const FunctionDescriptionParts parts = splitFunctionDescription(
        name.isEmpty() || !f ? QString() : f->GetFunctionDescription(name));
    FuncLabel->setText(parts.syntax);
    DescrLabel->setText(parts.explanation);
}

// --- argument window

TfrFuncArgForm::TfrFuncArgForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frFuncArgForm"));
    setWindowTitle(report::frLoadString(53730));
    FuncLabel = new QLabel(this);
    FuncLabel->setObjectName(QStringLiteral("FuncLabel"));
    QFont bold = FuncLabel->font();
    bold.setBold(true);
    FuncLabel->setFont(bold);
    FuncLabel->setTextFormat(Qt::PlainText);
    FuncLabel->setWordWrap(true);
    DescrLabel = new QLabel(this);
    DescrLabel->setObjectName(QStringLiteral("DescrLabel"));
    DescrLabel->setTextFormat(Qt::PlainText);
    DescrLabel->setWordWrap(true);

    auto *grid = new QGridLayout;
    QLabel **labels[] = {&Label1, &Label2, &Label3};
    report::TfrComboEdit **boxes[] = {&Edit1, &Edit2, &Edit3};
    for (int i = 0; i < 3; ++i) {
        report::TfrComboEdit *box = newExpressionBox(this, QStringLiteral("Edit%1").arg(i + 1));
        box->setMinimumWidth(260);
        box->OnButtonClick = [this, box] { ArgButtonClick(box); };
        auto *label =
            new QLabel(report::frLoadString(53731) + QStringLiteral(" &%1").arg(i + 1), this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setBuddy(box);
        grid->addWidget(label, i, 0);
        grid->addWidget(box, i, 1);
        *labels[i] = label;
        *boxes[i] = box;
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(FuncLabel);
    layout->addLayout(grid);
    layout->addWidget(DescrLabel);
    layout->addStretch();
    layout->addLayout(okCancelRow(this, OkB, CancelB));
    resize(420, 230);
}

TfrFuncArgForm::~TfrFuncArgForm() = default;

void TfrFuncArgForm::FormShow()
{
    FuncLabel->setText(Syntax);
    DescrLabel->setText(Description);
    const int boxes = argumentBoxCount(Syntax);
    Label2->setVisible(boxes >= 2);
    Edit2->setVisible(boxes >= 2);
    Label3->setVisible(boxes >= 3);
    Edit3->setVisible(boxes >= 3);
    Edit1->setFocus();
}

void TfrFuncArgForm::ArgButtonClick(report::TfrComboEdit *box)
{
    if (const std::optional<QString> text = frEditExpression(comboText(box), this))
        setComboText(box, *text);
}

void TfrFuncArgForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrFuncArgForm::done(int result)
{
    // Hidden boxes hold nothing the user could see: they add no argument.
    const int boxes = argumentBoxCount(Syntax);
    Result =
        assembleFunctionCall(FuncName, comboText(Edit1), boxes >= 2 ? comboText(Edit2) : QString(),
                             boxes >= 3 ? comboText(Edit3) : QString());
    QDialog::done(result);
}

// --- shared entry points

report::TfrComboEdit *newExpressionBox(QWidget *parent, const QString &name)
{
    auto *box = new report::TfrComboEdit(parent);
    box->setObjectName(name);
    box->SetButtonHint(report::frLoadString(53575));
    return box;
}

std::optional<QString> frEditExpression(const QString &initial, QWidget *parent)
{
    platform::ModalScope scope(parent);
    TfrExprForm form(scope.parentWidget());
    form.SetExpression(initial);
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    return form.Expression();
}

std::optional<QString> frPickField(QWidget *parent)
{
    platform::ModalScope scope(parent);
    TfrFieldsForm form(scope.parentWidget());
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    return form.DBField;
}

} // namespace designer
