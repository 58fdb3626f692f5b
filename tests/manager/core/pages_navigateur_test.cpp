// The challenge's golden web pages as their readers' browsers see them:
// headless Chromium opens each page from disk and hands back the document it
// built. Names must stay text, accents must come out right through the
// default charset (the pages declare none), and the tables must hold the rows
// the page's data calls for, each row spanning the table's full width.
#include "platform/text/codec.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace
{

const QString Dupont = QStringLiteral("Dupont & Fils <b>SA</b>");

// One element or text of the browser's serialized document.
struct Noeud {
    QString balise; // empty for a text
    QHash<QString, QString> attributs;
    QString texte;
    std::vector<std::unique_ptr<Noeud>> enfants;
};

QString sansEntites(QString s)
{
    s.replace(QLatin1String("&nbsp;"), QString(QChar(0xA0)));
    s.replace(QLatin1String("&lt;"), QLatin1String("<"));
    s.replace(QLatin1String("&gt;"), QLatin1String(">"));
    s.replace(QLatin1String("&quot;"), QLatin1String("\""));
    return s.replace(QLatin1String("&amp;"), QLatin1String("&"));
}

// Reads the markup the browser serializes: lower-case names, quoted
// attributes, every element closed except the void ones, style and script
// bodies raw, texts escaped with the four entities above.
std::unique_ptr<Noeud> lireArbre(const QString &s)
{
    static const QStringList vides{"area",  "base", "br",   "col",    "embed", "hr", "img",
                                   "input", "link", "meta", "source", "track", "wbr"};
    auto racine = std::make_unique<Noeud>();
    std::vector<Noeud *> pile{racine.get()};
    qsizetype i = 0;
    const qsizetype n = s.size();
    auto ajouter = [&](std::unique_ptr<Noeud> x) {
        Noeud *p = x.get();
        pile.back()->enfants.push_back(std::move(x));
        return p;
    };
    auto texte = [&](const QString &t) {
        if (t.isEmpty())
            return;
        auto x = std::make_unique<Noeud>();
        x->texte = t;
        ajouter(std::move(x));
    };
    while (i < n) {
        if (s.at(i) != u'<') {
            const qsizetype fin = s.indexOf(u'<', i);
            const qsizetype j = fin < 0 ? n : fin;
            texte(sansEntites(s.mid(i, j - i)));
            i = j;
        } else if (s.mid(i, 4) == QLatin1String("<!--")) {
            const qsizetype fin = s.indexOf(QLatin1String("-->"), i + 4);
            i = fin < 0 ? n : fin + 3;
        } else if (s.mid(i, 2) == QLatin1String("<!")) {
            const qsizetype fin = s.indexOf(u'>', i);
            i = fin < 0 ? n : fin + 1;
        } else if (s.mid(i, 2) == QLatin1String("</")) {
            const qsizetype fin = s.indexOf(u'>', i);
            const QString nom = s.mid(i + 2, (fin < 0 ? n : fin) - i - 2).trimmed();
            i = fin < 0 ? n : fin + 1;
            for (qsizetype k = qsizetype(pile.size()) - 1; k > 0; --k)
                if (pile[size_t(k)]->balise == nom) {
                    pile.resize(size_t(k));
                    break;
                }
        } else {
            auto x = std::make_unique<Noeud>();
            qsizetype j = i + 1;
            while (j < n && (s.at(j).isLetterOrNumber() || s.at(j) == u'-'))
                ++j;
            x->balise = s.mid(i + 1, j - i - 1);
            while (j < n && s.at(j) != u'>') {
                if (s.at(j).isSpace() || s.at(j) == u'/') {
                    ++j;
                    continue;
                }
                qsizetype k = j;
                while (k < n && s.at(k) != u'=' && s.at(k) != u'>' && !s.at(k).isSpace())
                    ++k;
                const QString nom = s.mid(j, k - j);
                QString valeur;
                if (k < n && s.at(k) == u'=' && k + 1 < n && s.at(k + 1) == u'"') {
                    const qsizetype fin = s.indexOf(u'"', k + 2);
                    valeur = sansEntites(s.mid(k + 2, (fin < 0 ? n : fin) - k - 2));
                    k = fin < 0 ? n : fin + 1;
                }
                x->attributs.insert(nom, valeur);
                j = k;
            }
            i = j + 1;
            const QString nom = x->balise;
            Noeud *e = ajouter(std::move(x));
            if (nom == QLatin1String("style") || nom == QLatin1String("script")) {
                const qsizetype fin = s.indexOf(QLatin1String("</") + nom, i);
                const qsizetype j2 = fin < 0 ? n : fin;
                pile.push_back(e);
                texte(s.mid(i, j2 - i));
                pile.pop_back();
                const qsizetype ferme = s.indexOf(u'>', j2);
                i = ferme < 0 ? n : ferme + 1;
            } else if (!vides.contains(nom)) {
                pile.push_back(e);
            }
        }
    }
    return racine;
}

QString texteDe(const Noeud &x)
{
    QString t = x.texte;
    for (const auto &e : x.enfants)
        t += texteDe(*e);
    return t;
}

QString propre(const Noeud &x)
{
    return texteDe(x).simplified();
}

void elements(const Noeud &x, const QString &balise, QList<const Noeud *> &out)
{
    for (const auto &e : x.enfants) {
        if (e->balise == balise)
            out.append(e.get());
        elements(*e, balise, out);
    }
}

QList<const Noeud *> elements(const Noeud &x, const QString &balise)
{
    QList<const Noeud *> out;
    elements(x, balise, out);
    return out;
}

// The texts of the page's body, as a reader sees them (not the title, the
// style sheet or scripts).
void textes(const Noeud &x, QStringList &out)
{
    for (const auto &e : x.enfants) {
        if (e->balise.isEmpty())
            out.append(e->texte);
        else if (e->balise != QLatin1String("style") && e->balise != QLatin1String("script") &&
                 e->balise != QLatin1String("title"))
            textes(*e, out);
    }
}

// The rows of this table, not of the tables nested in its cells.
QList<const Noeud *> rangees(const Noeud &table)
{
    QList<const Noeud *> out;
    for (const auto &e : table.enfants) {
        if (e->balise == QLatin1String("tr"))
            out.append(e.get());
        else if (e->balise == QLatin1String("tbody") || e->balise == QLatin1String("thead") ||
                 e->balise == QLatin1String("tfoot"))
            out.append(rangees(*e));
    }
    return out;
}

QList<const Noeud *> cellules(const Noeud &tr)
{
    QList<const Noeud *> out;
    for (const auto &e : tr.enfants)
        if (e->balise == QLatin1String("td") || e->balise == QLatin1String("th"))
            out.append(e.get());
    return out;
}

int largeur(const Noeud &tr)
{
    int l = 0;
    for (const Noeud *c : cellules(tr)) {
        bool ok = false;
        const int span = c->attributs.value(QStringLiteral("colspan")).toInt(&ok);
        l += ok && span > 0 ? span : 1;
    }
    return l;
}

std::vector<std::string> utf8(const QStringList &l)
{
    std::vector<std::string> out;
    for (const QString &x : l)
        out.push_back(x.toStdString());
    return out;
}

bool entier(const QString &t)
{
    static const QRegularExpression re(QStringLiteral("^\\d+$"));
    return re.match(t).hasMatch();
}

// The page as Chromium builds it, serialized (UTF-8). Only a file:// address
// is given, host names resolve to nothing and the background services are
// off, so nothing leaves the machine; the profile, home and caches live in a
// temporary folder.
QByteArray domChromium(const QString &chromium, const QString &page, QString *erreur)
{
    QTemporaryDir dossier;
    if (!dossier.isValid()) {
        *erreur = QStringLiteral("no temporary folder");
        return {};
    }
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dossier.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dossier.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), dossier.filePath(QStringLiteral("cache")));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    p.setProcessEnvironment(env);
    p.setProgram(chromium);
    p.setArguments(
        {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
         QStringLiteral("--disable-gpu"), QStringLiteral("--disable-dev-shm-usage"),
         QStringLiteral("--user-data-dir=") + dossier.filePath(QStringLiteral("profil")),
         QStringLiteral("--no-first-run"), QStringLiteral("--no-default-browser-check"),
         QStringLiteral("--disable-background-networking"),
         QStringLiteral("--disable-component-update"), QStringLiteral("--disable-default-apps"),
         QStringLiteral("--disable-extensions"), QStringLiteral("--disable-sync"),
         QStringLiteral("--disable-breakpad"), QStringLiteral("--disable-crash-reporter"),
         QStringLiteral("--no-pings"), QStringLiteral("--host-resolver-rules=MAP * ~NOTFOUND"),
         QStringLiteral("--lang=fr-FR"), QStringLiteral("--dump-dom"),
         QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath()).toString(QUrl::FullyEncoded)});
    p.start();
    if (!p.waitForStarted(20000)) {
        *erreur = QStringLiteral("chromium does not start: ") + p.errorString();
        return {};
    }
    if (!p.waitForFinished(90000)) {
        p.kill();
        p.waitForFinished(5000);
        *erreur = QStringLiteral("chromium still running after 90 s");
        return {};
    }
    const QByteArray dom = p.readAllStandardOutput();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 || dom.isEmpty())
        *erreur = QStringLiteral("chromium failed (exit %1): %2")
                      .arg(p.exitCode())
                      .arg(QString::fromLocal8Bit(p.readAllStandardError().right(2000)));
    return dom;
}

