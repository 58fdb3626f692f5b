#pragma once
// A report template built in code with every kind of object, option and
// dictionary entry, shared by the template, component and prepared-page tests.
#include "report/core/frstream.h"
#include "report/data/frdictionary.h"
#include "report/objects/frbandview.h"
#include "report/objects/frlineview.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frpictureview.h"
#include "report/objects/frreport.h"
#include "report/objects/frsubreportview.h"

#include <QBuffer>
#include <QImage>

namespace report::test
{

// A report's template stream, and a report loaded from one.
inline QByteArray save(TfrReport &report)
{
    FrMemoryStream stream;
    report.SaveToStream(stream);
    return stream.data();
}

inline void load(TfrReport &report, const QByteArray &bytes)
{
    FrMemoryStream stream(bytes);
    report.LoadFromStream(stream);
}

inline QByteArray bitmapFile(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 40, y * 60, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// A 1 x 1 icon, 32 bits a pixel.
inline QByteArray iconFile()
{
    QByteArray b;
    auto u16 = [&b](int v) {
        b.append(char(v & 0xFF));
        b.append(char((v >> 8) & 0xFF));
    };
    auto u32 = [&](int v) {
        u16(v & 0xFFFF);
        u16((v >> 16) & 0xFFFF);
    };
    u16(0), u16(1), u16(1);
    b.append(char(1)), b.append(char(1)), b.append(char(0)), b.append(char(0));
    u16(1), u16(32), u32(48), u32(22);
    u32(40), u32(1), u32(2), u16(1), u16(32), u32(0), u32(8), u32(0), u32(0), u32(0), u32(0);
    u32(int(0xFF3366CCu)); // the pixel
    u32(0);                // mask row
    return b;
}

template <typename T> T *addView(TfrPage &page, const QString &name, int x, int y, int dx, int dy)
{
    auto view = std::make_unique<T>();
    view->Name = name;
    view->SetBounds(x, y, dx, dy);
    return static_cast<T *>(page.Add(std::move(view)));
}

// Two report pages and a dialog page; every band type with options and
// columns; memos with every flag, highlight, vertical text, spacing,
// script and tag; bitmap, icon and empty pictures; both lines; a
// subreport; a full dictionary. withObjects false leaves the pages empty.
inline void buildTemplate(TfrReport &report, bool withObjects = true)
{
    report.Clear();
    report.KeepPrinter = 0;
    report.TwoPass = 0xFFFF;

    TfrPage *p1 = report.Pages().Add();
    p1->Name = QStringLiteral("Page1");
    p1->LeftMargin = 20;
    p1->TopMargin = 30;
    p1->RightMargin = 25;
    p1->BottomMargin = 35;
    p1->Columns = 2;
    p1->ColumnGap = 12;
    p1->Script = QStringList{QStringLiteral("begin"), QStringLiteral("  Compte := 0;"),
                             QStringLiteral("end")};

    TfrPage *p2 = report.Pages().Add();
    p2->ChangePaper(11, 0, 0, kFrDefaultBin, 1); // A5 landscape
    p2->Name = QStringLiteral("Page2");
    p2->UseMargins = 0;
    p2->PrintToPrevPage = 0xFFFF;

    TfrPage *dialog = report.Pages().Add();
    dialog->PageTypeValue = ptDialog;
    dialog->Name = QStringLiteral("Dialogue");
    dialog->Caption = QStringLiteral("Choix de l'état");
    dialog->BorderStyle = 2;
    dialog->Position = 0;
    dialog->FormLeft = 10;
    dialog->FormTop = 11;
    dialog->FormWidth = 300;
    dialog->FormHeight = 200;
    dialog->Script = QStringList{QStringLiteral("Caption := 'Début';")};

    if (withObjects) {
        for (int type = 0; type <= 22; ++type) {
            auto *band = addView<TfrBandView>(*p1, QStringLiteral("Band%1").arg(type + 1), 0,
                                              type * 40, 700, 30);
            band->SetBandType(type);
            band->Flags = quint16(0x01 | ((type * 0x02) & 0xFE));
            band->FormatStr = type == btGroupHeader  ? QStringLiteral("[Clients.\"Ville\"]")
                              : type == btMasterData ? QStringLiteral("Clients")
                                                     : QString();
            band->Columns = 1 + type % 3;
            band->ColumnWidth = 180 + type;
            band->ColumnGap = 10 + type;
            band->NewColumnAfter = 1 + type % 2;
            if (type == btMasterData)
                band->ChildBand = QStringLiteral("Band22");
            if (type == btDetailData)
                band->Master = QStringLiteral("Band6");
        }
        const quint16 memoFlags[] = {0x01,       flWordWrap, flWordBreak, flAutoWidth,
                                     flTextOnly, flSuppress, flHideZeros, flUnderlines};
        int n = 0;
        for (quint16 flag : memoFlags) {
            ++n;
            auto *memo = addView<TfrMemoView>(*p1, QStringLiteral("Memo%1").arg(n), 10 + n * 5,
                                              40 + n * 20, 150, 18);
            memo->Flags = flag;
            memo->Memo = QStringList{QStringLiteral("Ligne %1 [Total]").arg(n),
                                     QStringLiteral("Été à Brest")};
        }
        auto *rich = addView<TfrMemoView>(*p1, QStringLiteral("Riche"), 30, 400, 200, 60);
        rich->Flags = flWordWrap | flUnderlines;
        rich->FrameTyp = 15;
        rich->FrameWidth = 0.5f;
        rich->FrameColor = 0x0000FF;
        rich->FrameStyle = psDouble;
        rich->FillColor = 0x00FFFF;
        rich->Format = 0x01020100;
        rich->FormatStr = QStringLiteral("#,##0.00");
        rich->Script = QStringList{QStringLiteral("if [Total] > 10 then"),
                                   QStringLiteral("  Memo := 'grand';")};
        rich->Tag = QStringLiteral("[Etiquette]");
        rich->Restrictions = 8 | 32;
        rich->BandAlign = baRight;
        rich->GapX = 3;
        rich->GapY = 2;
        rich->Visible = 0;
        rich->Font.Name = QStringLiteral("Times New Roman");
        rich->Font.Size = 12;
        rich->Font.Style = 3;
        rich->Font.Color = 0x800000;
        rich->Font.Charset = 0;
        rich->Alignment = frtaCenter | frtaMiddle;
        rich->Highlight.FontStyle = 4;
        rich->Highlight.FontColor = 0x0000FF;
        rich->Highlight.FillColor = 0xC0C0C0;
        rich->HighlightCondition = QStringLiteral("[Total] < 0");
        rich->LineSpacing = 5;
        rich->CharSpacing = 1;
        auto *vertical = addView<TfrMemoView>(*p1, QStringLiteral("Vertical"), 600, 400, 20, 120);
        vertical->Alignment = frtaVertical | frtaDown;
        vertical->Memo = QStringList{QStringLiteral("Vertical")};
        auto *wide = addView<TfrMemoView>(*p1, QStringLiteral("Large"), 300, 400, 120, 20);
        wide->FrameWidth = 12.0f;
        wide->FrameTyp = 1;
        auto *whole = addView<TfrMemoView>(*p1, QStringLiteral("Onze"), 300, 430, 120, 20);
        whole->FrameWidth = 11.0f;
        whole->FrameTyp = 2;

        auto *bmp = addView<TfrPictureView>(*p1, QStringLiteral("Photo"), 10, 500, 64, 48);
        bmp->Picture.setStored(FrPicture::Bitmap, bitmapFile(3, 2));
        bmp->Flags = flPictCenter | flPictRatio;
        auto *icon = addView<TfrPictureView>(*p1, QStringLiteral("Icone"), 90, 500, 32, 32);
        icon->Picture.setStored(FrPicture::Icon, iconFile());
        icon->BlobType = btICO;
        addView<TfrPictureView>(*p1, QStringLiteral("Vide"), 130, 500, 32, 32);

        addView<TfrLineView>(*p2, QStringLiteral("Horizontale"), 10, 20, 300, 0);
        auto *vline = addView<TfrLineView>(*p2, QStringLiteral("Verticale"), 10, 20, 0, 200);
        vline->FrameWidth = 2.0f;
        vline->FrameStyle = psDash;
        auto *sub = addView<TfrSubReportView>(*p2, QStringLiteral("SousEtat"), 50, 60, 200, 100);
        sub->SubPage = 0;
        auto *memo2 = addView<TfrMemoView>(*p2, QStringLiteral("Memo9"), 40, 300, 100, 18);
        memo2->Memo = QStringList{QStringLiteral("Page deux")};
    }

    TfrDataDictionary &d = report.Dictionary();
    d.Variables.SetVariable(QStringLiteral(" Résultats"), FrVariant(QString()));
    d.Variables.SetVariable(QStringLiteral("Total"), FrVariant("[Points] * 2"));
    d.Variables.SetVariable(QStringLiteral("Ville"), FrVariant("Clients.\"Ville\""));
    d.FieldAliases.SetVariable(QStringLiteral("Clients"), FrVariant("Membres"));
    d.FieldAliases.SetVariable(QStringLiteral("Clients.Ville"), FrVariant("Commune"));
    d.BandDataSources.SetVariable(QStringLiteral("Source1"), FrVariant("Principale"));
}

// The built template's bytes and the offsets between its object records:
// the first is where the objects start, the last where the dictionary
// record starts (dictionaryStart, found from the template without objects).
struct TemplateRecords {
    QByteArray bytes;
    QList<qint64> boundaries;
    qint64 dictionaryStart = 0;
};

inline TemplateRecords builtTemplateRecords()
{
    TemplateRecords out;
    TfrReport full;
    buildTemplate(full);
    out.bytes = save(full);
    TfrReport bare;
    buildTemplate(bare, false);
    FrMemoryStream dictionary;
    frWriteByte(dictionary, 254);
    full.Dictionary().SaveToStream(dictionary);
    const qint64 objectsStart = save(bare).size() - dictionary.data().size();
    out.dictionaryStart = out.bytes.size() - dictionary.data().size();
    out.boundaries << objectsStart;
    FrMemoryStream walk(out.bytes);
    walk.seek(objectsStart);
    for (;;) {
        const quint8 lead = frReadByte(walk);
        if (lead == 254)
            break;
        if (lead == otAddIn)
            frReadString(walk);
        frReadByte(walk);
        const qint32 end = frReadInteger(walk);
        out.boundaries << end;
        walk.seek(end);
    }
    return out;
}

} // namespace report::test
