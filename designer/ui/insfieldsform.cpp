#include "designer/ui/insfieldsform.h"

#include "designer/ui/designerform.h"

#include "designer/core/designerglobals.h"
#include "designer/core/dialogrules.h"
#include "designer/ui/fieldmime.h"

#include "platform/forms/application.h"
#include "platform/registry/registry.h"
#include "report/core/frlocale.h"
#include "report/data/frdictionary.h"
#include "report/objects/frglobals.h"
#include "report/objects/frreport.h"
#include "report/ui/frdock.h"

#include <QCloseEvent>
#include <QDrag>
#include <QFrame>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

namespace designer
{

namespace insfields_detail
{

QString sectionKey()
{
    return QStringLiteral("\\") + report::frRegistryKey() +
           QStringLiteral("\\Form\\TfrInsFieldsForm");
}

// The four 18 x 16 glyphs: data set, field, variable category, variable.
QIcon glyph(int which)
{
    QImage img(18, 16, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    const QColor ink(0, 0, 128);
    switch (which) {
    case 0: // data set: a stack of discs
        for (int i = 2; i >= 0; --i) {
            p.setPen(ink);
            p.setBrush(QColor(255, 255, 128));
            p.drawEllipse(QRect(3, 2 + i * 4, 11, 5));
        }
        break;
    case 1: // field: a cell with its header
        p.setPen(ink);
        p.setBrush(Qt::white);
        p.drawRect(2, 3, 13, 9);
        p.fillRect(3, 4, 12, 3, ink);
        break;
    case 2: // variable category: a folder
        p.setPen(QColor(128, 96, 0));
        p.setBrush(QColor(255, 214, 96));
        p.drawRect(2, 5, 13, 9);
        p.drawRect(2, 3, 6, 2);
        break;
    default: // variable: an x in a box
        p.setPen(QColor(0, 110, 0));
        p.setBrush(Qt::white);
        p.drawRect(3, 3, 11, 10);
        p.drawLine(6, 6, 11, 11);
        p.drawLine(11, 6, 6, 11);
        break;
    }
    return QIcon(QPixmap::fromImage(img));
}

bool isVariable(const QListWidgetItem *item)
{
    return item && item->data(Qt::UserRole).toInt() == TfrInsFieldsForm::kVariableMark;
}

} // namespace insfields_detail

using namespace insfields_detail;

TfrFieldsList::TfrFieldsList(TfrInsFieldsForm *form, QWidget *parent)
    : QListWidget(parent), m_form(form)
{
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
}

void TfrFieldsList::startDrag(Qt::DropActions)
{
    bool ok = false;
    platform::guard([&] {
        m_form->FieldsLBStartDrag();
        ok = !m_form->DBField.isEmpty();
    });
    if (!ok)
        return;
    auto *mime = new QMimeData;
    mime->setData(frFieldMimeType(), m_form->DBField.toUtf8());
    auto *drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->exec(Qt::CopyAction);
}

TfrInsFieldsForm::TfrInsFieldsForm(report::TfrReport *report, QWidget *owner)
    : QWidget(owner, Qt::Tool), m_report(report), m_owner(owner)
{
    setObjectName(QStringLiteral("InsFieldsForm"));
    setWindowTitle(report::frLoadString(53450));
    DatasetsLB = new QListWidget(this);
    DatasetsLB->setObjectName(QStringLiteral("DatasetsLB"));
    DatasetsLB->setIconSize(QSize(18, 16));
    Splitter = new QFrame(this);
    Splitter->setObjectName(QStringLiteral("Splitter"));
    Splitter->setCursor(Qt::SplitVCursor);
    Splitter->installEventFilter(this);
    FieldsLB = new TfrFieldsList(this, this);
    FieldsLB->setObjectName(QStringLiteral("FieldsLB"));
    FieldsLB->setIconSize(QSize(18, 16));
    connect(DatasetsLB, &QListWidget::currentRowChanged, this,
            platform::handler([this](int) { dataSetClicked(); }));

    resize(184, 233);
    if (!report::frRestoreFormPosition(this))
        setProperty(kPlaceBesideDesigner, true);
    platform::TRegistry reg;
    m_upperHeight = 120;
    if (reg.OpenKey(sectionKey(), false) && reg.ValueExists(QStringLiteral("SplitterPos"))) {
        try {
            m_upperHeight = reg.ReadInteger(QStringLiteral("SplitterPos"));
        } catch (const platform::Exception &) {
            m_upperHeight = 120;
        }
    }
    m_upperHeight = std::max(0, m_upperHeight);
    m_fullHeight = height() < 30 ? 300 : height();
    if (height() < 20)
        DatasetsLB->hide();
    layoutLists();
}

TfrInsFieldsForm::~TfrInsFieldsForm() = default;

void TfrInsFieldsForm::layoutLists()
{
    const int w = width();
    const int top = DatasetsLB->isHidden() ? 0 : std::min(m_upperHeight, std::max(0, height() - 2));
    DatasetsLB->setGeometry(0, 0, w, top);
    Splitter->setGeometry(0, top, w, 2);
    FieldsLB->setGeometry(0, top + 2, w, std::max(0, height() - top - 2));
}

void TfrInsFieldsForm::fillDataSets()
{
    QStringList names;
    QStringList categories;
    if (m_report) {
        report::TfrDataDictionary &dict = m_report->Dictionary();
        dict.GetDataSetList(names);
        if (OfferVariables)
            dict.GetCategoryList(categories);
    }
    {
        const QSignalBlocker block(DatasetsLB);
        DatasetsLB->clear();
        for (const QString &n : std::as_const(names))
            DatasetsLB->addItem(new QListWidgetItem(glyph(0), n));
        for (const QString &c : std::as_const(categories)) {
            auto *item = new QListWidgetItem(glyph(2), c);
            item->setData(Qt::UserRole, kVariableMark);
            DatasetsLB->addItem(item);
        }
    }
    if (DatasetsLB->count() == 0) {
        FieldsLB->clear();
        return;
    }
    const QString last = designerGlobals().lastFieldsDataSet;
    int row = 0;
    for (int i = 0; i < DatasetsLB->count(); ++i)
        if (DatasetsLB->item(i)->text() == last) {
            row = i;
            break;
        }
    {
        const QSignalBlocker block(DatasetsLB);
        DatasetsLB->setCurrentRow(row);
    }
    dataSetClicked();
}

void TfrInsFieldsForm::dataSetClicked()
{
    FieldsLB->clear();
    QListWidgetItem *entry = DatasetsLB->currentItem();
    if (!entry || !m_report)
        return;
    report::TfrDataDictionary &dict = m_report->Dictionary();
    QStringList list;
    if (isVariable(entry)) {
        dict.GetVariableList(entry->text(), list);
        for (const QString &v : std::as_const(list)) {
            auto *item = new QListWidgetItem(glyph(3), v);
            item->setData(Qt::UserRole, kVariableMark);
            FieldsLB->addItem(item);
        }
        return;
    }
    dict.GetFieldList(entry->text(), list);
    for (const QString &f : std::as_const(list))
        FieldsLB->addItem(new QListWidgetItem(glyph(1), f));
}

void TfrInsFieldsForm::rememberDataSet()
{
    if (QListWidgetItem *entry = DatasetsLB->currentItem())
        designerGlobals().lastFieldsDataSet = entry->text();
}

void TfrInsFieldsForm::Refresh()
{
    rememberDataSet();
    fillDataSets();
}

void TfrInsFieldsForm::Expand()
{
    resize(width(), m_fullHeight);
    DatasetsLB->show();
    layoutLists();
}

void TfrInsFieldsForm::FieldsLBStartDrag()
{
    rememberDataSet();
    QListWidgetItem *field = FieldsLB->currentItem();
    if (!field || !field->isSelected())
        return;
    DBField = dbFieldText(designerGlobals().lastFieldsDataSet, field->text(), isVariable(field));
}

void TfrInsFieldsForm::FormHide()
{
    if (m_hidden)
        return;
    m_hidden = true;
    report::frSaveFormPosition(this);
    platform::TRegistry reg;
    if (reg.OpenKey(sectionKey(), true))
        reg.WriteInteger(QStringLiteral("SplitterPos"), DatasetsLB->height());
    FieldsLBStartDrag();
    if (m_owner && m_owner->isVisible())
        m_owner->activateWindow();
}

void TfrInsFieldsForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_hidden = false;
    layoutLists();
    fillDataSets();
}

void TfrInsFieldsForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutLists();
    if (OnChanged)
        platform::guard([this] { OnChanged(); });
}

void TfrInsFieldsForm::closeEvent(QCloseEvent *event)
{
    platform::guard([this] { FormHide(); });
    event->accept();
    deleteLater();
}

bool TfrInsFieldsForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != Splitter)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *e = static_cast<QMouseEvent *>(event);
        m_splitDrag = e->button() == Qt::LeftButton;
        m_splitStart = e->globalPosition().toPoint().y();
        return true;
    }
    case QEvent::MouseMove: {
        if (!m_splitDrag)
            return false;
        auto *e = static_cast<QMouseEvent *>(event);
        const int y = e->globalPosition().toPoint().y();
        m_upperHeight = std::clamp(m_upperHeight + y - m_splitStart, 0, std::max(0, height() - 2));
        m_splitStart = y;
        layoutLists();
        return true;
    }
    case QEvent::MouseButtonRelease:
        m_splitDrag = false;
        return true;
    default:
        return false;
    }
}

} // namespace designer