// Texts of the raw page, Windows-1252 bytes, entities replaced.
QStringList brutes(const QString &page, const QString &motif)
{
    const QRegularExpression re(motif, QRegularExpression::CaseInsensitiveOption);
    QStringList out;
    for (auto it = re.globalMatch(page); it.hasNext();)
        out.append(sansEntites(it.next().captured(1)).simplified());
    return out;
}

int compte(const QString &page, const QString &motif)
{
    const QRegularExpression re(motif, QRegularExpression::CaseInsensitiveOption);
    int n = 0;
    for (auto it = re.globalMatch(page); it.hasNext(); it.next())
        ++n;
    return n;
}

// Ranking and pairs pages: one row per entry, a cell per column, the place
// in column `place`, the names in the cells aligned left, in the page's
// order; on the ranking pages a header block of three rows before every 50
// entries.
void verifierClassement(const Noeud &doc, const QString &brut, int place, int nomsParEntree)
{
    const QStringList nomsBruts = brutes(brut, QStringLiteral("<td align=\"left\">\r\n<font[^>]*>"
                                                              "\r\n([^\r]*)\r\n"));
    const int attendues = int(nomsBruts.size()) / nomsParEntree;
    ASSERT_GT(attendues, 0) << "no entry in the raw page";
    // The entries of every table, in page order; the ranking's table is the
    // one holding most.
    const Noeud *table = nullptr;
    qsizetype plus = 0;
    QList<const Noeud *> entrees;
    for (const Noeud *t : elements(doc, QStringLiteral("table"))) {
        qsizetype n = 0;
        for (const Noeud *tr : rangees(*t)) {
            const auto c = cellules(*tr);
            if (c.size() > place + 1 && c.size() == largeur(*tr) && entier(propre(*c[place]))) {
                entrees.append(tr);
                ++n;
            }
        }
        if (n > plus) {
            plus = n;
            table = t;
        }
    }
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(entrees.size(), attendues);
    QStringList noms;
    for (const Noeud *tr : entrees)
        for (const Noeud *c : cellules(*tr))
            if (c->attributs.value(QStringLiteral("align")) == QLatin1String("left"))
                noms.append(propre(*c));
    EXPECT_EQ(utf8(noms), utf8(nomsBruts));
    if (place == 0) {
        const int entetes50 = (attendues + 49) / 50;
        int entetes = 0;
        for (const Noeud *tr : rangees(*table)) {
            const auto c = cellules(*tr);
            entetes += !c.isEmpty() && propre(*c.back()) == QLatin1String("Points");
        }
        EXPECT_EQ(entetes, entetes50);
        // Title, three header rows per 50 entries, the entries, closing row.
        EXPECT_EQ(rangees(*table).size(), 2 + 3 * entetes50 + attendues);
    }
}

