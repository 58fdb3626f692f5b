#pragma once
// Shared set-up of the report object tests: a reset library with the
// program's texts, a fixed-advance measurer (7 px a character, 4 a blank), a
// page and a report made of plain lists, a counting designer, and golden
// files under tests/data/report.
#include "platform/canvas/recordingcanvas.h"
#include "report/core/frlibrary.h"
#include "report/core/frstream.h"
#include "report/objects/frbandview.h"
#include "report/objects/frglobals.h"
#include "report/objects/frlineview.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpictureview.h"
#include "report/objects/frsubreportview.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace report::test
{

class ListPage : public FrPageLink
{
public:
    int PageWidth() const override { return 758; }
    int PageHeight() const override { return 1071; }
    int LeftMarginPos() const override { return 18; }
    int RightMarginPos() const override { return 740; }
    int ObjectCount() const override { return int(objects.size()); }
    TfrView *Object(int index) const override
    {
        return index >= 0 && index < ObjectCount() ? objects[size_t(index)].get() : nullptr;
    }
    template <typename T>
    T *add(const QString &name, int x = 0, int y = 0, int dx = 100, int dy = 20)
    {
        auto v = std::make_unique<T>();
        v->Name = name;
        v->SetBounds(x, y, dx, dy);
        T *raw = v.get();
        objects.push_back(std::move(v));
        return raw;
    }
    void SetPropertyValue(const QString &name, const FrVariant &value) override
    {
        props[name.toUpper()] = value;
    }
    FrVariant GetPropertyValue(const QString &name) override
    {
        return props.value(name.toUpper(), FrVariant::null());
    }
    void DefinePropertyList() override { AddProperty(QStringLiteral("Visible"), 8); }

    std::vector<std::unique_ptr<TfrView>> objects;
    QMap<QString, FrVariant> props;
};

class ListReport : public FrReportLink
{
public:
    QString ReportName() const override { return QStringLiteral("frReport1"); }
    int PageCount() const override { return int(pages.size()); }
    FrPageLink *Page(int index) const override
    {
        return index >= 0 && index < PageCount() ? pages[size_t(index)].get() : nullptr;
    }
    bool HasOnBeforePrint() const override { return bool(onBeforePrint); }
    void BeforePrintObject(QStringList &memo, TfrView *view) override
    {
        FrReportLink::BeforePrintObject(memo, view);
        if (onBeforePrint)
            onBeforePrint(memo, view);
    }
    void Terminate() override { terminated = true; }
    ListPage &addPage()
    {
        pages.push_back(std::make_unique<ListPage>());
        return *pages.back();
    }

    std::vector<std::unique_ptr<ListPage>> pages;
    std::function<void(QStringList &, TfrView *)> onBeforePrint;
    bool terminated = false;
};

class ObjectsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fr().resetForTests();
        fr().start();
        frObjects().setMeasurer(&measurer);
    }
    void TearDown() override { fr().resetForTests(); }

    // Fields are looked up in a map; unknown names give "?name".
    void useFieldMap()
    {
        frObjects().memoFieldValue = [this](const QString &expr, TfrView *) {
            return fields.contains(expr) ? fields.value(expr) : QStringLiteral("?") + expr;
        };
    }

    platform::FixedAdvanceMeasurer measurer{7, 4};
    QMap<QString, QString> fields;
};

inline QString dataPath(const QString &name)
{
    return QStringLiteral(VORN_TEST_DATA "/report/") + name;
}

// Compares text with a golden file; VORN_UPDATE_GOLDEN=1 writes it instead.
inline void expectGolden(const QString &name, const QString &text)
{
    const QString path = dataPath(name);
    if (qEnvironmentVariableIsSet("VORN_UPDATE_GOLDEN")) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
        return;
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    EXPECT_EQ(QString::fromUtf8(f.readAll()).toStdString(), text.toStdString())
        << name.toStdString();
}

inline void expectGoldenBytes(const QString &name, const QByteArray &bytes)
{
    const QString path = dataPath(name);
    if (qEnvironmentVariableIsSet("VORN_UPDATE_GOLDEN")) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return;
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    EXPECT_EQ(f.readAll().toHex().toStdString(), bytes.toHex().toStdString()) << name.toStdString();
}

inline QString ch(int code)
{
    return QString(QChar(char16_t(code)));
}

// Writes a view's template record and reads it back into a new object of the
// same class at a given format version.
inline QByteArray recordOf(TfrView &view, bool prepared = false)
{
    FrMemoryStream s;
    view.Prepared = prepared;
    view.SaveToStream(s);
    view.Prepared = false;
    return s.data();
}

} // namespace report::test
