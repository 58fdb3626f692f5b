#include "report/data/frdb.h"

#include "platform/text/codec.h"
#include "report/core/frcomponents.h"
#include "report/core/frlibrary.h"
#include "report/core/frstream.h"
#include "report/core/frutils.h"

#include <optional>

namespace report
{

class FrMemoryDataSet::Field : public FrField
{
public:
    Field(FrMemoryDataSet *owner, int column, QString name, TFieldType type)
        : m_owner(owner), m_column(column), m_name(std::move(name)), m_type(type)
    {
    }
    QString fieldName() const override { return m_name; }
    TFieldType dataType() const override { return m_type; }
    FrDataSet *dataSet() const override { return m_owner; }
    FrVariant value() const override
    {
        const auto &rows = m_owner->m_rows;
        int row = m_owner->m_row;
        if (!m_owner->m_active || row < 0 || row >= int(rows.size()))
            return FrVariant::null();
        const auto &values = rows[size_t(row)];
        return size_t(m_column) < values.size() ? values[size_t(m_column)] : FrVariant::null();
    }
    QString displayText() const override
    {
        FrVariant v = value();
        return m_onGetText ? m_onGetText(v) : v.toString();
    }
    bool hasOnGetText() const override { return bool(m_onGetText); }
    int displayWidth() const override { return m_displayWidth; }
    QString displayLabel() const override { return m_label ? *m_label : m_name; }
    // Text held for a blob stands for its Windows-1252 bytes.
    QByteArray blob() const override { return platform::toAnsi(value().toString()); }