// A title row: one cell 37 pixels high, over the block of rows below it (a
// group, a sheet, a ranking) or closing the table.
bool titre(const Noeud &tr)
{
    const auto c = cellules(tr);
    return c.size() == 1 && c[0]->attributs.value(QStringLiteral("height")) == QLatin1String("37");
}

// The rows of a table cut into blocks, each starting at a title row; the
// blocks of one table may have different widths (groups of different sizes
// share one table).
QList<QList<const Noeud *>> blocs(const Noeud &table)
{
    QList<QList<const Noeud *>> out;
    for (const Noeud *tr : rangees(table)) {
        if (out.isEmpty() || titre(*tr))
            out.append(QList<const Noeud *>());
        out.back().append(tr);
    }
    return out;
}

// Teams page: per group a title over n + 4 columns, then the header row and
// one row per team, each of n + 4 cells, the team names down the side in the
// order of the header.
void verifierQuatre(const Noeud &doc, const QString &brut)
{
    const int titres = compte(brut, QStringLiteral("<td colspan=\"\\d+\" align=\"center\" "
                                                   "height=\"37\""));
    int groupes = 0;
    for (const Noeud *t : elements(doc, QStringLiteral("table")))
        for (const auto &r : blocs(*t)) {
            if (!titre(*r.first()))
                continue;
            ++groupes;
            const int w = largeur(*r.first());
            const int n = w - 4;
            SCOPED_TRACE(propre(*r.first()).toStdString());
            QList<const Noeud *> croisees;
            for (const Noeud *tr : r)
                if (cellules(*tr).size() == w)
                    croisees.append(tr);
            if (croisees.isEmpty())
                continue; // a group without its cross table: title and spacers only
            ASSERT_GT(n, 0);
            ASSERT_EQ(croisees.size(), n + 1) << "header and one row per team";
            // Title, spacer, the cross table, closing spacer.
            EXPECT_EQ(r.size(), n + 4);
            const auto entete = cellules(*croisees.first());
            for (int k = 1; k <= n; ++k) {
                const auto c = cellules(*croisees[k]);
                EXPECT_EQ(propre(*c[1]).toStdString(), propre(*entete[k + 1]).toStdString())
                    << "team " << k;
                EXPECT_FALSE(propre(*c[1]).isEmpty());
            }
        }
    EXPECT_EQ(groupes, titres);
    EXPECT_GT(groupes, 0);
}

