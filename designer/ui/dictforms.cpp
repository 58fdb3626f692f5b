#include "designer/ui/dictforms.h"

#include "designer/ui/bandforms.h"
#include "designer/ui/dialogrows.h"

#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "report/core/frlocale.h"
#include "report/data/frdictionary.h"
#include "report/objects/frreport.h"
#include "report/ui/frctrls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace designer
{

namespace dictforms_detail
{

constexpr int kImageRole = Qt::UserRole;
constexpr int kNameRole = Qt::UserRole + 1;
constexpr int kFilledRole = Qt::UserRole + 2;

constexpr int kImageDataSet = 1;
constexpr int kImageField = 2;
constexpr int kImageExcludedDataSet = 3;
constexpr int kImageExcludedField = 4;
constexpr int kImageCategory = 5;
constexpr int kImageVariable = 6;
constexpr int kImageSource = 7;

int imageOf(const QTreeWidgetItem *node)
{
    return node ? node->data(0, kImageRole).toInt() : 0;
}

QString nameOf(const QTreeWidgetItem *node)
{
    return node ? node->data(0, kNameRole).toString() : QString();
}

void setImage(QTreeWidgetItem *node, int image)
{
    node->setData(0, kImageRole, image);
    node->setIcon(0, image > 0 ? dictTreeImage(image) : QIcon());
}

void drawTable(QPainter &p, const QRect &r, const QColor &head)
{
    p.fillRect(r, Qt::white);
    p.fillRect(QRect(r.left(), r.top(), r.width(), 3), head);
    p.setPen(head);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.drawLine(r.left() + r.width() / 2, r.top() + 3, r.left() + r.width() / 2, r.bottom());
    p.drawLine(r.left(), r.top() + 3 + (r.height() - 3) / 2, r.right(),
               r.top() + 3 + (r.height() - 3) / 2);
}

void drawCross(QPainter &p)
{
    p.setPen(QPen(QColor(192, 0, 0), 2));
    p.drawLine(9, 9, 15, 15);
    p.drawLine(15, 9, 9, 15);
}

QPushButton *moveButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setFixedSize(28, 24);
    return b;
}

report::TfrSpeedButton *toolButton(const QString &name, int hintId, QWidget *parent,
                                   void (*draw)(QPainter &))
{
    auto *b = new report::TfrSpeedButton(parent);
    b->setObjectName(name);
    b->SetFlat(true);
    b->setToolTip(report::frLoadString(hintId));
    QImage glyph(16, 16, QImage::Format_RGB32);
    glyph.fill(QColor(128, 128, 0));
    QPainter p(&glyph);
    draw(p);
    p.end();
    b->SetGlyph(glyph);
    b->setFixedSize(24, 24);
    return b;
}

void glyphNewCategory(QPainter &p)
{
    p.fillRect(QRect(1, 4, 12, 9), QColor(255, 224, 96));
    p.setPen(Qt::black);
    p.drawRect(QRect(1, 4, 12, 9));
    p.drawLine(12, 1, 12, 5);
    p.drawLine(10, 3, 14, 3);
}

void glyphNewVariable(QPainter &p)
{
    p.fillRect(QRect(3, 6, 8, 8), QColor(0, 0, 192));
    p.setPen(Qt::black);
    p.drawLine(13, 1, 13, 7);
    p.drawLine(10, 4, 16, 4);
}

void glyphEdit(QPainter &p)
{
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(3, 13, 13, 3);
    p.setPen(Qt::red);
    p.drawLine(2, 14, 4, 12);
}

void glyphDelete(QPainter &p)
{
    p.setPen(QPen(QColor(192, 0, 0), 2));
    p.drawLine(3, 3, 13, 13);
    p.drawLine(13, 3, 3, 13);
}

void glyphList(QPainter &p)
{
    p.setPen(Qt::black);
    for (int y = 3; y <= 13; y += 3)
        p.drawLine(3, y, 13, y);
}

} // namespace dictforms_detail

QIcon dictTreeImage(int index)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    switch (index) {
    case 1:
    case 3:
        dictforms_detail::drawTable(p, QRect(1, 2, 14, 12), QColor(0, 0, 128));
        if (index == 3)
            dictforms_detail::drawCross(p);
        break;
    case 2:
    case 4:
        p.fillRect(QRect(3, 5, 10, 6), QColor(255, 255, 192));
        p.setPen(QColor(0, 0, 128));
        p.drawRect(QRect(3, 5, 9, 5));
        if (index == 4)
            dictforms_detail::drawCross(p);
        break;
    case 5:
        p.fillRect(QRect(1, 4, 14, 10), QColor(255, 224, 96));
        p.fillRect(QRect(1, 2, 6, 3), QColor(255, 224, 96));
        p.setPen(QColor(128, 96, 0));
        p.drawRect(QRect(1, 4, 13, 9));
        break;
    case 6:
        p.setBrush(QColor(0, 0, 192));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRect(4, 4, 8, 8));
        break;
    case 7:
        dictforms_detail::drawTable(p, QRect(1, 2, 14, 12), QColor(0, 128, 0));
        break;
    default:
        break;
    }
    return QIcon(pixmap);
}

