// A settings file from any bytes, as the program reads and writes its
// profile: every section and key found is read in every kind; a value
// written is read back as written, and every line of the file that was not
// the one written keeps its place and its bytes.
#include "platform/inifile/inifile.h"
#include "platform/text/linefile.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace
{

// True when every line of `avant` is in `apres`, in the same order.
bool garde(const QStringList &avant, const QStringList &apres, qsizetype sauf)
{
    qsizetype j = 0;
    for (qsizetype i = 0; i < avant.size(); ++i) {
        if (i == sauf)
            continue;
        while (j < apres.size() && apres[j] != avant[i])
            ++j;
        if (j == apres.size())
            return false;
        ++j;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dossier;
    if (!dossier.isValid())
        return 0;
    const QString chemin = dossier.path() + QStringLiteral("/Vorn_Lud.ini");
    {
        QFile f(chemin);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const QStringList avant = platform::LineFile::read(chemin);
    platform::TIniFile ini(chemin);
    const QStringList sections = ini.ReadSections();
    // Every section and every key is read: each look-up must cost the same
    // whatever the file's size, so the whole stays in proportion to it. A
    // name met again names the first section of that name: read once.
    QSet<QString> vues;
    for (const QString &s : sections) {
        if (!ini.SectionExists(s))
            std::abort();
        const QString forme = s.trimmed().toCaseFolded();
        if (vues.contains(forme))
            continue;
        vues.insert(forme);
        const QStringList cles = ini.ReadSection(s);
        if (ini.ReadSectionValues(s).size() < cles.size())
            std::abort();
        for (const QString &k : cles) {
            if (!ini.ValueExists(s, k))
                std::abort();
            ini.ReadString(s, k, QStringLiteral("défaut"));
            ini.ReadInteger(s, k, -1);
            ini.ReadBool(s, k, true);
            ini.ReadDate(s, k, 0.0);
            ini.ReadDateTime(s, k, 0.0);
        }
    }
    if (platform::LineFile::read(chemin) != avant)
        std::abort();

    // A key of the file rewritten, then a new one: read back as written.
    const QString section = sections.value(0, QStringLiteral("Param"));
    const QString cle = ini.ReadSection(section).value(0, QStringLiteral("Cle"));
    const bool existait = ini.ValueExists(section, cle);
    ini.WriteString(section, cle, QStringLiteral("valeur écrite"));
    if (ini.ReadString(section, cle, QString()) != QStringLiteral("valeur écrite"))
        std::abort();
    const QStringList apres = platform::LineFile::read(chemin);
    // Only the rewritten line may be gone (found as the first line that
    // differs).
    qsizetype change = -1;
    if (existait) {
        for (qsizetype i = 0; i < avant.size() && change < 0; ++i)
            if (i >= apres.size() || apres[i] != avant[i])
                change = i;
        if (apres.size() != avant.size())
            std::abort();
    }
    if (!garde(avant, apres, change))
        std::abort();
    ini.WriteInteger(QStringLiteral("Nouvelle section"), QStringLiteral("N"), -2147483647 - 1);
    if (ini.ReadInteger(QStringLiteral("Nouvelle section"), QStringLiteral("N"), 0) !=
        -2147483647 - 1)
        std::abort();
    ini.DeleteKey(QStringLiteral("Nouvelle section"), QStringLiteral("N"));
    if (ini.ValueExists(QStringLiteral("Nouvelle section"), QStringLiteral("N")) &&
        !sections.contains(QStringLiteral("Nouvelle section"), Qt::CaseInsensitive))
        std::abort();
    ini.EraseSection(section);
    return 0;
}
