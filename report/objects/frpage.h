#pragma once
// A page of a report template: a report page (paper, margins, columns and the
// objects laid on it) or a dialog page (a form shown before the build).
#include "report/objects/frlinks.h"
#include "report/objects/frprinterinfo.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace report
{

class FrStream;
class TfrView;

class TfrPage : public FrPageLink
{
public:
    // Sets the paper through ChangePaper, then the defaults.
    TfrPage(int size, int width, int height, int bin, int orientation);
    ~TfrPage() override;

    // --- named properties
    void SetPropertyValue(const QString &name, const FrVariant &value) override;
    FrVariant GetPropertyValue(const QString &name) override;
    void DefinePropertyList() override;

    // --- what the objects see of their page
    int PageType() const override { return PageTypeValue; }
    int PageWidth() const override { return PrnInfo.Pgw; }
    int PageHeight() const override { return PrnInfo.Pgh; }
    int LeftMarginPos() const override;
    int RightMarginPos() const override;
    int TopMarginPos() const;
    // Without the page-footer reduction, which the run-time bands apply.
    int BottomMarginPos() const;
    int ObjectCount() const override { return int(Objects.size()); }
    TfrView *Object(int index) const override;
    TfrView *FindObject(const QString &name) const override;

    // Applies a paper through the library printer; a refused size is asked
    // again as custom size 256. The page keeps what the printer took.
    void ChangePaper(int size, int width, int height, int bin, int orientation);
    // Frees every object.
    void Clear();
    // Frees the object at index and removes it (nothing out of range).
    void Delete(int index);
    int IndexOfObjectID(qint32 id) const;
    // "Page" + the smallest free number of the current report.
    void CreateUniqueName();
    // Edits Script with the registered text editor through a temporary memo.
    void EditScript();
    // Appends an object the page then owns.
    TfrView *Add(std::unique_ptr<TfrView> view);
    // Takes an object out of the page without freeing it (nullptr out of range).
    std::unique_ptr<TfrView> Take(int index);

    // The page record of template streams (after the lead byte 255).
    void LoadFromStream(FrStream &stream);
    void SaveToStream(FrStream &stream) const;

    // Pixels <-> tenths of a millimetre (18 pixels make 5 mm), half to even.
    static int pixelsToTenths(double pixels);
    static int tenthsToPixels(double tenths);

    // --- template fields, in their order
    qint32 Size = 0;
    qint32 PaperWidth = 0, PaperHeight = 0;
    qint32 LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0;
    quint8 Orientation = 0;
    // 65535 (or -1, as streams hold it): the printer's default bin; kept as set.
    qint32 Bin = kFrDefaultBin;
    quint16 PrintToPrevPage = 0;
    quint16 UseMargins = 0xFFFF;
    TfrPrnInfo PrnInfo;
    qint32 Columns = 1;
    qint32 ColWidth = 0;
    qint32 ColumnGap = 0;
    quint8 PageTypeValue = ptReport;
    std::vector<std::unique_ptr<TfrView>> Objects;
    qint32 CurY = 0, CurBottomY = 0;
    QString Name;
    quint8 BorderStyle = 3;
    QString Caption = QStringLiteral("Form");
    qint32 Color = qint32(0x8000000F);
    qint32 FormLeft = 220, FormTop = 120, FormWidth = 380, FormHeight = 300;
    quint8 Position = 4;
    QStringList Script;
    bool Visible = true;
};

} // namespace report
