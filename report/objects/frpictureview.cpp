#include "report/objects/frpictureview.h"

#include "platform/canvas/bitmaps.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"
#include "report/core/frexceptions.h"
#include "report/core/frlocale.h"
#include "report/core/frstream.h"
#include "report/core/frutils.h"
#include "report/data/frdb.h"
#include "report/expr/frparser.h"
#include "report/expr/frvariables.h"
#include "report/objects/frpopupmenu.h"

#include <QBuffer>
#include <QtEndian>

namespace report
{

namespace
{

bool startsWith(const QByteArray &b, std::initializer_list<unsigned char> sig)
{
    if (b.size() < qsizetype(sig.size()))
        return false;
    int i = 0;
    for (unsigned char c : sig)
        if (static_cast<unsigned char>(b.at(i++)) != c)
            return false;
    return true;
}

bool isMetafile(const QByteArray &b)
{
    if (startsWith(b, {0xD7, 0xCD, 0xC6, 0x9A}))
        return true; // placeable metafile
    if (startsWith(b, {0x01, 0x00, 0x09, 0x00}) || startsWith(b, {0x02, 0x00, 0x09, 0x00}))
        return true;
    return b.size() >= 44 && startsWith(b, {0x01, 0x00, 0x00, 0x00}) && b.mid(40, 4) == " EMF";
}

QSize metafileSize(const QByteArray &b)
{
    auto i16 = [&b](int off) { return int(qFromLittleEndian<qint16>(b.constData() + off)); };
    // Wide enough for the difference of two bounds of any sign.
    auto i32 = [&b](int off) { return qint64(qFromLittleEndian<qint32>(b.constData() + off)); };
    if (b.size() >= 22 && startsWith(b, {0xD7, 0xCD, 0xC6, 0x9A})) {
        const int inch = qFromLittleEndian<quint16>(b.constData() + 14);
        if (inch <= 0)
            return {};
        return QSize(std::abs(i16(10) - i16(6)) * 96 / inch,
                     std::abs(i16(12) - i16(8)) * 96 / inch);
    }
    if (b.size() >= 44 && b.mid(40, 4) == " EMF")
        return QSize(int(std::clamp<qint64>(i32(16) - i32(8) + 1, 0, 1 << 16)),
                     int(std::clamp<qint64>(i32(20) - i32(12) + 1, 0, 1 << 16)));
    return {};
}

} // namespace

bool FrPicture::isEmpty() const
{
    switch (m_kind) {
    case Bitmap:
    case Icon:
        return m_image.isNull();
    case Metafile:
        return m_bytes.isEmpty();
    default:
        return true;
    }
}

QSize FrPicture::size() const
{
    if (m_kind == Metafile)
        return m_metafileSize;
    return m_image.isNull() ? QSize() : m_image.size();
}

void FrPicture::clear()
{
    m_kind = None;
    m_bytes.clear();
    m_image = QImage();
    m_metafileSize = QSize();
}

void FrPicture::setStored(Kind kind, const QByteArray &bytes)
{
    clear();
    switch (kind) {
    case Bitmap:
        m_kind = Bitmap;
        m_bytes = bytes;
        m_image = QImage::fromData(bytes, "BMP");
        break;
    case Icon:
        m_kind = Icon;
        m_bytes = bytes;
        m_image = QImage::fromData(bytes, "ICO");
        break;
    case Metafile:
        m_kind = Metafile;
        m_bytes = bytes;
        m_metafileSize = metafileSize(bytes);
        break;
    default:
        break;
    }
}

bool FrPicture::loadData(const QByteArray &bytes)
{
    if (startsWith(bytes, {'B', 'M'})) {
        QImage image = QImage::fromData(bytes, "BMP");
        if (image.isNull())
            return false;
        setStored(Bitmap, bytes);
        return true;
    }
    if (startsWith(bytes, {0x00, 0x00, 0x01, 0x00})) {
        QImage image = QImage::fromData(bytes, "ICO");
        if (image.isNull())
            return false;
        setStored(Icon, bytes);
        return true;
    }
    if (isMetafile(bytes)) {
        setStored(Metafile, bytes);
        return true;
    }
    const QImage image = QImage::fromData(bytes);
    if (image.isNull())
        return false;
    setImage(image);
    return true;
}

bool FrPicture::loadFromFile(const QString &path)
{
    // A template names it: a pipe would be waited on, a device never ends.
    QByteArray bytes;
    try {
        bytes = platform::LineFile::readBytes(path);
    } catch (const platform::EFileError &) {
        return false;
    }
    return loadData(bytes);
}

void FrPicture::setImage(const QImage &image)
{
    clear();
    if (image.isNull())
        return;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32)
        .save(&buffer, "BMP");
    m_kind = Bitmap;
    m_bytes = bytes;
    m_image = QImage::fromData(bytes, "BMP");
}

