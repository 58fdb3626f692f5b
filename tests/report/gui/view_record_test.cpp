// View records: the byte layout by version, the frame-width coding, the
// per-class tails, and what damaged records do.
#include "objects_fixture.h"

#include "report/core/frexceptions.h"

#include <QBuffer>

namespace report::test
{
namespace
{

class ViewRecordTest : public ObjectsTest
{
};

std::unique_ptr<TfrView> reread(TfrView &source, int version, bool prepared = false)
{
    const QByteArray bytes = recordOf(source, prepared);
    auto copy = source.Create();
    FrRestore<quint8> v(fr().frTemplateVersion, quint8(version));
    FrMemoryStream in(bytes);
    copy->Prepared = prepared;
    copy->LoadFromStream(in);
    EXPECT_EQ(in.position(), in.size());
    return copy;
}

TEST_F(ViewRecordTest, MemoRecordBytesAreThoseOfTheLayout)
{
    TfrMemoView m;
    m.Name = QStringLiteral("M");
    m.SetBounds(1, 2, 3, 4);
    m.Memo = {QStringLiteral("ab")};
    m.Tag = QStringLiteral("t");
    const QByteArray b = recordOf(m);
    // Name, version bytes 2 and 0, then the 30-byte block.
    EXPECT_EQ(b.left(4).toHex(), QByteArray("01004d00"));
    EXPECT_EQ(b.mid(4, 2).toHex(), QByteArray("0200"));
    EXPECT_EQ(b.mid(6, 16).toHex(), QByteArray("01000000020000000300000004000000"));
    EXPECT_EQ(b.mid(22, 2).toHex(), QByteArray("4300"));     // stretched, word wrap, hide zeros
    EXPECT_EQ(b.mid(26, 4).toHex(), QByteArray("01000000")); // frame width 1.0 written as 1
    expectGoldenBytes(QStringLiteral("memo_record.bin"), b);
}

TEST_F(ViewRecordTest, FrameWidthsSurviveTheCoding)
{
    EXPECT_EQ(frEncodeFrameWidth(1.0f), 1);
    EXPECT_EQ(frEncodeFrameWidth(0.5f), 500);
    EXPECT_EQ(frEncodeFrameWidth(11.0f), 11000);
    EXPECT_EQ(frEncodeFrameWidth(12.0f), 12000);
    EXPECT_EQ(frEncodeFrameWidth(0.005f), 11); // draws as nothing either way
    for (float w : {1.0f, 0.5f, 11.0f, 12.0f, 2.25f, 3.0f}) {
        TfrLineView line;
        line.FrameWidth = w;
        EXPECT_FLOAT_EQ(reread(line, 24)->FrameWidth, w) << w;
    }
    // Old files keep their meaning: small values are whole pixels.
    EXPECT_FLOAT_EQ(frDecodeFrameWidth(3), 3.0f);
    EXPECT_FLOAT_EQ(frDecodeFrameWidth(1500), 1.5f);
}

TEST_F(ViewRecordTest, EveryClassRoundTripsByteForByte)
{
    TfrMemoView memo;
    memo.Name = QStringLiteral("Memo1");
    memo.SetBounds(10, 20, 150, 40);
    memo.Memo = {QStringLiteral("Total : [SUM([X])]"), QString(), QStringLiteral("é")};
    memo.Script = {QStringLiteral("if [A] > 1 then Visible := False")};
    memo.FrameTyp = 15;
    memo.FrameWidth = 1.5f;
    memo.FrameStyle = psDouble;
    memo.FillColor = 0x00FF00;
    memo.Format = 0x01020304;
    memo.FormatStr = QStringLiteral("#,##0.00");
    memo.Restrictions = 9;
    memo.Tag = QStringLiteral("[Page#]");
    memo.GapX = 3;
    memo.GapY = 4;
    memo.BandAlign = baRight;
    memo.Font.Name = QStringLiteral("Times New Roman");
    memo.Font.Size = 12;
    memo.Font.Style = 3;
    memo.Font.Color = 0x0000FF;
    memo.Alignment = frtaJustify | frtaMiddle;
    memo.Highlight = {1, 0x123456, 0x654321};
    memo.HighlightCondition = QStringLiteral("[A] > 0");
    memo.LineSpacing = 5;
    memo.CharSpacing = 1;
    auto copy = reread(memo, 24);
    auto *m = static_cast<TfrMemoView *>(copy.get());
    EXPECT_EQ(std::tuple(m->Memo, m->Script), std::tuple(memo.Memo, memo.Script));
    EXPECT_EQ(m->Font.Name, memo.Font.Name);
    EXPECT_EQ(std::tuple(m->Highlight, m->HighlightCondition, m->LineSpacing, m->BandAlign),
              std::tuple(memo.Highlight, memo.HighlightCondition, 5, baRight));
    EXPECT_EQ(recordOf(*m), recordOf(memo));

    TfrBandView band;
    band.Name = QStringLiteral("Band1");
    band.SetBandType(btGroupHeader);
    band.FormatStr = QStringLiteral("[Club]");
    band.ChildBand = QStringLiteral("Child1");
    band.Master = QStringLiteral("MasterData1");
    band.Columns = 3;
    band.ColumnWidth = 150;
    band.ColumnGap = 7;
    band.NewColumnAfter = 2;
    auto b = reread(band, 24);
    EXPECT_EQ(static_cast<TfrBandView *>(b.get())->Master, band.Master);
    EXPECT_EQ(static_cast<TfrBandView *>(b.get())->Columns, 3);
    EXPECT_EQ(recordOf(*b), recordOf(band));

    TfrSubReportView sub;
    sub.Name = QStringLiteral("SubReport1");
    sub.SubPage = 2;
    auto s = reread(sub, 24);
    EXPECT_EQ(static_cast<TfrSubReportView *>(s.get())->SubPage, 2);
    EXPECT_EQ(recordOf(*s), recordOf(sub));

    TfrLineView line;
    line.Name = QStringLiteral("Line1");
    line.FrameStyle = psDashDot;
    EXPECT_EQ(recordOf(*reread(line, 24)), recordOf(line));
}

TEST_F(ViewRecordTest, PreparedRecordsCarryTheWorkingTextOnly)
{
    TfrMemoView memo;
    memo.Name = QStringLiteral("Memo1");
    memo.Memo = {QStringLiteral("[X]")};
    memo.Memo1 = {QStringLiteral("42") + ch(1)};
    memo.Script = {QStringLiteral("A := 1")};
    memo.HighlightCondition = QStringLiteral("[X] > 1");
    auto copy = reread(memo, 24, true);
    auto *m = static_cast<TfrMemoView *>(copy.get());
    EXPECT_EQ(m->Memo, QStringList{QStringLiteral("42") + ch(1)});
    EXPECT_TRUE(m->Script.isEmpty());
    EXPECT_TRUE(m->HighlightCondition.isEmpty());
    EXPECT_LT(recordOf(memo, true).size(), recordOf(memo).size());
}

// Hand-built records of the older versions.
QByteArray oldRecord(int version, bool withName, bool prepared)
{
    FrMemoryStream s;
    if (withName)
        frWriteString(s, QStringLiteral("Ancien"));
    for (qint32 v : {5, 6, 70, 30})
        frWriteInteger(s, v);
    frWriteWord(s, 1);    // flags: stretched only
    frWriteWord(s, 0);    // frame edges
    frWriteInteger(s, 2); // frame width: 2 pixels
    frWriteInteger(s, 0);
    frWriteWord(s, 0);
    frWriteInteger(s, 0x1FFFFFFF);
    if (!prepared) {
        frWriteInteger(s, 0);
        if (version >= 23)
            frWriteString(s, QString());
        else
            s.write(QByteArray(1, '\0')); // terminated string
    }
    if (version >= 23)
        frWriteMemo(s, {QStringLiteral("ligne")});
    else
        s.write(QByteArray("ligne\0", 6));
    if (version == 23 && !prepared) {
        frWriteMemo(s, {});
        frWriteWord(s, 0xFFFF);
    }
    // memo tail
    if (version >= 23)
        frWriteString(s, QStringLiteral("Arial"));
    else
        s.write(QByteArray("Arial\0", 6));
    frWriteInteger(s, 9);
    frWriteWord(s, 0);
    frWriteInteger(s, 0);
    frWriteInteger(s, 0);
    frWriteWord(s, 0); // charset as stored
    if (!prepared) {
        frWriteWord(s, 2);
        frWriteInteger(s, 0);
        frWriteInteger(s, 0xFFFFFF);
        if (version >= 23)
            frWriteString(s, QString());
        else
            s.write(QByteArray(1, '\0'));
    }
    return s.data();
}

TEST_F(ViewRecordTest, OlderVersionsReadByTheirRules)
{
    ListReport report;
    ListPage &page = report.addPage();
    page.add<TfrMemoView>(QStringLiteral("Memo1"));
    frObjects().frCurrentReport = &report;
    fr().frCharset = 204;
    for (int version : {21, 22, 23}) {
        TfrMemoView m;
        FrRestore<quint8> v(fr().frTemplateVersion, quint8(version));
        FrMemoryStream in(oldRecord(version, version == 23, false));
        m.LoadFromStream(in);
        EXPECT_EQ(in.position(), in.size()) << version;
        EXPECT_EQ(m.Name, version == 23 ? QStringLiteral("Ancien") : QStringLiteral("Memo2"))
            << version;
        EXPECT_EQ(std::tuple(m.x, m.dy), std::tuple(5, 30));
        EXPECT_FLOAT_EQ(m.FrameWidth, 2.0f);
        EXPECT_EQ(m.Memo, QStringList{QStringLiteral("ligne")});
        EXPECT_EQ(std::tuple(m.StreamMajor, m.BandAlign), std::tuple(0, baNone));
        EXPECT_EQ(m.Font.Charset, version < 23 ? 204 : 0) << version;
        EXPECT_EQ(bool(m.Flags & flWordWrap), version == 21) << version;
        EXPECT_EQ(m.LineSpacing, 2); // construction values stay below 24
        EXPECT_EQ(m.CharSpacing, 0);
    }
    // A prepared record of version 23 has no name either.
    TfrMemoView p;
    p.Prepared = true;
    FrRestore<quint8> v(fr().frTemplateVersion, quint8(23));
    FrMemoryStream in(oldRecord(23, false, true));
    p.LoadFromStream(in);
    EXPECT_EQ(in.position(), in.size());
    EXPECT_EQ(p.Name, QStringLiteral("Memo2"));
}

TEST_F(ViewRecordTest, BandMasterIsReadOnlyFromRecordsThatCarryIt)
{
    TfrBandView band;
    band.Name = QStringLiteral("Band1");
    band.Master = QStringLiteral("MasterData1");
    QByteArray bytes = recordOf(band);
    EXPECT_EQ(bytes.at(9), 1); // second version byte set by saving
    // An older writer's record: second byte 0 and no Master at the end.
    bytes[9] = 0;
    bytes.chop(2 + 11 + 1);
    TfrBandView old;
    FrMemoryStream in(bytes);
    old.LoadFromStream(in);
    EXPECT_EQ(in.position(), in.size());
    EXPECT_TRUE(old.Master.isEmpty());
}

TEST_F(ViewRecordTest, BandTypeKeepsSevenBitsAndReadsAtMost22)
{
    TfrBandView band;
    band.SetBandType(150);
    EXPECT_EQ(band.FrameTyp, 22);
    EXPECT_EQ(band.GetBandType(), btNone);
    band.SetBandType(100);
    EXPECT_EQ(band.FrameTyp, 100);
    EXPECT_EQ(band.GetBandType(), btNone);
    // The stored word goes back as read.
    band.FrameTyp = 0x0163;
    EXPECT_EQ(reread(band, 24)->FrameTyp, 0x0163);
}

QByteArray bmpBytes(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.setPixel(0, 0, qRgb(0, 0, 255));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

TEST_F(ViewRecordTest, PictureRecordsEndAtTheirOffset)
{
    TfrPictureView pic;
    pic.Name = QStringLiteral("Picture1");
    const QByteArray bmp = bmpBytes(5, 3);
    ASSERT_TRUE(pic.Picture.loadData(bmp));
    const QByteArray rec = recordOf(pic);
    ASSERT_TRUE(rec.contains(bmp)); // the bitmap goes back byte for byte
    auto copy = reread(pic, 24);
    auto *p = static_cast<TfrPictureView *>(copy.get());
    EXPECT_EQ(p->Picture.kind(), FrPicture::Bitmap);
    EXPECT_EQ(p->Picture.bytes(), bmp);
    EXPECT_EQ(p->Picture.size(), QSize(5, 3));

    // Kind 0 still carries the offset; the stream ends after the record.
    TfrPictureView empty;
    auto e = reread(empty, 24);
    EXPECT_TRUE(static_cast<TfrPictureView *>(e.get())->Picture.isEmpty());
    // An empty picture whose offset lies past its kind byte is read up to
    // that offset, not from the bytes in between.
    {
        QByteArray padded = recordOf(empty) + QByteArray(5, '\x42');
        const qint32 paddedEnd = qint32(padded.size());
        memcpy(padded.data() + padded.size() - 5 - 4, &paddedEnd, 4);
        TfrPictureView k;
        FrMemoryStream in(padded);
        k.LoadFromStream(in);
        EXPECT_EQ(in.position(), padded.size());
        EXPECT_TRUE(k.Picture.isEmpty());
    }

    // Bytes the graphic does not read are skipped to the offset.
    const int tail = int(rec.size());
    QByteArray extended = rec + QByteArray(7, 'x');
    const int offsetPos = tail - bmp.size() - 4;
    qint32 end = tail + 7;
    memcpy(extended.data() + offsetPos, &end, 4);
    TfrPictureView q;
    FrMemoryStream in(extended);
    q.LoadFromStream(in);
    EXPECT_EQ(in.position(), tail + 7);
    EXPECT_EQ(q.Picture.size(), QSize(5, 3));

    // Offsets before the data or past the stream are refused.
    for (qint32 bad : {qint32(offsetPos), qint32(tail + 100), qint32(-1)}) {
        QByteArray broken = rec;
        memcpy(broken.data() + offsetPos, &bad, 4);
        TfrPictureView r;
        FrMemoryStream s(broken);
        EXPECT_THROW(r.LoadFromStream(s), EFrStreamError) << bad;
    }
}

TEST_F(ViewRecordTest, RasterImagesOtherThanBitmapsAreKeptAsBitmaps)
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::green);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    FrPicture picture;
    ASSERT_TRUE(picture.loadData(png));
    EXPECT_EQ(picture.kind(), FrPicture::Bitmap);
    EXPECT_TRUE(picture.bytes().startsWith("BM"));
    EXPECT_EQ(picture.image().pixel(1, 1), qRgb(0, 255, 0));
    // Metafile bytes are kept as they are.
    QByteArray wmf = QByteArray::fromHex("d7cdc69a0000000000006400320060000000000000");
    wmf.append(QByteArray(30, '\1'));
    ASSERT_TRUE(picture.loadData(wmf));
    EXPECT_EQ(picture.kind(), FrPicture::Metafile);
    EXPECT_EQ(picture.bytes(), wmf);
    EXPECT_EQ(picture.size(), QSize(100, 50));
    EXPECT_FALSE(picture.loadData(QByteArray("not a picture")));
}

TEST_F(ViewRecordTest, TruncatedRecordsFailInsteadOfReadingPastTheEnd)
{
    TfrMemoView memo;
    memo.Name = QStringLiteral("Memo1");
    memo.Memo = {QStringLiteral("abc"), QStringLiteral("def")};
    const QByteArray rec = recordOf(memo);
    for (int cut = 0; cut < rec.size(); ++cut) {
        TfrMemoView m;
        FrMemoryStream in(rec.left(cut));
        EXPECT_THROW(m.LoadFromStream(in), EFrStreamError) << cut;
    }
}

TEST_F(ViewRecordTest, AssignCopiesThroughATemplateRecordAndKeepsTheVersion)
{
    TfrMemoView source;
    source.Name = QStringLiteral("Source");
    source.Selected = true;
    source.Memo = {QStringLiteral("x")};
    source.Prepared = true;
    source.Font.Size = 14;
    TfrMemoView dest;
    fr().frTemplateVersion = 22;
    dest.Assign(source);
    EXPECT_EQ(fr().frTemplateVersion, 22);
    EXPECT_TRUE(source.Prepared);
    EXPECT_FALSE(dest.Prepared);
    EXPECT_EQ(dest.Name, QStringLiteral("Source"));
    EXPECT_TRUE(dest.Selected);
    EXPECT_EQ(dest.Font.Size, 14);
    EXPECT_EQ(dest.Memo, source.Memo);
}

// The fuzz seeds of single view records: one per class, version and form.
// VORN_UPDATE_GOLDEN=1 writes them; otherwise each must read to its end.
TEST_F(ViewRecordTest, FuzzSeedsReadWhole)
{
    const QString dir = QStringLiteral(VORN_TEST_DATA "/../../fuzz/corpus/report_view_record/");
    const bool update = qEnvironmentVariableIsSet("VORN_UPDATE_GOLDEN");
    int checked = 0;
    for (int cls = 0; cls < 5; ++cls)
        for (int version : {21, 22, 23, 24})
            for (int form = 0; form < 2; ++form) {
                const QString name =
                    QStringLiteral("%1_v%2_%3").arg(cls).arg(version).arg(form ? "prep" : "tmpl");
                if (update) {
                    // Records of older versions are those a v24 writer would
                    // not make; they come from the hand-built memo layout.
                    QByteArray body;
                    if (version == 24) {
                        auto v = frCreateObject(cls, QString());
                        v->Name = QStringLiteral("Obj");
                        v->SetBounds(5, 6, 120, 40);
                        v->Memo = {QStringLiteral("[Champ] et texte"), QStringLiteral("deux")};
                        v->FrameTyp = cls == otBand ? btMasterData : 15;
                        if (auto *m = dynamic_cast<TfrMemoView *>(v.get()))
                            m->Alignment = frtaJustify;
                        if (auto *p = dynamic_cast<TfrPictureView *>(v.get())) {
                            QImage image(3, 2, QImage::Format_RGB32);
                            image.fill(Qt::red);
                            p->Picture.setImage(image);
                        }
                        body = recordOf(*v, form == 1);
                    } else if (cls == otMemo) {
                        body = oldRecord(version, version == 23 && form == 0, form == 1);
                    } else {
                        continue;
                    }
                    QFile f(dir + name);
                    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                    f.write(QByteArray(1, char(cls)) + QByteArray(1, char(version - 21)) +
                            QByteArray(1, char(form | 2)) + body);
                    continue;
                }
                QFile f(dir + name);
                if (!f.open(QIODevice::ReadOnly))
                    continue;
                const QByteArray bytes = f.readAll();
                auto v = frCreateObject(bytes.at(0), QString());
                FrRestore<quint8> ver(fr().frTemplateVersion, quint8(21 + bytes.at(1)));
                v->Prepared = bytes.at(2) & 1;
                FrMemoryStream in(bytes.mid(3));
                v->LoadFromStream(in);
                EXPECT_EQ(in.position(), in.size()) << name.toStdString();
                ++checked;
            }
    if (!update) {
        EXPECT_GE(checked, 16);
    }
}

} // namespace
} // namespace report::test
