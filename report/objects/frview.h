#pragma once
// Report objects: the base view with its fields, geometry and frame
// arithmetic, its record in template and prepared-page streams, its named
// properties and its designer commands; the stretching base of objects that
// grow with their content; the object factory and the add-in registry.
#include "report/objects/frglobals.h"
#include "report/objects/frlinks.h"
#include "report/objects/frobject.h"

#include "platform/canvas/canvas.h"

#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QStringList>
#include <algorithm>
#include <memory>

namespace report
{

class FrStream;
class FrField;
class FrDataSet;
class FrPopupMenu;
class TfrBand;

enum TfrObjectType : quint8 {
    otMemo = 0,
    otPicture = 1,
    otBand = 2,
    otSubReport = 3,
    otLine = 4,
    otAddIn = 10,
};

// Frame edges.
constexpr quint16 frftRight = 1;
constexpr quint16 frftBottom = 2;
constexpr quint16 frftLeft = 4;
constexpr quint16 frftTop = 8;
// Frame styles.
constexpr quint16 psSolid = 0;
constexpr quint16 psDash = 1;
constexpr quint16 psDot = 2;
constexpr quint16 psDashDot = 3;
constexpr quint16 psDashDotDot = 4;
constexpr quint16 psDouble = 5;
// Band alignment of a view.
constexpr quint8 baNone = 0;
constexpr quint8 baLeft = 1;
constexpr quint8 baRight = 2;
constexpr quint8 baCenter = 3;
constexpr quint8 baWidth = 4;
constexpr quint8 baBottom = 5;
constexpr quint8 baTop = 6;
// Flags of every view.
constexpr quint16 flStretched = 0x01;

class TfrView : public TfrObject
{
public:
    TfrView();
    ~TfrView() override;

    // --- virtual operations, in their slot order after TfrObject's four
    void SetPropertyValue(const QString &name, const FrVariant &value) override;
    FrVariant GetPropertyValue(const QString &name) override;
    FrVariant CallMethod(const QString &name, const FrVariant &par1, const FrVariant &par2,
                         const FrVariant &par3) override;
    void DefinePropertyList() override;
    virtual void DrawBackground();
    virtual void DrawFrame();
    virtual void LoadFromBlobField(const FrField *field);
    virtual void ExtraHook() {}
    virtual void AfterTemplateLoad() {}
    // The virtual constructor: a new object of the same class.
    virtual std::unique_ptr<TfrView> Create() const = 0;
    virtual void ScaleGeometry();
    virtual void RestoreGeometry();
    virtual void Draw(platform::Canvas &canvas) = 0;
    virtual void WriteToPreparedPage(FrStream &stream);
    virtual void PassToExportFilter();
    virtual void LoadFromStream(FrStream &stream);
    virtual void SaveToStream(FrStream &stream);
    virtual void SpareHook() {}
    virtual void AddPopupItems(FrPopupMenu &popup);
    virtual QRegion GetClipRegion(bool inflate);
    virtual void ShowObjectEditor() {}

    // The class name written for add-in objects and tested by property lists.
    virtual QString ClassName() const = 0;
    // Dialog controls keep their names free on the dialog form too.
    virtual bool IsDialogControl() const { return false; }

    // --- non-virtual operations
    void Assign(TfrView &source);
    void SetBounds(int left, int top, int width, int height);
    void CreateUniqueName();
    // Keeps the canvas, becomes frCurrentView and applies band alignment.
    void PrepareCanvas(platform::Canvas &canvas);
    // Design time: the last band object of the designer's page whose
    // rectangle holds this object's top-left corner.
    TfrView *FindParentBand() const;
    // Replaces every bracketed expression of Tag by its value.
    void ExpandTag();
    bool IsVisible() const { return Visible != 0; }
    // Run-time band alignment of the prepared record (baBottom, baTop, baWidth
    // in a cross band); true when baWidth was resolved there.
    bool AlignToRunTimeBand();
    // Writes the type code byte and, for add-ins, the class name.
    void WriteTypeCode(FrStream &stream) const;

    // --- fields, in their order
    struct SavedGeometry {
        int x = 0, y = 0, dx = 0, dy = 0, gapX = 0, gapY = 0;
        float frameWidth = 0;
    } saved;
    QString BaseName = QStringLiteral("View");
    platform::Canvas *Canvas = nullptr;
    QRect DRect; // inside the frame, (left, top, right + 1, bottom + 1)
    QStringList Memo1;
    QPointer<FrDataSet> DataSet;
    QString DataField;
    bool Prepared = false;
    QString Name;
    quint8 Typ = otAddIn;
    quint8 StreamMajor = 2;
    quint8 StreamMinor = 0;
    qint32 ID = 0;
    bool Selected = false;
    double ScaleX = 1.0, ScaleY = 1.0;
    int OffsX = 0, OffsY = 0;
    qint32 x = 0, y = 0, dx = 0, dy = 0;
    quint16 Flags = flStretched;
    quint16 FrameTyp = 0;
    float FrameWidth = 1.0f;
    platform::TColor FrameColor = platform::clBlack;
    quint16 FrameStyle = psSolid;
    platform::TColor FillColor = platform::clNone;
    qint32 Format = 0;
    QString FormatStr;
    quint16 Visible = 0xFFFF;
    qint32 GapX = 2, GapY = 1;
    quint16 Restrictions = 0;
    QString Tag;
    QStringList Memo;
    QStringList Script;
    quint8 BandAlign = baNone;