TfrPictureView::TfrPictureView()
{
    Typ = otPicture;
    BaseName = QStringLiteral("Picture");
    Flags = flStretched | flPictRatio;
    if (TfrVariables *consts = fr().frConsts.get()) {
        consts->SetVariable(QStringLiteral("btBMP"), 0);
        consts->SetVariable(QStringLiteral("btJPG"), 1);
        consts->SetVariable(QStringLiteral("btICO"), 2);
        consts->SetVariable(QStringLiteral("btWMF"), 3);
    }
}

void TfrPictureView::SetPropertyValue(const QString &name, const FrVariant &value)
{
    TfrView::SetPropertyValue(name, value);
    const QString n = frUpperCase(name);
    if (n == QLatin1String("CENTER"))
        Flags = value.toBool() ? (Flags | flPictCenter) : (Flags & ~flPictCenter);
    else if (n == QLatin1String("KEEPASPECT"))
        Flags = value.toBool() ? (Flags | flPictRatio) : (Flags & ~flPictRatio);
    else if (n == QLatin1String("BLOBTYPE"))
        BlobType = quint8(value.toInt());
}

FrVariant TfrPictureView::GetPropertyValue(const QString &name)
{
    FrVariant v = TfrView::GetPropertyValue(name);
    if (!frNoValue(v))
        return v;
    const QString n = frUpperCase(name);
    if (n == QLatin1String("CENTER"))
        return (Flags & flPictCenter) != 0;
    if (n == QLatin1String("KEEPASPECT"))
        return (Flags & flPictRatio) != 0;
    if (n == QLatin1String("BLOBTYPE"))
        return int(BlobType);
    return FrVariant::null();
}

FrVariant TfrPictureView::CallMethod(const QString &name, const FrVariant &par1,
                                     const FrVariant &par2, const FrVariant &par3)
{
    FrVariant result = TfrView::CallMethod(name, par1, par2, par3);
    if (!frNoValue(result))
        return result;
    if (frUpperCase(name) == QLatin1String("LOADFROMFILE")) {
        const QString file = fr().frGlobalParser
                                 ? fr().frGlobalParser->Calc(par1.toString()).toString()
                                 : par1.toString();
        if (!Picture.loadFromFile(file))
            Picture.clear();
        return 0;
    }
    return FrVariant::null();
}

void TfrPictureView::DefinePropertyList()
{
    TfrView::DefinePropertyList();
    const FrPropEditors &ed = frObjects().frPropEditors;
    AddProperty(QStringLiteral("Picture"), 64, ed.Get(FrEditorKind::Picture));
    AddProperty(QStringLiteral("Stretched"), 8);
    AddProperty(QStringLiteral("Center"), 8);
    AddProperty(QStringLiteral("KeepAspect"), 8);
    AddProperty(QStringLiteral("DataField"), 321, ed.Get(FrEditorKind::DataField));
    AddEnumProperty(QStringLiteral("BlobType"), QStringLiteral("btBMP;btJPG;btICO;btWMF"),
                    {0, 1, 2, 3});
}

void TfrPictureView::LoadFromBlobField(const FrField *field)
{
    Picture.clear();
    if (!field || field->value().isNull())
        return;
    const QByteArray bytes = field->blob();
    switch (BlobType) {
    case btICO:
        Picture.setStored(FrPicture::Icon, bytes);
        break;
    case btWMF:
        Picture.setStored(FrPicture::Metafile, bytes);
        break;
    default:
        // Bitmaps keep their bytes; JPEG and other images become bitmaps.
        if (!Picture.loadData(bytes))
            Picture.clear();
        break;
    }
}

