#pragma once
// The database classes a record source can walk, as small interfaces of our
// own: a data set with fields and bookmarks, a data source pointing at a data
// set, and an in-memory table. Field types keep the platform's numbers.
#include "report/core/frvariant.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

namespace report
{

class FrStream;

// The platform's field type numbers.
enum TFieldType : int {
    ftUnknown = 0,
    ftString = 1,
    ftSmallint = 2,
    ftInteger = 3,
    ftWord = 4,
    ftBoolean = 5,
    ftFloat = 6,
    ftCurrency = 7,
    ftBCD = 8,
    ftDate = 9,
    ftTime = 10,
    ftDateTime = 11,
    ftBytes = 12,
    ftVarBytes = 13,
    ftAutoInc = 14,
    ftBlob = 15,
    ftMemo = 16,
    ftGraphic = 17,
    ftFmtMemo = 18,
    ftParadoxOle = 19,
    ftDBaseOle = 20,
    ftTypedBinary = 21,
    ftCursor = 22,
    ftFixedChar = 23,
    ftWideString = 24,
    ftLargeint = 25,
};

// An opaque position in a data set.
struct FrBookmark {
    QVariant value;
    bool isNull() const { return !value.isValid(); }
};

class FrDataSet;

class FrField
{
public:
    virtual ~FrField() = default;
    virtual QString fieldName() const = 0;
    virtual TFieldType dataType() const = 0;
    virtual FrDataSet *dataSet() const = 0;
    // The stored value (Null for an empty field).
    virtual FrVariant value() const = 0;
    virtual QString displayText() const = 0;
    virtual bool hasOnGetText() const = 0;
    // The bytes of a blob field.
    virtual QByteArray blob() const = 0;
    // Width in characters shown for the field (0: none given) and its
    // caption, as the data set describes them.
    virtual int displayWidth() const { return 0; }
    virtual QString displayLabel() const { return fieldName(); }
};

class FrDataSet : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    virtual bool active() const = 0;
    virtual void open() = 0;
    virtual void close() = 0;
    virtual void first() = 0;
    virtual void next() = 0;
    virtual void prior() = 0;
    virtual bool eof() const = 0;
    virtual FrBookmark getBookmark() = 0;
    virtual void gotoBookmark(const FrBookmark &bookmark) = 0;
    virtual void freeBookmark(FrBookmark &bookmark) = 0;
    // 0 when both name the same record.
    virtual int compareBookmarks(const FrBookmark &a, const FrBookmark &b) const = 0;
    virtual void getFieldNames(QStringList &names) const = 0;
    // The field of that name (exact match), nullptr when none.
    virtual FrField *findField(const QString &name) const = 0;
};

class FrDataSource : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    FrDataSet *dataSet() const { return m_dataSet; }
    void setDataSet(FrDataSet *dataSet) { m_dataSet = dataSet; }

private:
    QPointer<FrDataSet> m_dataSet;
};

// A table held in memory: columns with a type, rows of values. Used by
// tests and wherever a small data set without a database is enough.
class FrMemoryDataSet : public FrDataSet
{
    Q_OBJECT
public:
    explicit FrMemoryDataSet(QObject *parent = nullptr);
    ~FrMemoryDataSet() override;

    void addField(const QString &name, TFieldType type);
    void appendRow(const std::vector<FrVariant> &values);
    // Gives the field a display-text handler.
    void setOnGetText(const QString &name, std::function<QString(const FrVariant &)> handler);
    void setDisplayWidth(const QString &name, int width);
    void setDisplayLabel(const QString &name, const QString &label);
    int recordCount() const { return int(m_rows.size()); }
    int recNo() const { return m_row; }
    int openCount() const { return m_openCount; }

    bool active() const override { return m_active; }
    void open() override;
    void close() override;
    void first() override;
    void next() override;
    void prior() override;
    bool eof() const override;
    FrBookmark getBookmark() override;
    void gotoBookmark(const FrBookmark &bookmark) override;
    void freeBookmark(FrBookmark &bookmark) override;
    int compareBookmarks(const FrBookmark &a, const FrBookmark &b) const override;
    void getFieldNames(QStringList &names) const override;
    FrField *findField(const QString &name) const override;

    int liveBookmarks() const { return m_liveBookmarks; }

private:
    class Field;
    friend class Field;
    std::vector<std::unique_ptr<Field>> m_fields;
    std::vector<std::vector<FrVariant>> m_rows;
    int m_row = 0;
    bool m_eof = false;
    bool m_active = false;
    int m_openCount = 0;
    int m_liveBookmarks = 0;
};

// Receives a blob field's content (a picture, a text list).
class FrBlobTarget
{
public:
    virtual ~FrBlobTarget() = default;
    virtual void assignFromField(const FrField &field) = 0;
};

bool frIsBlobField(const FrField *field);
// Saves the blob into the stream and rewinds it to 0.
void frCopyBlobTo(const FrField *field, FrStream &stream);
void frCopyBlobTo(const FrField *field, FrBlobTarget &target);
// Any error is swallowed; the list keeps what was filled.
void frGetFieldNames(FrDataSet *dataSet, QStringList &list);
FrBookmark frGetBookmark(FrDataSet *dataSet);
void frGotoBookmark(FrDataSet *dataSet, const FrBookmark &bookmark);
void frFreeBookmark(FrDataSet *dataSet, FrBookmark &bookmark);
bool frBookmarksEqual(FrDataSet *dataSet, const FrBookmark &a, const FrBookmark &b);
// Display text or value by type; Null numbers give 0, Null strings "",
// Null Booleans false. Opens the data set when it is closed.
FrVariant frGetFieldValue(const FrField *field);
// name when the data set has a field of exactly that name, else "".
QString frCheckFieldName(const FrDataSet *dataSet, const QString &name);
// "DataSet.Field", "Form.DataSet.Field", "Form.Frame.DataSet.Field", or a
// field of the given data set; a double-quoted last part may hold dots.
void frGetDataSetAndField(const QString &reference, FrDataSet *&dataSet, QString &field);

} // namespace report
