#pragma once
// Shared set-up of the preparation tests: a started library with the
// fixed-advance measurer (7 px a character, 4 a blank), the virtual printer
// (A4 758 x 1071 px, offsets 18, printable 722 x 1035), a clock standing at
// 16/03/2024 14:30:00, scripted dialogs; a report built in code, kept as a
// template fixture beside the golden dump of its prepared pages.
#include "objects_fixture.h"
#include "tests/support/gui/fakes.h"

#include "platform/text/convert.h"
#include "report/core/frstream.h"
#include "report/data/frdataset.h"
#include "report/expr/frparser.h"
#include "report/expr/frvariables.h"
#include "report/io/fremfpages.h"
#include "report/objects/frband.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frseams.h"

#include <optional>

namespace report::test
{

class BuildTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fr().resetForTests();
        fr().start();
        frObjects().setMeasurer(&measurer);
        fakes.emplace();
        fakes->clock.current =
            platform::EncodeDate(2024, 3, 16) + platform::EncodeTime(14, 30, 0, 0);
        report = std::make_unique<TfrReport>(&owner);
        report->ShowProgress = false;
        page = report->Pages().Add();
        page->Name = QStringLiteral("Page1");
    }
    void TearDown() override
    {
        report.reset();
        fr().resetForTests();
        fakes.reset();
    }

    TfrBandView *band(int type, int y, int dy, const QString &name, quint16 flags = 0,
                      const QString &source = QString(), TfrPage *on = nullptr)
    {
        auto v = std::make_unique<TfrBandView>();
        v->Name = name;
        v->SetBandType(type);
        v->SetBounds(0, y, 700, dy);
        v->Flags = flags;
        v->FormatStr = source;
        return static_cast<TfrBandView *>((on ? on : page)->Add(std::move(v)));
    }
    TfrMemoView *memo(const QString &name, int x, int y, int dx, int dy, const QString &text,
                      TfrPage *on = nullptr)
    {
        auto v = std::make_unique<TfrMemoView>();
        v->Name = name;
        v->SetBounds(x, y, dx, dy);
        v->Flags = flWordWrap;
        v->Memo = text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
        return static_cast<TfrMemoView *>((on ? on : page)->Add(std::move(v)));
    }
    // A band with one memo filling it.
    TfrBandView *bandWithMemo(int type, int y, int dy, const QString &name, const QString &text,
                              quint16 flags = 0, const QString &source = QString())
    {
        TfrBandView *b = band(type, y, dy, name, flags, source);
        memo(name + QStringLiteral("Memo"), 20, y, 300, dy, text);
        return b;
    }

    QByteArray templateBytes()
    {
        FrMemoryStream s;
        report->SaveToStream(s);
        return s.data();
    }
    // The template kept as a fixture, loaded back, prepared and dumped.
    QString prepareFixture(const QString &name, bool expectPrepared = true)
    {
        const QByteArray bytes = templateBytes();
        expectGoldenBytes(name + QStringLiteral(".frf"), bytes);
        FrMemoryStream s(bytes);
        report->LoadFromStream(s);
        EXPECT_EQ(report->PrepareReport(), expectPrepared) << name.toStdString();
        return report->EMFPages().Dump();
    }

    // Counts the objects of each prepared page whose name starts with prefix.
    std::vector<int> countsPerPage(const QString &prefix)
    {
        std::vector<int> counts(size_t(report->EMFPages().Count()));
        for (const QString &o : placed())
            if (o.section(QLatin1Char(':'), 1).startsWith(prefix))
                ++counts[size_t(o.section(QLatin1Char(':'), 0, 0).toInt() - 1)];
        return counts;
    }
    // Every prepared object as "page:name@x,y text" (paragraph marks left out).
    QStringList placed() { return placedIn(*report); }
    // Each placement named is among objects.
    static void expectPlaced(const QStringList &objects, std::initializer_list<const char *> wanted)
    {
        for (const char *o : wanted)
            EXPECT_TRUE(objects.contains(QString::fromUtf8(o))) << o;
    }
    static QStringList placedIn(TfrReport &r)
    {
        QStringList out;
        TfrEMFPages &pages = r.EMFPages();
        for (int i = 0; i < pages.Count(); ++i) {
            pages.BuildPageObjects(i);
            for (const auto &v : pages.Entry(i)->Page->Objects)
                out.append(QStringLiteral("%1:%2@%3,%4 %5")
                               .arg(i + 1)
                               .arg(v->Name)
                               .arg(v->x)
                               .arg(v->y)
                               .arg(v->Memo.join(QLatin1Char('|')).remove(QChar(1))));
            pages.Entry(i)->Page.reset();
        }
        return out;
    }

    platform::FixedAdvanceMeasurer measurer{7, 4};
    std::optional<vorn_test::SeamFakes> fakes;
    // Holds the report and the record sources its bands name.
    QObject owner;
    std::unique_ptr<TfrReport> report;
    TfrPage *page = nullptr;
};

// A record source answering its records from a list of rows.
class RowsDataset : public TfrUserDataset
{
public:
    explicit RowsDataset(int count) { setCount(count); }
    void setCount(int count)
    {
        RangeEnd = reCount;
        RangeEndCount = count;
    }
};

} // namespace report::test