void TfrPictureView::Draw(platform::Canvas &canvas)
{
    FrObjectGlobals &g = frObjects();
    PrepareCanvas(canvas);
    FrGeometryScope geometry(*this);
    DrawBackground();
    const QRect dr = DRect;
    const int L = dr.left(), T = dr.top(), R = L + dr.width(), B = T + dr.height();
    const QSize natural = Picture.size();
    const bool empty = Picture.isEmpty() || natural.width() <= 0 || natural.height() <= 0;
    if (empty) {
        if (g.frDocMode == 0 && Picture.isEmpty()) {
            FrFontProps f;
            f.Size = 8;
            f.Charset = fr().frCharset;
            canvas.setFont(f.canvasFont());
            canvas.setBackgroundMode(platform::BackgroundMode::Transparent);
            canvas.textRect(dr, x + 20, y + 3, frLoadString(55228));
            const QImage bmp = platform::LoadBitmap(QStringLiteral("FR_EMPTY"));
            if (!bmp.isNull())
                canvas.drawImage(QRect(x + 1, y + 2, bmp.width(), bmp.height()), bmp);
        } else if (Picture.kind() == FrPicture::Metafile && !Picture.isEmpty()) {
            canvas.drawMetafilePlaceholder(dr);
        }
        DrawFrame();
        return;
    }
    const double pw = natural.width(), ph = natural.height();
    int l, t, r, b;
    if (!(Flags & flStretched)) {
        l = L;
        t = T;
        if (Flags & flPictCenter) {
            l += (dr.width() - platform::roundToPixel(pw * ScaleX)) / 2;
            t += (dr.height() - platform::roundToPixel(ph * ScaleY)) / 2;
        }
        r = l + platform::roundToPixel(pw * ScaleX);
        b = t + platform::roundToPixel(ph * ScaleY);
    } else if (!(Flags & flPictRatio)) {
        l = L;
        t = T;
        r = R;
        b = B;
    } else {
        const double kx = dx / pw, ky = dy / ph;
        l = L;
        t = T;
        if (kx < ky) {
            r = R;
            b = T + platform::roundToPixel(ph * kx);
        } else {
            r = L + platform::roundToPixel(pw * ky);
            b = B;
        }
        if (Flags & flPictCenter) {
            const int ox = (dr.width() - (r - l)) / 2, oy = (dr.height() - (b - t)) / 2;
            l += ox;
            r += ox;
            t += oy;
            b += oy;
        }
    }
    const QRect target = platform::rectLTRB(l, t, std::max(l, r), std::max(t, b));
    if (r > l && b > t) {
        if (Picture.kind() == FrPicture::Metafile)
            canvas.drawMetafilePlaceholder(target);
        else
            canvas.drawImage(target, Picture.image());
    }
    DrawFrame();
}

void TfrPictureView::LoadFromStream(FrStream &stream)
{
    TfrView::LoadFromStream(stream);
    const quint8 kind = frReadByte(stream);
    if (StreamMajor * 10 + StreamMinor > 10)
        BlobType = frReadByte(stream);
    const qint64 end = frReadInteger(stream);
    const qint64 pos = stream.position();
    if (end < pos || end > stream.size())
        throw EFrStreamError();
    if (kind >= FrPicture::Bitmap && kind <= FrPicture::Icon)
        Picture.setStored(FrPicture::Kind(kind), stream.readBytes(end - pos));
    else
        Picture.clear();
    stream.seek(end);
}

void TfrPictureView::SaveToStream(FrStream &stream)
{
    TfrView::SaveToStream(stream);
    // Bytes go back as they were read, even those this program cannot show.
    const FrPicture::Kind kind = Picture.bytes().isEmpty() ? FrPicture::None : Picture.kind();
    frWriteByte(stream, kind);
    frWriteByte(stream, BlobType);
    const qint64 placeholder = stream.position();
    frWriteInteger(stream, 0);
    if (kind != FrPicture::None)
        stream.write(Picture.bytes());
    const qint64 end = stream.position();
    stream.seek(placeholder);
    frWriteInteger(stream, qint32(end));
    stream.seek(end);
}

void TfrPictureView::AddPopupItems(FrPopupMenu &popup)
{
    TfrView::AddPopupItems(popup);
    auto isPicture = [](TfrView *v) { return dynamic_cast<TfrPictureView *>(v) != nullptr; };
    const bool center = (Flags & flPictCenter) != 0;
    popup.addCheck(frLoadString(55197), center,
                   [this, center, isPicture] { flagCommand(flPictCenter, !center, isPicture); });
    const bool ratio = (Flags & flPictRatio) != 0;
    popup.addCheck(
        frLoadString(55198), ratio,
        [this, ratio, isPicture] { flagCommand(flPictRatio, !ratio, isPicture); },
        (Flags & flStretched) != 0);
}

void TfrPictureView::ShowObjectEditor()
{
    frObjects().frPropEditors.Call(FrEditorKind::Picture);
}

} // namespace report
