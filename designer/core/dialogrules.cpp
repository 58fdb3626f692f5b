#include "designer/core/dialogrules.h"

#include "designer/core/designercore.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"
#include "report/objects/frglobals.h"
#include "report/objects/frpage.h"
#include "report/objects/frview.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>

namespace designer
{

QRect picturePreviewRect(const QSize &box, const QSize &picture)
{
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0)
        return QRect(QPoint(0, 0), box);
    if (picture.width() <= box.width() && picture.height() <= box.height())
        return QRect((box.width() - picture.width()) / 2, (box.height() - picture.height()) / 2,
                     picture.width(), picture.height());
    return QRect(QPoint(0, 0), box);
}

namespace dialogrules_detail
{

quint32 le32(const QByteArray &b, qsizetype off)
{
    return qFromLittleEndian<quint32>(b.constData() + off);
}

// The image readers fill a bitmap or icon cut short with blank pixels: a
// file must hold every byte its headers declare.
bool wholePicture(const QByteArray &b)
{
    const qsizetype size = b.size();
    if (size >= 2 && b[0] == 'B' && b[1] == 'M') {
        if (size < 30)
            return false;
        const quint32 offBits = le32(b, 10);
        const quint32 headerSize = le32(b, 14);
        if (offBits > quint32(size) || headerSize < 12)
            return false;
        if (headerSize >= 40 && size >= 54) {
            const qint64 width = qint32(le32(b, 18));
            const qint64 height = std::abs(qint64(qint32(le32(b, 22))));
            const int bpp = qFromLittleEndian<quint16>(b.constData() + 28);
            const quint32 compression = le32(b, 30);
            if (compression == 0 || compression == 3) {
                const qint64 row = ((std::abs(width) * bpp + 31) / 32) * 4;
                if (row > 0 && height > (size - qint64(offBits)) / row)
                    return false;
            }
        }
        return true;
    }
    if (size >= 4 && b.startsWith(QByteArray("\x00\x00\x01\x00", 4))) {
        if (size < 6)
            return false;
        const int count = qFromLittleEndian<quint16>(b.constData() + 4);
        if (count == 0 || 6 + qint64(count) * 16 > size)
            return false;
        for (int i = 0; i < count; ++i) {
            const qsizetype entry = 6 + qsizetype(i) * 16;
            const quint64 bytes = le32(b, entry + 8);
            const quint64 offset = le32(b, entry + 12);
            if (offset + bytes > quint64(size))
                return false;
        }
    }
    return true;
}

} // namespace dialogrules_detail

std::optional<report::FrPicture> readPictureFile(const QString &path)
{
    // Through the line files' reader: a pipe picked by mistake is refused
    // instead of waited on, and the reason is said.
    return readPictureData(platform::LineFile::readBytes(path));
}

std::optional<report::FrPicture> readPictureData(const QByteArray &bytes)
{
    report::FrPicture picture;
    if (!dialogrules_detail::wholePicture(bytes) || !picture.loadData(bytes) || picture.isEmpty())
        return std::nullopt;
    return picture;
}

QString templateFolder()
{
    QString folder = report::frObjects().frTemplateDir;
    if (folder.isEmpty())
        folder = QCoreApplication::applicationDirPath();
    folder = QDir::fromNativeSeparators(folder);
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

std::vector<TemplateEntry> listTemplates(const QString &folder)
{
    std::vector<TemplateEntry> entries;
    const QDir dir(folder);
    const QFileInfoList files = dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::NoSort);
    for (const QFileInfo &info : files) {
        const QString name = info.fileName();
        if (!name.endsWith(QLatin1String(".frt"), Qt::CaseInsensitive) || name.size() <= 4)
            continue;
        entries.push_back({name.left(name.size() - 4), info.absoluteFilePath()});
    }
    std::sort(entries.begin(), entries.end(), [](const TemplateEntry &a, const TemplateEntry &b) {
        const int c = a.caption.compare(b.caption, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.caption < b.caption;
    });
    return entries;
}

namespace dialogrules_detail
{

constexpr int kGridSizes[3] = {4, 8, 18};
constexpr int kPagePositions[3] = {5, 3, 4};

int rowOf(const int (&values)[3], int value)
{
    for (int i = 0; i < 3; ++i)
        if (values[i] == value)
            return i;
    return 0;
}

} // namespace dialogrules_detail

int gridSizeRow(int gridSize)
{
    return dialogrules_detail::rowOf(dialogrules_detail::kGridSizes, gridSize);
}

int gridSizeOfRow(int row)
{
    return dialogrules_detail::kGridSizes[std::clamp(row, 0, 2)];
}

int pagePositionRow(int position)
{
    return dialogrules_detail::rowOf(dialogrules_detail::kPagePositions, position);
}

int pagePositionOfRow(int row)
{
    return dialogrules_detail::kPagePositions[std::clamp(row, 0, 2)];
}

RestrictionBoxes restrictionBoxes(quint16 restrictions)
{
    RestrictionBoxes boxes{};
    for (size_t i = 0; i < kRestrictionBits.size(); ++i)
        boxes[i] = (restrictions & kRestrictionBits[i]) != 0;
    return boxes;
}

quint16 withRestrictionBoxes(quint16 restrictions, const RestrictionBoxes &boxes)
{
    for (size_t i = 0; i < kRestrictionBits.size(); ++i) {
        if (boxes[i])
            restrictions |= kRestrictionBits[i];
        else
            restrictions &= quint16(~kRestrictionBits[i]);
    }
    return restrictions;
}

report::TfrView *restrictionsSource(const DesignerState &state, report::TfrView *openedOn)
{
    report::TfrPage *page = state.page();
    if (page && state.countSelected() > 0) {
        const int top = state.TopSelectedIndex();
        if (top >= 0 && top < page->ObjectCount() && page->Object(top)->Selected)
            return page->Object(top);
    }
    return openedOn;
}

void applyRestrictions(DesignerCore &core, report::TfrView *openedOn, const RestrictionBoxes &boxes)
{
    DesignerState &st = core.state;
    report::TfrPage *page = st.page();
    std::vector<report::TfrView *> targets;
    if (page)
        for (int i = 0; i < page->ObjectCount(); ++i)
            if (page->Object(i)->Selected)
                targets.push_back(page->Object(i));
    if (targets.empty() && openedOn)
        targets.push_back(openedOn);
    if (targets.empty())
        return;
    core.undo.RecordObjects(ukEdited, targets);
    for (report::TfrView *v : targets)
        v->Restrictions = withRestrictionBoxes(v->Restrictions, boxes);
    st.View.undoStateChanged();
    st.Designer.RepaintPage();
}

QString dbFieldText(const QString &dataSet, const QString &entry, bool variable)
{
    if (variable)
        return entry;
    return dataSet + QLatin1Char('.') + QLatin1Char('"') + entry + QLatin1Char('"');
}

} // namespace designer