    std::function<QString(const FrVariant &)> m_onGetText;
    int m_displayWidth = 0;
    std::optional<QString> m_label;

private:
    FrMemoryDataSet *m_owner;
    int m_column;
    QString m_name;
    TFieldType m_type;
};

FrMemoryDataSet::FrMemoryDataSet(QObject *parent) : FrDataSet(parent) {}
FrMemoryDataSet::~FrMemoryDataSet() = default;

void FrMemoryDataSet::addField(const QString &name, TFieldType type)
{
    m_fields.push_back(std::make_unique<Field>(this, int(m_fields.size()), name, type));
}

void FrMemoryDataSet::appendRow(const std::vector<FrVariant> &values)
{
    m_rows.push_back(values);
}

void FrMemoryDataSet::setOnGetText(const QString &name,
                                   std::function<QString(const FrVariant &)> handler)
{
    for (auto &f : m_fields)
        if (f->fieldName() == name)
            f->m_onGetText = std::move(handler);
}

void FrMemoryDataSet::setDisplayWidth(const QString &name, int width)
{
    for (auto &f : m_fields)
        if (f->fieldName() == name)
            f->m_displayWidth = width;
}

void FrMemoryDataSet::setDisplayLabel(const QString &name, const QString &label)
{
    for (auto &f : m_fields)
        if (f->fieldName() == name)
            f->m_label = label;
}

void FrMemoryDataSet::open()
{
    if (m_active)
        return;
    m_active = true;
    ++m_openCount;
    first();
}

void FrMemoryDataSet::close()
{
    m_active = false;
}

void FrMemoryDataSet::first()
{
    m_row = 0;
    m_eof = m_rows.empty();
}

void FrMemoryDataSet::next()
{
    if (m_row + 1 < int(m_rows.size()))
        ++m_row;
    else
        m_eof = true;
}

void FrMemoryDataSet::prior()
{
    if (m_row > 0)
        --m_row;
    m_eof = false;
}

bool FrMemoryDataSet::eof() const
{
    return !m_active || m_eof;
}

FrBookmark FrMemoryDataSet::getBookmark()
{
    ++m_liveBookmarks;
    return FrBookmark{QVariant(m_row)};
}

void FrMemoryDataSet::gotoBookmark(const FrBookmark &bookmark)
{
    if (bookmark.isNull())
        return;
    m_row = qBound(0, bookmark.value.toInt(), qMax(0, int(m_rows.size()) - 1));
    m_eof = m_rows.empty();
}

void FrMemoryDataSet::freeBookmark(FrBookmark &bookmark)
{
    if (!bookmark.isNull())
        --m_liveBookmarks;
    bookmark = FrBookmark();
}

int FrMemoryDataSet::compareBookmarks(const FrBookmark &a, const FrBookmark &b) const
{
    int x = a.value.toInt(), y = b.value.toInt();
    return x < y ? -1 : (x > y ? 1 : 0);
}

void FrMemoryDataSet::getFieldNames(QStringList &names) const
{
    for (const auto &f : m_fields)
        names.append(f->fieldName());
}

FrField *FrMemoryDataSet::findField(const QString &name) const
{
    for (const auto &f : m_fields)
        if (f->fieldName() == name)
            return f.get();
    return nullptr;
}

bool frIsBlobField(const FrField *field)
{
    return field && field->dataType() >= ftBlob && field->dataType() <= ftTypedBinary;
}

void frCopyBlobTo(const FrField *field, FrStream &stream)
{
    if (!field)
        return;
    stream.write(field->blob());
    stream.seek(0);
}

void frCopyBlobTo(const FrField *field, FrBlobTarget &target)
{
    if (field)
        target.assignFromField(*field);
}

void frGetFieldNames(FrDataSet *dataSet, QStringList &list)
{
    if (!dataSet)
        return;
    try {
        dataSet->getFieldNames(list);
    } catch (...) {
        // A data set that cannot list its fields simply offers none.
    }
}

FrBookmark frGetBookmark(FrDataSet *dataSet)
{
    return dataSet->getBookmark();
}

void frGotoBookmark(FrDataSet *dataSet, const FrBookmark &bookmark)
{
    dataSet->gotoBookmark(bookmark);
}

void frFreeBookmark(FrDataSet *dataSet, FrBookmark &bookmark)
{
    dataSet->freeBookmark(bookmark);
}

bool frBookmarksEqual(FrDataSet *dataSet, const FrBookmark &a, const FrBookmark &b)
{
    return dataSet->compareBookmarks(a, b) == 0;
}

FrVariant frGetFieldValue(const FrField *field)
{
    if (!field)
        return FrVariant::null();
    FrDataSet *ds = field->dataSet();
    if (ds && !ds->active())
        ds->open();
    FrVariant value;
    if (field->hasOnGetText() || field->dataType() == ftLargeint) {
        value = FrVariant(field->displayText());
    } else if (field->dataType() == ftDate || field->dataType() == ftDateTime) {
        FrVariant raw = field->value();
        value = raw.isNull() ? raw : FrVariant::fromDate(raw.toDouble());
    } else {
        value = field->value();
    }
    if (value.isNull()) {
        switch (field->dataType()) {
        case ftSmallint:
        case ftInteger:
        case ftWord:
        case ftFloat:
        case ftCurrency:
            return FrVariant(0);
        case ftString:
            return FrVariant(QString());
        case ftBoolean:
            return FrVariant(false);
        default:
            break;
        }
    }
    return value;
}

QString frCheckFieldName(const FrDataSet *dataSet, const QString &name)
{
    if (!dataSet)
        return QString();
    QStringList names;
    try {
        dataSet->getFieldNames(names);
    } catch (...) {
        return QString();
    }
    return names.contains(name) ? name : QString();
}

void frGetDataSetAndField(const QString &reference, FrDataSet *&dataSet, QString &field)
{
    field.clear();
    // One pass: cut at each dot until a double quote, which starts the last
    // part. A fourth cut names nothing, so the scan stops there: a long run
    // of dots costs its length once, not once per dot.
    constexpr int kMaxCuts = 3;
    QStringList parts;
    const qsizetype n = reference.size();
    qsizetype from = 0, i = 0;
    for (; i < n; ++i) {
        const QChar c = reference.at(i);
        if (c == QLatin1Char('"'))
            break;
        if (c != QLatin1Char('.'))
            continue;
        if (parts.size() == kMaxCuts)
            break;
        parts.append(reference.mid(from, i - from));
        from = i + 1;
    }
    frCountRead(i + 1);
    if (i < n && parts.size() == kMaxCuts && reference.at(i) == QLatin1Char('.')) {
        dataSet = nullptr;
        return;
    }
    parts.append(reference.mid(from));
    const int cuts = int(parts.size()) - 1;
    auto asDataSet = [](QObject *o) { return qobject_cast<FrDataSet *>(o); };
    switch (cuts) {
    case 0:
        if (dataSet)
            field = frCheckFieldName(dataSet, frRemoveQuotes(reference));
        return;
    case 1:
        dataSet = asDataSet(frFindReportComponent(parts[0]));
        field = frCheckFieldName(dataSet, frRemoveQuotes(parts[1]));
        return;
    case 2: {
        QObject *form = frFindGlobalComponent(parts[0]);
        dataSet = form ? asDataSet(frOwnedComponent(form, parts[1])) : nullptr;
        field = frCheckFieldName(dataSet, frRemoveQuotes(parts[2]));
        return;
    }
    case 3: {
        QObject *form = frFindGlobalComponent(parts[0]);
        QObject *frame = form ? frOwnedComponent(form, parts[1]) : nullptr;
        dataSet = frame ? asDataSet(frOwnedComponent(frame, parts[2])) : nullptr;
        field = frCheckFieldName(dataSet, frRemoveQuotes(parts[3]));
        return;
    }
    default:
        dataSet = nullptr;
        return;
    }
}

} // namespace report