    // The run-time band that owns the object while a report is built.
    TfrBand *Parent = nullptr;
    // Page formation: height before measuring, rectangle of a split piece.
    qint32 SavedHeight = 0;
    QRect SplitRect;
    bool Pending = false;
    // Drawn onto a printer.
    bool IsPrinting = false;
    // Designer: bounds kept while a group is scaled.
    QRect SavedBounds;
    // The last text frExpandVariables cut at its brackets here and the cut.
    // The text is shared, not copied: the same bytes are the same text, and
    // a text changed since (by a script, by the designer) has other bytes.
    QString CutText;
    QStringList CutPieces;

    // The frame width as drawing uses it: damaged files can hold any float,
    // drawing takes it within 0 to 1000 pixels (the stored value is kept).
    double DrawnFrameWidth() const { return std::clamp(double(FrameWidth), 0.0, 1000.0); }

protected:
    // Right and bottom edges of the scaled object (step 6 of the geometry).
    int scaledRight() const;
    int scaledBottom() const;
    // The string-list methods on list under prefix; true when name was one.
    bool stringListMethod(QStringList &list, const QString &prefix, const QString &name,
                          const FrVariant &par1, const FrVariant &par2, const FrVariant &par3,
                          FrVariant &result);
    // Sets the bit of Flags on every selected object of the designer's page
    // that passes accept and whose restriction bit 8 is clear, between the
    // designer's before- and after-change calls.
    void flagCommand(quint16 bit, bool on, const std::function<bool(TfrView *)> &accept);
};

// The base of objects that can grow with their content.
class TfrStretcheable : public TfrView
{
public:
    virtual int ContentHeight() = 0;
    virtual int MinSplitHeight() = 0;
    virtual int HeightLeftToPrint() = 0;

    // 0 normal, 1 height just computed, 2 print the part that fits.
    quint8 DrawMode = 0;
    // Set by the run-time band when a split part is the top of a fresh page:
    // at least one line is then printed, so that the split always advances.
    bool SplitAtPageTop = false;
};

// --- scope guards: what a drawing or a preparation step changes is put back
// when it ends, also when a callback throws.
class FrGeometryScope
{
public:
    explicit FrGeometryScope(TfrView &view) : m_view(view) { view.ScaleGeometry(); }
    ~FrGeometryScope() { m_view.RestoreGeometry(); }
    FrGeometryScope(const FrGeometryScope &) = delete;
    FrGeometryScope &operator=(const FrGeometryScope &) = delete;

private:
    TfrView &m_view;
};

template <typename T> class FrRestore
{
public:
    explicit FrRestore(T &ref) : m_ref(ref), m_old(ref) {}
    FrRestore(T &ref, const T &value) : m_ref(ref), m_old(ref) { ref = value; }
    ~FrRestore() { m_ref = m_old; }
    FrRestore(const FrRestore &) = delete;
    FrRestore &operator=(const FrRestore &) = delete;
    const T &old() const { return m_old; }

private:
    T &m_ref;
    T m_old;
};

// --- factory and registries
// 0 memo, 1 picture, 2 band, 3 subreport, 4 line, 10 the registered add-in of
// that class name (case-sensitive); anything else gives nullptr. A created
// object takes the next object ID. An unknown add-in class is noted in
// frErrorText and raises EClassNotFound.
std::unique_ptr<TfrView> frCreateObject(int typ, const QString &className);
// Registers an add-in class unless a class of that name is already there.
void frRegisterObject(const QString &className, std::function<std::unique_ptr<TfrView>()> create,
                      const QImage &buttonBmp, const QString &buttonHint, quint8 flag = 0);
// Splits "Object.Property" and finds the object (a view or a page of the
// current report); object is nullptr when none.
void frFindObjectProperty(const QString &fullName, TfrObject *&object, QString &property);
// Notes an error of the build in frErrorText and stops the report.
void frNoteBuildError(const QString &message);
// Replaces every bracketed expression of text by its value for view; an
// unmatched "[" stays as written.
void frExpandVariables(TfrView *view, QString &text);
// The lines of a value text: breaks at CR LF, CR or LF; one at the end adds no line.
QStringList frSplitLines(const QString &text);

// Font properties ("FONT.NAME", "FONT.SIZE", "FONT.STYLE", "FONT.COLOR") of an
// object with a font: name, point size, style word and colour.
struct FrFontProps {
    QString Name = QStringLiteral("Arial");
    qint32 Size = 10;
    quint16 Style = 0;
    platform::TColor Color = platform::clBlack;
    qint32 Charset = 1;
    // The canvas font of this font at a scale: -Round(size x 96 / 72 x scale)
    // at scale 1, truncated otherwise; at least one pixel.
    platform::FrFont canvasFont(double scale = 1.0) const;
};
bool frSetFontProperty(FrFontProps &font, const QString &upperName, const FrVariant &value);
FrVariant frGetFontProperty(const FrFontProps &font, const QString &upperName);

// Positions, sizes and gaps read from files or set by scripts are kept within
// +/- kFrMaxGeometry, so that the sums and scalings of drawing cannot overflow.
constexpr qint32 kFrMaxGeometry = 1 << 26;
inline qint32 frClampGeometry(qint64 v)
{
    return qint32(std::clamp<qint64>(v, -kFrMaxGeometry, kFrMaxGeometry));
}

// Frame width coding of the view record.
qint32 frEncodeFrameWidth(float width);
float frDecodeFrameWidth(qint32 stored);

} // namespace report
