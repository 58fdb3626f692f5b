// The challenge's golden pages drawn by the program's own browser widget:
// the page colour and the banner's come out, the title's and the text's
// accents read right (the pages are Windows-1252 without a charset), and no
// markup shows as text. With VORN_SHOTS_DIR set, each whole page is saved
// there as a PNG.
#include "platform/browser/browser.h"
#include "platform/text/codec.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <algorithm>

namespace
{

const QRgb Page = qRgb(0xFF, 0xFF, 0xE6);

int pixels(const QImage &image, QRgb couleur, int hauteur)
{
    int n = 0;
    for (int y = 0; y < std::min(hauteur, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (couleur & 0xFFFFFF);
    return n;
}

TEST(PagesRendu, GoldenPagesInTheBrowserWidget)
{
    const QDir dossier(QStringLiteral(VORN_TEST_DATA "/pages"));
    const QString images = qEnvironmentVariable("VORN_SHOTS_DIR");
    if (!images.isEmpty())
        QDir().mkpath(images);
    // The ranking page has the pale blue banner, the teams pages the green.
    QStringList pages{QStringLiteral("Challenge.htm")};
    pages += dossier.entryList({QStringLiteral("Quatre*.htm")}, QDir::Files).mid(0, 1);
    pages += dossier.entryList({QStringLiteral("Match*.htm")}, QDir::Files).mid(0, 1);
    ASSERT_EQ(pages.size(), 3) << pages.join(QLatin1Char(' ')).toStdString();
    static const QRegularExpression mot(QStringLiteral("\\w+"),
                                        QRegularExpression::UseUnicodePropertiesOption);
    for (const QString &nom : pages) {
        SCOPED_TRACE(nom.toStdString());
        const QRgb banniere =
            nom == QLatin1String("Challenge.htm") ? qRgb(0xCC, 0xFF, 0xFF) : qRgb(0x66, 0xFF, 0x99);
        QFile f(dossier.filePath(nom));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QString brut = platform::fromAnsi(f.readAll());

        platform::TWebBrowser b(QStringLiteral("WebBrowser1"));
        b.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        b.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        b.resize(1000, 700);
        b.Navigate(f.fileName());
        // The whole page in one picture.
        b.document()->setTextWidth(b.viewport()->width());
        const int hauteur = int(b.document()->size().height()) + 2 * b.frameWidth();
        b.resize(1000, std::min(hauteur, 16000));
        b.show();
        const QImage image = b.grab().toImage();
        ASSERT_FALSE(image.isNull());

        EXPECT_TRUE(b.documentTitle().startsWith(QStringLiteral("Compétitions Résultats ")))
            << b.documentTitle().toStdString();
        const QString texte = b.toPlainText();
        for (auto it = mot.globalMatch(brut); it.hasNext();) {
            const QString m = it.next().captured(0);
            if (std::any_of(m.begin(), m.end(), [](QChar c) { return c.unicode() > 0x7F; }) &&
                !b.documentTitle().contains(m)) {
                EXPECT_TRUE(texte.contains(m)) << m.toStdString();
            }
        }
        // Names holding markup show it as text; no other markup shows: every
        // "<" and ">" on screen is one the page escaped.
        EXPECT_EQ(texte.count(QLatin1Char('<')), brut.count(QLatin1String("&lt;")));
        EXPECT_EQ(texte.count(QLatin1Char('>')), brut.count(QLatin1String("&gt;")));

        // The page colour (behind the titles and around the tables), the
        // banner's at the top.
        EXPECT_GT(pixels(image, Page, image.height()), 5000);
        EXPECT_GT(pixels(image, banniere, 60), 1000);
        if (!images.isEmpty()) {
            const QString png = images + QLatin1Char('/') + QFileInfo(nom).completeBaseName() +
                                QStringLiteral(".png");
            EXPECT_TRUE(image.save(png)) << png.toStdString();
        }
    }
}

} // namespace