// Match page: per sheet a title, then per team its header, one row per
// player line, the P.V./IMP/IVm header and its values.
void verifierMatch(const Noeud &doc, const QString &brut)
{
    const int joueurs = compte(brut, QStringLiteral("<TD ColSpan=\"2\" align=Left>"));
    const int feuilles = compte(brut, QStringLiteral("height=\"37\""));
    ASSERT_GT(feuilles, 0);
    int lignesJoueurs = 0, entetes = 0, bilans = 0, titres = 0;
    for (const Noeud *t : elements(doc, QStringLiteral("table")))
        for (const Noeud *tr : rangees(*t)) {
            const auto c = cellules(*tr);
            if (titre(*tr))
                ++titres;
            if (c.size() == 6 && propre(*c[2]) == QLatin1String("Nb Donnes"))
                ++entetes;
            else if (c.size() == 6 && entier(propre(*c[2])))
                ++lignesJoueurs;
            if (c.size() == 5 && propre(*c[3]) == QLatin1String("IVm"))
                ++bilans;
        }
    EXPECT_EQ(titres, feuilles);
    EXPECT_EQ(entetes, 2 * feuilles);
    EXPECT_EQ(bilans, 2 * feuilles);
    EXPECT_EQ(lignesJoueurs, joueurs);
    EXPECT_GT(joueurs, 0);
}