QIcon dictValueIcon(bool system)
{
    QPixmap pixmap(18, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    if (system) {
        p.setPen(QPen(QColor(128, 0, 0), 1));
        p.setBrush(QColor(255, 255, 192));
        p.drawEllipse(QRect(2, 1, 13, 13));
        p.drawLine(8, 7, 8, 3);
        p.drawLine(8, 7, 11, 9);
    } else {
        dictforms_detail::drawTable(p, QRect(2, 2, 14, 12), QColor(0, 0, 128));
    }
    return QIcon(pixmap);
}

// --- alias tabs

TfrDictAliasTab::TfrDictAliasTab(DictionaryEditModel &model, bool fields, QWidget *parent)
    : QWidget(parent), m_model(model), m_fields(fields)
{
    const QString suffix = fields ? QStringLiteral("1") : QStringLiteral("2");
    // The list of components on the left, the tree of entries on the
    // right: ">" moves towards the tree, "<" back to the list.
    auto *layout = new QGridLayout(this);
    ListLabel = new QLabel(report::frLoadString(fields ? 53353 : 53358), this);
    List = new QListWidget(this);
    List->setObjectName(fields ? QStringLiteral("AllTablesLB") : QStringLiteral("AllBandsLB"));
    List->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List->setSortingEnabled(true);
    List->setDragEnabled(true);
    List->setAcceptDrops(true);
    List->setDefaultDropAction(Qt::CopyAction);
    List->setDragDropMode(QAbstractItemView::DragDrop);
    ListLabel->setBuddy(List);
    layout->addWidget(ListLabel, 0, 0);
    layout->addWidget(List, 1, 0, 2, 1);

    auto *buttons = new QVBoxLayout;
    buttons->addStretch();
    AddBtn =
        dictforms_detail::moveButton(QStringLiteral(">"), QStringLiteral("AddBtn") + suffix, this);
    RemoveBtn = dictforms_detail::moveButton(QStringLiteral("<"),
                                             QStringLiteral("RemoveBtn") + suffix, this);
    AddAllBtn = dictforms_detail::moveButton(QStringLiteral(">>"),
                                             QStringLiteral("AddAllBtn") + suffix, this);
    RemoveAllBtn = dictforms_detail::moveButton(QStringLiteral("<<"),
                                                QStringLiteral("RemoveAllBtn") + suffix, this);
    for (QPushButton *b : {AddBtn, RemoveBtn, AddAllBtn, RemoveAllBtn})
        buttons->addWidget(b);
    buttons->addStretch();
    layout->addLayout(buttons, 1, 1);

    Tree = new QTreeWidget(this);
    Tree->setObjectName(fields ? QStringLiteral("FieldAliasesTree")
                               : QStringLiteral("BandSourcesTree"));
    Tree->setHeaderHidden(true);
    Tree->setDragEnabled(true);
    Tree->setAcceptDrops(true);
    Tree->setDefaultDropAction(Qt::CopyAction);
    Tree->setDragDropMode(QAbstractItemView::DragDrop);
    layout->addWidget(Tree, 1, 2);

    AliasGroup = new QGroupBox(report::frLoadString(53354), this);
    auto *group = new QVBoxLayout(AliasGroup);
    AliasLabel = new QLabel(report::frLoadString(53355), AliasGroup);
    AliasEdit = new QLineEdit(AliasGroup);
    AliasEdit->setObjectName(QStringLiteral("Edit") + suffix);
    AliasLabel->setBuddy(AliasEdit);
    group->addWidget(AliasLabel);
    group->addWidget(AliasEdit);
    if (fields) {
        ExcludeCB = new QCheckBox(report::frLoadString(53356), AliasGroup);
        ExcludeCB->setObjectName(QStringLiteral("CB1"));
        group->addWidget(ExcludeCB);
    }
    layout->addWidget(AliasGroup, 2, 2);
    layout->setColumnStretch(0, 2);
    layout->setColumnStretch(2, 3);
    layout->setRowStretch(1, 1);

    connect(AddBtn, &QPushButton::clicked, this,
            platform::handler(this, &TfrDictAliasTab::addSelected));
    connect(AddAllBtn, &QPushButton::clicked, this,
            platform::handler(this, &TfrDictAliasTab::addAll));
    connect(RemoveBtn, &QPushButton::clicked, this,
            platform::handler(this, &TfrDictAliasTab::removeSelected));
    connect(RemoveAllBtn, &QPushButton::clicked, this,
            platform::handler(this, &TfrDictAliasTab::removeAll));
    connect(List, &QListWidget::itemDoubleClicked, this,
            platform::handler([this](QListWidgetItem *) { addSelected(); }));
    connect(Tree, &QTreeWidget::currentItemChanged, this,
            platform::handler([this](QTreeWidgetItem *node, QTreeWidgetItem *) {
                if (!m_updating)
                    showNode(node);
            }));
    connect(Tree, &QTreeWidget::itemExpanded, this,
            platform::handler([this](QTreeWidgetItem *node) { expandNode(node); }));
    connect(AliasEdit, &QLineEdit::textEdited, this,
            platform::handler([this](const QString &) { m_aliasModified = true; }));
    connect(AliasEdit, &QLineEdit::editingFinished, this,
            platform::handler(this, &TfrDictAliasTab::storeAlias));
    if (ExcludeCB)
        connect(ExcludeCB, &QCheckBox::clicked, this,
                platform::handler([this](bool on) { setExcluded(on); }));
    Tree->installEventFilter(this);
    AliasEdit->installEventFilter(this);
    Tree->viewport()->installEventFilter(this);
    List->viewport()->installEventFilter(this);
}

QTreeWidgetItem *TfrDictAliasTab::addDataSetNode(const DictAliasNode &node)
{
    auto *item = new QTreeWidgetItem;
    item->setText(0, node.text());
    item->setData(0, dictforms_detail::kNameRole, node.name);
    dictforms_detail::setImage(item, m_fields ? dictforms_detail::kImageDataSet
                                              : dictforms_detail::kImageSource);
    if (m_fields) {
        // A placeholder child until the node is first expanded.
        auto *placeholder = new QTreeWidgetItem(item);
        placeholder->setData(0, dictforms_detail::kImageRole, 0);
    }
    // Kept in name order.
    int at = 0;
    while (at < Root->childCount() && QString::compare(dictforms_detail::nameOf(Root->child(at)),
                                                       node.name, Qt::CaseInsensitive) < 0)
        ++at;
    Root->insertChild(at, item);
    return item;
}

void TfrDictAliasTab::fill()
{
    m_updating = true;
    Tree->clear();
    List->clear();
    Root = new QTreeWidgetItem(Tree);
    Root->setText(0, report::frLoadString(m_fields ? 53352 : 53357));
    const std::vector<DictAliasNode> nodes =
        m_fields ? m_model.aliasTreeNodes() : m_model.sourceTreeNodes();
    for (const DictAliasNode &node : nodes)
        addDataSetNode(node);
    List->addItems(m_fields ? m_model.aliasListNames() : m_model.sourceListNames());
    Root->setExpanded(true);
    m_current = nullptr;
    m_aliasModified = false;
    m_updating = false;
    Tree->setCurrentItem(Root);
    showNode(Root);
}

QString TfrDictAliasTab::dataSetOf(QTreeWidgetItem *node) const
{
    while (node && node->parent() != Root)
        node = node->parent();
    return node ? dictforms_detail::nameOf(node) : QString();
}

QTreeWidgetItem *TfrDictAliasTab::findNode(const QString &name) const
{
    for (int i = 0; Root && i < Root->childCount(); ++i)
        if (dictforms_detail::nameOf(Root->child(i)).compare(name, Qt::CaseInsensitive) == 0)
            return Root->child(i);
    return nullptr;
}

void TfrDictAliasTab::expandNode(QTreeWidgetItem *node)
{
    if (!m_fields || !node || node->parent() != Root ||
        node->data(0, dictforms_detail::kFilledRole).toBool())
        return;
    node->setData(0, dictforms_detail::kFilledRole, true);
    const bool wasUpdating = m_updating;
    m_updating = true;
    qDeleteAll(node->takeChildren());
    for (const DictAliasNode &field : m_model.aliasFieldNodes(dictforms_detail::nameOf(node))) {
        auto *item = new QTreeWidgetItem(node);
        item->setText(0, field.excluded ? field.name : field.text());
        item->setData(0, dictforms_detail::kNameRole, field.name);
        dictforms_detail::setImage(item, field.excluded ? dictforms_detail::kImageExcludedField
                                                        : dictforms_detail::kImageField);
    }
    m_updating = wasUpdating;
}

void TfrDictAliasTab::showNode(QTreeWidgetItem *node)
{
    storeAlias();
    m_current = node;
    m_updating = true;
    AliasEdit->setText(!node || node == Root ? QString() : dictAliasOfText(node->text(0)));
    const int image = dictforms_detail::imageOf(node);
    if (ExcludeCB) {
        ExcludeCB->setChecked(image == dictforms_detail::kImageExcludedDataSet ||
                              image == dictforms_detail::kImageExcludedField);
        ExcludeCB->setEnabled(image == dictforms_detail::kImageField ||
                              image == dictforms_detail::kImageExcludedField);
    }
    m_aliasModified = false;
    m_updating = false;
}

void TfrDictAliasTab::storeAlias()
{
    if (!m_aliasModified || !m_current || m_current == Root || !Root)
        return;
    m_aliasModified = false;
    QTreeWidgetItem *node = m_current;
    const QString alias = AliasEdit->text();
    const QString name = dictforms_detail::nameOf(node);
    const int image = dictforms_detail::imageOf(node);
    if (image == dictforms_detail::kImageField || image == dictforms_detail::kImageExcludedField) {
        // An emptied alias shows the field again under its own name: an
        // empty alias entry would hide it, which only the box below does.
        const QString dataSet = dataSetOf(node);
        if (alias.isEmpty())
            m_model.setFieldExcluded(dataSet, name, false);
        else
            m_model.setAlias(dataSet + QLatin1Char('.') + name, alias);
        dictforms_detail::setImage(node, dictforms_detail::kImageField);
        if (ExcludeCB && node == Tree->currentItem())
            ExcludeCB->setChecked(false);
    } else if (m_fields) {
        m_model.setAlias(name, alias);
    } else {
        m_model.setSourceAlias(name, alias);
    }
    node->setText(0, DictAliasNode{name, alias, false}.text());
}

void TfrDictAliasTab::setExcluded(bool excluded)
{
    QTreeWidgetItem *node = Tree->currentItem();
    const int image = dictforms_detail::imageOf(node);
    if (image != dictforms_detail::kImageField && image != dictforms_detail::kImageExcludedField)
        return;
    m_aliasModified = false;
    const QString name = dictforms_detail::nameOf(node);
    m_model.setFieldExcluded(dataSetOf(node), name, excluded);
    dictforms_detail::setImage(node, excluded ? dictforms_detail::kImageExcludedField
                                              : dictforms_detail::kImageField);
    node->setText(0, name);
    m_updating = true;
    AliasEdit->setText(name);
    if (ExcludeCB)
        ExcludeCB->setChecked(excluded);
    m_updating = false;
}

void TfrDictAliasTab::addSelected()
{
    storeAlias();
    const QList<QListWidgetItem *> chosen = List->selectedItems();
    for (QListWidgetItem *item : chosen) {
        const QString name = item->text();
        if (m_fields)
            m_model.aliasToTree(name);
        else
            m_model.sourceToTree(name);
        addDataSetNode(DictAliasNode{name, QString(), false});
        delete item;
    }
}

void TfrDictAliasTab::addAll()
{
    List->selectAll();
    addSelected();
}

void TfrDictAliasTab::removeSelected()
{
    QTreeWidgetItem *node = Tree->currentItem();
    if (!node || node == Root)
        return;
    while (node->parent() != Root)
        node = node->parent();
    const QString name = dictforms_detail::nameOf(node);
    m_aliasModified = false;
    if (m_fields)
        m_model.aliasToList(name);
    else
        m_model.sourceToList(name);
    m_updating = true;
    delete node;
    m_current = nullptr;
    m_updating = false;
    List->addItem(name);
    Tree->setCurrentItem(Root);
    showNode(Root);
}

void TfrDictAliasTab::removeAll()
{
    m_aliasModified = false;
    const QStringList back = m_fields ? m_model.aliasAllToList() : m_model.sourceAllToList();
    m_updating = true;
    qDeleteAll(Root->takeChildren());
    m_current = nullptr;
    m_updating = false;
    for (const QString &name : back)
        if (List->findItems(name, Qt::MatchFixedString).isEmpty())
            List->addItem(name);
    Tree->setCurrentItem(Root);
    showNode(Root);
}

bool TfrDictAliasTab::acceptsDrag(const QObject *target, const QObject *source) const
{
    return (target == Tree && source == List) || (target == List && source == Tree);
}

bool TfrDictAliasTab::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) {
        QObject *target = watched == Tree->viewport()   ? static_cast<QObject *>(Tree)
                          : watched == List->viewport() ? static_cast<QObject *>(List)
                                                        : nullptr;
        if (target) {
            auto *drop = static_cast<QDropEvent *>(event);
            if (!acceptsDrag(target, drop->source())) {
                drop->ignore();
                return true;
            }
            // Copy, so that the view the drag left removes nothing itself.
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            if (type == QEvent::Drop)
                platform::guard([&] {
                    if (target == Tree)
                        addSelected();
                    else
                        removeSelected();
                });
            return true;
        }
    }
    if (type == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (watched == Tree && enter) {
            AliasEdit->setFocus();
            return true;
        }
        if (watched == Tree && key->key() == Qt::Key_Space && ExcludeCB && ExcludeCB->isEnabled()) {
            platform::guard([&] { setExcluded(!ExcludeCB->isChecked()); });
            return true;
        }
        if (watched == AliasEdit && enter) {
            platform::guard([&] { storeAlias(); });
            Tree->setFocus();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// --- the dictionary form

TfrDictForm::TfrDictForm(report::TfrReport &report, QWidget *parent)
    : QDialog(parent), Report(report), Model(report.Dictionary())
{
    setObjectName(QStringLiteral("frDictForm"));
    setWindowTitle(report::frLoadString(53340));
    auto *top = new QVBoxLayout(this);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    top->addWidget(PageControl1);

    // Variables
    auto *varPage = new QWidget;
    auto *grid = new QGridLayout(varPage);
    auto *toolRow = new QHBoxLayout;
    NewCategoryBtn = dictforms_detail::toolButton(QStringLiteral("NewCategoryBtn"), 53347, varPage,
                                                  dictforms_detail::glyphNewCategory);
    NewVarBtn = dictforms_detail::toolButton(QStringLiteral("NewVarBtn"), 53348, varPage,
                                             dictforms_detail::glyphNewVariable);
    EditBtn = dictforms_detail::toolButton(QStringLiteral("EditBtn"), 53349, varPage,
                                           dictforms_detail::glyphEdit);
    DelBtn = dictforms_detail::toolButton(QStringLiteral("DelBtn"), 53350, varPage,
                                          dictforms_detail::glyphDelete);
    EditListBtn = dictforms_detail::toolButton(QStringLiteral("EditListBtn"), 53351, varPage,
                                               dictforms_detail::glyphList);
    for (report::TfrSpeedButton *b : {NewCategoryBtn, NewVarBtn, EditBtn, DelBtn, EditListBtn})
        toolRow->addWidget(b);
    toolRow->addStretch();
    VarLabel = new QLabel(report::frLoadString(53344), varPage);
    VarTree = new QTreeWidget(varPage);
    VarTree->setObjectName(QStringLiteral("VarTree"));
    VarTree->setHeaderHidden(true);
    VarTree->setEditTriggers(QAbstractItemView::EditKeyPressed);
    VarLabel->setBuddy(VarTree);
    ValLabel = new QLabel(report::frLoadString(53345), varPage);
    ValCombo = new QComboBox(varPage);
    ValCombo->setObjectName(QStringLiteral("ValCombo"));
    ValCombo->setIconSize(QSize(18, 16));
    ValList = new QListWidget(varPage);
    ValList->setObjectName(QStringLiteral("ValList"));
    ValList->setIconSize(QSize(18, 16));
    ValLabel->setBuddy(ValList);
    ExprCB = new QCheckBox(report::frLoadString(53346), varPage);
    ExprCB->setObjectName(QStringLiteral("ExprCB"));
    ExprEdit = new report::TfrComboEdit(varPage);
    ExprEdit->setObjectName(QStringLiteral("ExprEdit"));
    ExprEdit->OnButtonClick = [this] {
        if (!BuildExpression)
            return;
        if (const std::optional<QString> text = BuildExpression(ExprEdit->currentText())) {
            ExprEdit->setEditText(*text);
            storeExpression();
        }
    };
    grid->addLayout(toolRow, 0, 0, 1, 2);
    grid->addWidget(VarLabel, 1, 0);
    grid->addWidget(VarTree, 2, 0, 4, 1);
    grid->addWidget(ValLabel, 1, 1);
    grid->addWidget(ValCombo, 2, 1);
    grid->addWidget(ValList, 3, 1);
    grid->addWidget(ExprCB, 4, 1);
    grid->addWidget(ExprEdit, 5, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);
    PageControl1->addTab(varPage, report::frLoadString(53341));

    AliasesTab = new TfrDictAliasTab(Model, true);
    PageControl1->addTab(AliasesTab, report::frLoadString(53342));
    SourcesTab = new TfrDictAliasTab(Model, false);
    PageControl1->addTab(SourcesTab, report::frLoadString(53343));

    top->addLayout(okCancelButtons(this, Button1, Button2, "Button1", "Button2"));

    connect(Button1, &QPushButton::clicked, this, platform::handler([this] {
                ApplyChanges();
                done(platform::mrOk);
            }));
    connect(Button2, &QPushButton::clicked, this,
            platform::handler([this] { done(platform::mrCancel); }));
    NewCategoryBtn->OnClick = platform::handler(this, &TfrDictForm::newCategory);
    NewVarBtn->OnClick = platform::handler(this, &TfrDictForm::newVariable);
    EditBtn->OnClick = platform::handler(this, &TfrDictForm::editNode);
    DelBtn->OnClick = platform::handler(this, &TfrDictForm::deleteNode);
    EditListBtn->OnClick = platform::handler(this, &TfrDictForm::editList);
    connect(VarTree, &QTreeWidget::currentItemChanged, this,
            platform::handler([this](QTreeWidgetItem *node, QTreeWidgetItem *) {
                if (!Updating)
                    selectNode(node);
            }));
    connect(VarTree, &QTreeWidget::itemChanged, this,
            platform::handler([this](QTreeWidgetItem *node, int) {
                if (!Updating)
                    renamed(node);
            }));
    connect(ValCombo, &QComboBox::currentIndexChanged, this, platform::handler([this](int item) {
                if (!Updating)
                    valueSourceChosen(item);
            }));
    connect(
        ValList, &QListWidget::itemClicked, this,
        platform::handler([this](QListWidgetItem *item) { valueRowClicked(ValList->row(item)); }));
    connect(ExprCB, &QCheckBox::clicked, this,
            platform::handler([this](bool on) { expressionChecked(on); }));
    connect(ExprEdit->lineEdit(), &QLineEdit::editingFinished, this,
            platform::handler(this, &TfrDictForm::storeExpression));
    VarTree->installEventFilter(this);
    ExprEdit->lineEdit()->installEventFilter(this);
    resize(520, 400);
}

bool TfrDictForm::editingName() const
{
    // The in-place editor is a line edit inside the tree's viewport.
    for (const QLineEdit *editor : VarTree->viewport()->findChildren<QLineEdit *>())
        if (editor->isVisibleTo(VarTree))
            return true;
    return false;
}

bool TfrDictForm::aucunState() const
{
    return VarTree->topLevelItemCount() == 1 &&
           dictforms_detail::imageOf(VarTree->topLevelItem(0)) == 0;
}

QTreeWidgetItem *TfrDictForm::currentNode() const
{
    QTreeWidgetItem *node = VarTree->currentItem();
    return dictforms_detail::imageOf(node) == 0 ? nullptr : node;
}

void TfrDictForm::setAucunState()
{
    const bool was = Updating;
    Updating = true;
    VarTree->clear();
    auto *none = new QTreeWidgetItem(VarTree);
    none->setText(0, report::frLoadString(55076));
    none->setData(0, dictforms_detail::kImageRole, 0);
    VarTree->setRootIsDecorated(false);
    ExprCB->setEnabled(false);
    VarTree->setCurrentItem(none);
    CurrentNode = nullptr;
    Updating = was;
}

void TfrDictForm::leaveAucunState()
{
    if (!aucunState())
        return;
    const bool was = Updating;
    Updating = true;
    VarTree->clear();
    VarTree->setRootIsDecorated(true);
    ExprCB->setEnabled(true);
    Updating = was;
}

QTreeWidgetItem *TfrDictForm::addCategoryNode(const QString &name)
{
    auto *node = new QTreeWidgetItem(VarTree);
    node->setText(0, name);
    node->setData(0, dictforms_detail::kNameRole, name);
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    dictforms_detail::setImage(node, dictforms_detail::kImageCategory);
    return node;
}

QTreeWidgetItem *TfrDictForm::addVariableNode(QTreeWidgetItem *category, const QString &name)
{
    auto *node = new QTreeWidgetItem(category);
    node->setText(0, name);
    node->setData(0, dictforms_detail::kNameRole, name);
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    dictforms_detail::setImage(node, dictforms_detail::kImageVariable);
    return node;
}

void TfrDictForm::fillVarTree()
{
    const std::vector<DictCategory> tree = dictTree(Model.VarsCopy);
    CurrentNode = nullptr;
    if (tree.empty()) {
        setAucunState();
        selectNode(nullptr);
        return;
    }
    Updating = true;
    VarTree->clear();
    VarTree->setRootIsDecorated(true);
    ExprCB->setEnabled(true);
    for (const DictCategory &category : tree) {
        QTreeWidgetItem *node = addCategoryNode(category.name);
        for (const QString &variable : category.variables)
            addVariableNode(node, variable);
    }
    VarTree->expandAll();
    VarTree->setCurrentItem(VarTree->topLevelItem(0));
    Updating = false;
    selectNode(VarTree->topLevelItem(0));
}

void TfrDictForm::Prepare()
{
    Model.load();
    AliasesTab->fill();
    SourcesTab->fill();
    Updating = true;
    ValCombo->clear();
    const QStringList sources = Model.valueSources();
    for (int i = 0; i < sources.size(); ++i)
        ValCombo->addItem(dictValueIcon(i == sources.size() - 1), sources.at(i));
    Updating = false;
    ValCombo->setCurrentIndex(0);
    valueSourceChosen(0);
    fillVarTree();
    PageControl1->setCurrentIndex(0);
    VarTree->setFocus();
}

int TfrDictForm::Execute()
{
    Prepare();
    const QRect screen = platform::availableScreenArea(this);
    move(screen.center() - rect().center());
    platform::ModalScope scope(parentWidget());
    return exec();
}

void TfrDictForm::ApplyChanges()
{
    storeExpression();
    AliasesTab->storeAlias();
    SourcesTab->storeAlias();
    Model.apply();
}

void TfrDictForm::newCategory()
{
    leaveAucunState();
    storeExpression();
    const QString name = Model.addCategory();
    Updating = true;
    QTreeWidgetItem *node = addCategoryNode(name);
    VarTree->setCurrentItem(node);
    Updating = false;
    selectNode(node);
    VarTree->editItem(node);
}

void TfrDictForm::newVariable()
{
    QTreeWidgetItem *selected = currentNode();
    if (!selected || aucunState())
        return;
    storeExpression();
    QTreeWidgetItem *category = selected->parent() ? selected->parent() : selected;
    const std::optional<QString> name = Model.addVariable(dictforms_detail::nameOf(category));
    if (!name)
        return;
    Updating = true;
    QTreeWidgetItem *node = addVariableNode(category, *name);
    category->setExpanded(true);
    VarTree->setCurrentItem(node);
    Updating = false;
    selectNode(node);
    VarTree->editItem(node);
}

void TfrDictForm::editNode()
{
    if (QTreeWidgetItem *node = currentNode())
        VarTree->editItem(node);
}

void TfrDictForm::renamed(QTreeWidgetItem *node)
{
    const int image = dictforms_detail::imageOf(node);
    if (image != dictforms_detail::kImageCategory && image != dictforms_detail::kImageVariable)
        return;
    const QString old = dictforms_detail::nameOf(node);
    const std::optional<QString> name =
        Model.rename(old, image == dictforms_detail::kImageCategory, node->text(0));
    Updating = true;
    node->setText(0, name ? *name : old);
    if (name)
        node->setData(0, dictforms_detail::kNameRole, *name);
    Updating = false;
}

void TfrDictForm::deleteNode()
{
    QTreeWidgetItem *node = currentNode();
    if (!node || aucunState())
        return;
    const bool category = dictforms_detail::imageOf(node) == dictforms_detail::kImageCategory;
    Model.remove(dictforms_detail::nameOf(node), category);
    Updating = true;
    CurrentNode = nullptr;
    delete node;
    Updating = false;
    if (VarTree->topLevelItemCount() == 0)
        setAucunState();
    selectNode(VarTree->currentItem());
}

void TfrDictForm::editList()
{
    storeExpression();
    TfrVaredForm form(this);
    if (form.Edit(Model.VarsCopy))
        fillVarTree();
}

void TfrDictForm::storeExpression()
{
    if (!CurrentNode ||
        dictforms_detail::imageOf(CurrentNode) != dictforms_detail::kImageVariable ||
        !ExprCB->isChecked() || !ExprEdit->isEnabled())
        return;
    Model.setValue(dictforms_detail::nameOf(CurrentNode), ExprEdit->currentText());
}

void TfrDictForm::showValue(const QString &value)
{
    const DictValueView view = Model.classify(value);
    Updating = true;
    switch (view.kind) {
    case DictValueView::Field:
    case DictValueView::System:
        ValCombo->setCurrentIndex(view.dataSetItem);
        valueSourceChosen(view.dataSetItem);
        ValList->setCurrentRow(view.fieldRow);
        ExprEdit->setEditText(QString());
        ExprCB->setChecked(false);
        break;
    case DictValueView::Expression:
        ValList->setCurrentRow(0);
        ExprEdit->setEditText(view.expression);
        ExprCB->setChecked(true);
        break;
    case DictValueView::None:
        ValList->setCurrentRow(0);
        ExprEdit->setEditText(QString());
        ExprCB->setChecked(false);
        break;
    }
    ExprEdit->setEnabled(ExprCB->isChecked());
    Updating = false;
}

void TfrDictForm::selectNode(QTreeWidgetItem *node)
{
    storeExpression();
    CurrentNode = dictforms_detail::imageOf(node) == 0 ? nullptr : node;
    const bool variable =
        dictforms_detail::imageOf(CurrentNode) == dictforms_detail::kImageVariable;
    ExprCB->setEnabled(variable);
    if (!variable) {
        Updating = true;
        ExprCB->setChecked(false);
        ExprEdit->setEditText(QString());
        ExprEdit->setEnabled(false);
        ValList->setCurrentRow(0);
        Updating = false;
        return;
    }
    showValue(Model.value(dictforms_detail::nameOf(CurrentNode)));
}

void TfrDictForm::valueSourceChosen(int item)
{
    const bool was = Updating;
    Updating = true;
    ValList->clear();
    const QStringList rows = Model.valueRows(item);
    const bool system = item == ValCombo->count() - 1;
    for (int i = 0; i < rows.size(); ++i) {
        auto *row = new QListWidgetItem(rows.at(i), ValList);
        if (i == 0)
            row->setIcon(blankPickerIcon());
        else
            row->setIcon(system ? dictValueIcon(true)
                                : dictTreeImage(dictforms_detail::kImageField));
    }
    ValList->setCurrentRow(0);
    Updating = was;
}

void TfrDictForm::valueRowClicked(int row)
{
    if (!CurrentNode || dictforms_detail::imageOf(CurrentNode) != dictforms_detail::kImageVariable)
        return;
    Updating = true;
    ExprCB->setChecked(false);
    ExprEdit->setEditText(QString());
    ExprEdit->setEnabled(false);
    Updating = false;
    Model.setValue(dictforms_detail::nameOf(CurrentNode),
                   Model.rowValue(ValCombo->currentIndex(), row));
}

void TfrDictForm::expressionChecked(bool checked)
{
    ExprEdit->setEnabled(checked);
    if (!checked) {
        ExprEdit->setEditText(QString());
        ValList->setCurrentRow(0);
        valueRowClicked(0);
        return;
    }
    if (!VarTree->hasFocus())
        ExprEdit->setFocus();
    Updating = true;
    ValList->setCurrentRow(0);
    Updating = false;
}

bool TfrDictForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && watched == ExprEdit->lineEdit())
        CurrentNode = currentNode();
    if (watched == VarTree && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool editing = editingName();
        bool handled = true;
        platform::guard([&] {
            switch (key->key()) {
            case Qt::Key_Insert:
                if ((key->modifiers() & Qt::ControlModifier) || !currentNode() || aucunState())
                    newCategory();
                else
                    newVariable();
                break;
            case Qt::Key_Delete:
                if (!editing)
                    deleteNode();
                else
                    handled = false;
                break;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                if (!editing)
                    editNode();
                else
                    handled = false;
                break;
            case Qt::Key_Escape:
                if (!editing)
                    done(platform::mrCancel);
                else
                    handled = false;
                break;
            default:
                handled = false;
            }
        });
        if (handled)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

// --- the list as text

TfrVaredForm::TfrVaredForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frVaredForm"));
    setWindowTitle(report::frLoadString(53360));
    auto *top = new QVBoxLayout(this);
    Label1 = new QLabel(report::frLoadString(53361), this);
    M1 = new QPlainTextEdit(this);
    M1->setObjectName(QStringLiteral("M1"));
    M1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Label1->setBuddy(M1);
    top->addWidget(Label1);
    top->addWidget(M1, 1);
    top->addLayout(okCancelButtons(this, Button1, Button2, "Button1", "Button2"));
    connect(Button1, &QPushButton::clicked, this,
            platform::handler([this] { done(platform::mrOk); }));
    connect(Button2, &QPushButton::clicked, this,
            platform::handler([this] { done(platform::mrCancel); }));
    resize(300, 360);
}

void TfrVaredForm::Load(const report::TfrVariables &vars)
{
    M1->setPlainText(dictListToLines(vars).join(QLatin1Char('\n')));
}

void TfrVaredForm::Apply(report::TfrVariables &vars)
{
    dictLinesToList(M1->toPlainText().split(QLatin1Char('\n')), vars);
}

bool TfrVaredForm::Edit(report::TfrVariables &vars)
{
    Load(vars);
    platform::ModalScope scope(parentWidget());
    if (exec() != platform::mrOk)
        return false;
    Apply(vars);
    return true;
}

} // namespace designer
