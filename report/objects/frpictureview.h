#pragma once
// A picture held in the template (bitmap, metafile or icon) or taken from a
// blob field, stretched, centred, with or without its aspect ratio.
#include "report/objects/frview.h"

#include <QByteArray>
#include <QImage>

namespace report
{

constexpr quint16 flPictCenter = 0x02;
constexpr quint16 flPictRatio = 0x04;
constexpr quint8 btBMP = 0;
constexpr quint8 btJPG = 1;
constexpr quint8 btICO = 2;
constexpr quint8 btWMF = 3;

// The graphic of a picture: its kind and its bytes in their own file form,
// kept as read so that they are written back unchanged; raster images are
// decoded for drawing. Metafiles cannot be played here and draw a placeholder.
class FrPicture
{
public:
    enum Kind : quint8 { None = 0, Bitmap = 1, Metafile = 2, Icon = 3 };

    Kind kind() const { return m_kind; }
    const QByteArray &bytes() const { return m_bytes; }
    const QImage &image() const { return m_image; }
    bool isEmpty() const;
    // Natural size in pixels (0 x 0 when empty or unknown).
    QSize size() const;

    void clear();
    // Takes bytes of a graphic of a kind as stored (kind 0 clears).
    void setStored(Kind kind, const QByteArray &bytes);
    // Takes any image file's bytes: bitmaps, icons and metafiles keep their
    // bytes; other raster formats become a bitmap. False when not a picture.
    bool loadData(const QByteArray &bytes);
    bool loadFromFile(const QString &path);
    // A raster image, stored as a bitmap file.
    void setImage(const QImage &image);

private:
    Kind m_kind = None;
    QByteArray m_bytes;
    QImage m_image;
    QSize m_metafileSize;
};

class TfrPictureView : public TfrView
{
public:
    TfrPictureView();

    void SetPropertyValue(const QString &name, const FrVariant &value) override;
    FrVariant GetPropertyValue(const QString &name) override;
    FrVariant CallMethod(const QString &name, const FrVariant &par1, const FrVariant &par2,
                         const FrVariant &par3) override;
    void DefinePropertyList() override;
    void LoadFromBlobField(const FrField *field) override;
    std::unique_ptr<TfrView> Create() const override { return std::make_unique<TfrPictureView>(); }
    void Draw(platform::Canvas &canvas) override;
    void LoadFromStream(FrStream &stream) override;
    void SaveToStream(FrStream &stream) override;
    void AddPopupItems(FrPopupMenu &popup) override;
    void ShowObjectEditor() override;
    QString ClassName() const override { return QStringLiteral("TfrPictureView"); }

    FrPicture Picture;
    quint8 BlobType = btBMP;
};

} // namespace report
