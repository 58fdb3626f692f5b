#include "platform/canvas/frfont.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <mutex>

namespace platform
{

int roundToPixel(double v)
{
    if (std::isnan(v))
        return 0;
    v = std::clamp(v, -static_cast<double>(kMaxCoordinate), static_cast<double>(kMaxCoordinate));
    return static_cast<int>(std::nearbyint(v));
}

int fontHeightForSize(double pointSize)
{
    return -std::clamp(roundToPixel(pointSize * 96.0 / 72.0), -kMaxFontPixels, kMaxFontPixels);
}

void installFontSubstitutions()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const auto add = [](const char *face, const char *twin) {
            const QString name = QString::fromLatin1(face);
            if (!QFont::substitutes(name).contains(QString::fromLatin1(twin)))
                QFont::insertSubstitution(name, QString::fromLatin1(twin));
        };
        add("Arial", "Liberation Sans");
        add("Helvetica", "Liberation Sans");
        add("MS Sans Serif", "Liberation Sans");
        add("Times New Roman", "Liberation Serif");
        add("Courier New", "Liberation Mono");
    });
}

QFont makeQFont(const QString &family, int emPixels, bool bold, bool italic)
{
    installFontSubstitutions();
    QFont f(family);
    f.setPixelSize(emPixels < 1 ? 1 : emPixels);
    f.setBold(bold);
    f.setItalic(italic);
    f.setKerning(false);
    // Design advances, so that a layout measures the same on every device.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::PreferNoShaping | QFont::PreferAntialias));
    return f;
}

} // namespace platform