TEST(PagesNavigateur, GoldenPagesAsChromiumReadsThem)
{
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty()) {
        if (qEnvironmentVariable("CI") == QLatin1String("true"))
            FAIL() << "chromium is missing: scripts/install-deps installs it";
        GTEST_SKIP() << "chromium is not installed (scripts/install-deps installs it); "
                        "the golden pages were not checked in a browser";
    }
    const QDir dossier(QStringLiteral(VORN_TEST_DATA "/pages"));
    const QStringList pages = dossier.entryList({QStringLiteral("*.htm")}, QDir::Files);
    ASSERT_FALSE(pages.isEmpty());
    int avecDupont = 0;
    int motsAccentues = 0;
    for (const QString &nom : pages) {
        SCOPED_TRACE(nom.toStdString());
        QFile f(dossier.filePath(nom));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray octets = f.readAll();
        const QString brut = platform::fromAnsi(octets);
        QString erreur;
        const QByteArray dom = domChromium(chromium, f.fileName(), &erreur);
        ASSERT_TRUE(erreur.isEmpty()) << erreur.toStdString();
        const QString texteDom = QString::fromUtf8(dom);
        ASSERT_FALSE(texteDom.contains(QChar::ReplacementCharacter));
        const auto doc = lireArbre(texteDom);

        // Accents: the title, whether written as entities or as bytes, and
        // every accented word of the page read through the default charset.
        const auto enTete = elements(*doc, QStringLiteral("title"));
        ASSERT_EQ(enTete.size(), 1);
        EXPECT_TRUE(propre(*enTete[0]).startsWith(QStringLiteral("Compétitions Résultats ")))
            << propre(*enTete[0]).toStdString();
        const QString texteLu = texteDe(*doc);
        static const QRegularExpression mot(QStringLiteral("[\\w]+"),
                                            QRegularExpression::UseUnicodePropertiesOption);
        for (auto it = mot.globalMatch(brut); it.hasNext();) {
            const QString m = it.next().captured(0);
            if (std::any_of(m.begin(), m.end(), [](QChar c) { return c.unicode() > 0x7F; })) {
                ++motsAccentues;
                EXPECT_TRUE(texteLu.contains(m)) << m.toStdString();
            }
        }

        // Rows: the browser keeps every row the page writes and makes none
        // up (a cell outside a row would give one), and every row of a block
        // spans the same number of columns.
        EXPECT_EQ(elements(*doc, QStringLiteral("tr")).size(),
                  compte(brut, QStringLiteral("<tr[\\s>]")));
        for (const Noeud *t : elements(*doc, QStringLiteral("table")))
            for (const auto &b : blocs(*t)) {
                int w = -1;
                for (const Noeud *tr : b) {
                    if (cellules(*tr).isEmpty())
                        continue;
                    if (w < 0)
                        w = largeur(*tr);
                    EXPECT_EQ(largeur(*tr), w) << propre(*tr).left(60).toStdString();
                }
            }

        // Every "<" and ">" the reader sees is one the page escaped: no
        // markup shows as text.
        QStringList t;
        textes(*doc, t);
        const QString visible = t.join(QString());
        EXPECT_EQ(visible.count(QLatin1Char('<')), brut.count(QLatin1String("&lt;")));
        EXPECT_EQ(visible.count(QLatin1Char('>')), brut.count(QLatin1String("&gt;")));

        // A name holding markup stays text (escaped or not, the page that
        // names the team is checked).
        if (octets.contains("Dupont &")) {
            ++avecDupont;
            EXPECT_TRUE(std::any_of(t.begin(), t.end(),
                                    [](const QString &x) { return x.contains(Dupont); }));
            for (const Noeud *b : elements(*doc, QStringLiteral("b")))
                EXPECT_NE(propre(*b).toStdString(), "SA");
            EXPECT_TRUE(dom.contains("Dupont &amp; Fils &lt;b&gt;SA&lt;/b&gt;"));
        }

        if (nom == QLatin1String("Challenge.htm") || nom == QLatin1String("ChallengeCat.htm"))
            verifierClassement(*doc, brut, 0, 1);
        else if (nom.startsWith(QLatin1String("Quatre")))
            verifierQuatre(*doc, brut);
        else if (nom.startsWith(QLatin1String("Match")))
            verifierMatch(*doc, brut);
        else
            verifierClassement(*doc, brut, 1, 2);
    }
    EXPECT_GT(avecDupont, 0) << "no golden page holds the team whose name carries markup";
    EXPECT_GT(motsAccentues, 0);
}

} // namespace
