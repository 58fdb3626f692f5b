#include "designer/core/designersettings.h"

#include "platform/registry/registry.h"
#include "report/objects/frglobals.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <cstdlib>

namespace designer
{

namespace settings_detail
{

QString formKey(const char *className)
{
    return QLatin1Char('\\') + report::frObjects().frRegistryKey + QStringLiteral("\\Form\\") +
           QString::fromLatin1(className);
}

// A value that is missing or not a number reads as its default.
int readInt(const platform::TRegistry &reg, const char *name, int fallback)
{
    const QString key = QString::fromLatin1(name);
    if (!reg.ValueExists(key))
        return fallback;
    try {
        return reg.ReadInteger(key);
    } catch (const std::exception &) {
        return fallback;
    }
}

bool readBool(const platform::TRegistry &reg, const char *name, bool fallback)
{
    return readInt(reg, name, fallback ? 1 : 0) != 0;
}

} // namespace settings_detail

QString designerSettingsKey()
{
    return settings_detail::formKey("TfrDesignerForm");
}

QString inspectorSettingsKey()
{
    return settings_detail::formKey("TfrInspForm");
}

QString dbFieldsSettingsKey()
{
    return settings_detail::formKey("TfrInsFieldsForm");
}

StoredDesignerSettings frReadDesignerSettings()
{
    using settings_detail::readBool;
    using settings_detail::readInt;
    StoredDesignerSettings s;
    DesignerSettings &o = s.options;
    platform::TRegistry reg;
    if (reg.OpenKey(designerSettingsKey(), false)) {
        o.GridSize = readInt(reg, "GridSize", 4);
        if (o.GridSize <= 0)
            o.GridSize = 4;
        o.GridAlign = readBool(reg, "GridAlign", true);
        o.GridShow = readBool(reg, "GridShow", true);
        o.Units = readInt(reg, "Units", 0);
        if (o.Units < 0 || o.Units > 2)
            o.Units = 0;
        o.GrayButtons = readBool(reg, "GrayButtons", false);
        o.EditAfterInsert = readBool(reg, "EditAfterInsert", true);
        o.Selection = readInt(reg, "Selection", 1) == 1 ? 1 : 0;
        o.PagePosition = readInt(reg, "PagePosition", 5);
        if (o.PagePosition < 3 || o.PagePosition > 5)
            o.PagePosition = 5;
        s.BandTitles = readBool(reg, "BandTitles", true);
        s.LocalizedPropNames = readBool(reg, "LocalizedPropNames", false);
        o.UnlimitedHeight = readBool(reg, "UnlimitedHeight", false);
        reg.CloseKey();
    }
    if (reg.OpenKey(inspectorSettingsKey(), false)) {
        s.SplitPos = std::max(20, readInt(reg, "SplitPos", 75));
        s.InspectorVisible = readBool(reg, "isVisible", true);
        reg.CloseKey();
    }
    if (reg.OpenKey(dbFieldsSettingsKey(), false)) {
        s.DBFieldsVisible = readBool(reg, "isVisible", true);
        reg.CloseKey();
    }
    return s;
}

void frWriteDesignerSettings(const StoredDesignerSettings &s, bool inspector, bool dbFields)
{
    const DesignerSettings &o = s.options;
    platform::TRegistry reg;
    if (reg.OpenKey(designerSettingsKey(), true)) {
        reg.WriteBool(QStringLiteral("GridShow"), o.GridShow);
        reg.WriteBool(QStringLiteral("GridAlign"), o.GridAlign);
        reg.WriteInteger(QStringLiteral("GridSize"), o.GridSize);
        reg.WriteInteger(QStringLiteral("Units"), o.Units);
        reg.WriteBool(QStringLiteral("GrayButtons"), o.GrayButtons);
        reg.WriteBool(QStringLiteral("EditAfterInsert"), o.EditAfterInsert);
        reg.WriteInteger(QStringLiteral("Selection"), o.Selection);
        reg.WriteInteger(QStringLiteral("PagePosition"), o.PagePosition);
        reg.WriteBool(QStringLiteral("BandTitles"), s.BandTitles);
        reg.WriteBool(QStringLiteral("LocalizedPropNames"), s.LocalizedPropNames);
        reg.WriteBool(QStringLiteral("UnlimitedHeight"), o.UnlimitedHeight);
        reg.CloseKey();
    }
    if (inspector && reg.OpenKey(inspectorSettingsKey(), true)) {
        reg.WriteBool(QStringLiteral("isVisible"), s.InspectorVisible);
        reg.WriteInteger(QStringLiteral("SplitPos"), s.SplitPos);
        reg.CloseKey();
    }
    if (dbFields && reg.OpenKey(dbFieldsSettingsKey(), true)) {
        reg.WriteBool(QStringLiteral("isVisible"), s.DBFieldsVisible);
        reg.CloseKey();
    }
}

DesignerOptionsChoice frDesignerOptionsOf(const StoredDesignerSettings &s)
{
    const DesignerSettings &o = s.options;
    DesignerOptionsChoice c;
    c.showGrid = o.GridShow;
    c.alignToGrid = o.GridAlign;
    c.gridSize = o.GridSize;
    c.showContents = o.Selection == 1;
    c.units = o.Units;
    c.coloredButtons = !o.GrayButtons;
    c.editAfterInsert = o.EditAfterInsert;
    c.bandTitles = s.BandTitles;
    c.pagePosition = o.PagePosition;
    c.localizedNames = s.LocalizedPropNames;
    return c;
}

StoredDesignerSettings frApplyDesignerOptions(StoredDesignerSettings s,
                                              const DesignerOptionsChoice &c)
{
    DesignerSettings &o = s.options;
    o.GridShow = c.showGrid;
    o.GridAlign = c.alignToGrid;
    o.GridSize = c.gridSize == 4 ? 4 : c.gridSize == 8 ? 8 : 18;
    o.Selection = c.showContents ? 1 : 0;
    o.Units = c.units == 1 || c.units == 2 ? c.units : 0;
    o.GrayButtons = !c.coloredButtons;
    o.EditAfterInsert = c.editAfterInsert;
    s.BandTitles = c.bandTitles;
    o.PagePosition = c.pagePosition == 3 || c.pagePosition == 4 ? c.pagePosition : 5;
    s.LocalizedPropNames = c.localizedNames;
    return s;
}

int frHelpTopic(int tag, bool objectsToolBar)
{
    return objectsToolBar ? 430 + std::min(tag, 5) : 400 + tag;
}

QString frHelpDocument(const QString &helpFile)
{
    QString base = QFileInfo(helpFile).completeBaseName();
    if (base.isEmpty())
        base = QStringLiteral("VRuser");
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + base +
           QStringLiteral(".pdf");
}

std::optional<ToolWindowFrames> frStackToolWindows(const QRect &inspector,
                                                   int inspectorClientHeight, const QRect &dbFields,
                                                   int columnTop, int columnHeight)
{
    if (inspector.isEmpty() || dbFields.isEmpty())
        return std::nullopt;
    const auto within = [&](int x) { return x >= dbFields.left() && x <= dbFields.right(); };
    if (!within(inspector.left()) && !within(inspector.right()))
        return std::nullopt;
    ToolWindowFrames f{inspector, dbFields};
    const int dbHeight = dbFields.height();
    // A column too short for both leaves them where they are.
    const bool rolledUp = inspectorClientHeight < 20;
    const int least =
        rolledUp ? inspector.height() : inspector.height() - inspectorClientHeight + 60;
    if (columnHeight - dbHeight < least)
        return std::nullopt;
    const bool dbBelow = dbFields.top() > inspector.bottom();
    f.dbFields.moveTop(dbBelow ? columnTop + columnHeight - dbHeight : columnTop);
    f.inspector.moveTop(dbBelow ? columnTop : columnTop + dbHeight);
    // A rolled-up inspector keeps its height.
    if (inspectorClientHeight >= 20)
        f.inspector.setHeight(std::max(0, columnHeight - dbHeight));
    return f;
}

QRect frSeparateToolWindows(const QRect &inspector, const QRect &dbFields,
                            const QList<QRect> &areas)
{
    if (inspector.isEmpty() || dbFields.isEmpty() || !inspector.intersects(dbFields))
        return dbFields;
    QRect area = areas.isEmpty() ? QRect() : areas.first();
    for (const QRect &a : areas)
        if (a.contains(inspector.center())) {
            area = a;
            break;
        }
    const auto slide = [](int at, int low, int high) { return std::max(low, std::min(at, high)); };
    // Under, above, left of and right of the inspector; each slides along
    // that side into the area.
    const QRect places[] = {
        dbFields.translated(0, inspector.bottom() + 1 - dbFields.top()),
        dbFields.translated(0, inspector.top() - 1 - dbFields.bottom()),
        dbFields.translated(inspector.left() - 1 - dbFields.right(), 0),
        dbFields.translated(inspector.right() + 1 - dbFields.left(), 0),
    };
    std::optional<QRect> best;
    int bestDistance = 0;
    for (int i = 0; i < 4; ++i) {
        QRect place = places[i];
        if (!area.isEmpty()) {
            if (i < 2)
                place.moveLeft(slide(place.left(), area.left(), area.right() + 1 - place.width()));
            else
                place.moveTop(slide(place.top(), area.top(), area.bottom() + 1 - place.height()));
            if (!area.contains(place))
                continue;
        }
        const int distance =
            std::abs(place.left() - dbFields.left()) + std::abs(place.top() - dbFields.top());
        if (!best || distance < bestDistance) {
            best = place;
            bestDistance = distance;
        }
    }
    return best.value_or(dbFields);
}

} // namespace designer
