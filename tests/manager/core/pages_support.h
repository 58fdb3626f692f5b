#pragma once
// The rows of a ranking page read back as a reader of the page sees them:
// entities undone, "&nbsp;" as an empty cell. Shared by the ranking tests
// of the core and of the challenge window.
#include <QList>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace vorn_test
{

// "&amp;", "&lt;" and "&gt;" undone in one pass, so that a name holding
// "&amp;" itself comes back as written.
inline QString desechapper(const QString &t)
{
    static const struct {
        const char *entite;
        char16_t car;
    } entites[] = {{"&amp;", u'&'}, {"&lt;", u'<'}, {"&gt;", u'>'}};
    QString s;
    for (qsizetype i = 0; i < t.size();) {
        bool fait = false;
        for (const auto &e : entites) {
            const QLatin1String ent(e.entite);
            if (QStringView(t).mid(i).startsWith(ent)) {
                s += QChar(e.car);
                i += ent.size();
                fait = true;
                break;
            }
        }
        if (!fait)
            s += t[i++];
    }
    return s;
}

// Text a browser shows as it stands: no markup, and every "&" opens one of
// the entities the pages write.
inline bool texteSur(const QString &t)
{
    if (t.contains(u'<') || t.contains(u'>'))
        return false;
    for (qsizetype i = t.indexOf(u'&'); i >= 0; i = t.indexOf(u'&', i + 1)) {
        const QStringView suite = QStringView(t).mid(i);
        if (!suite.startsWith(u"&amp;") && !suite.startsWith(u"&lt;") &&
            !suite.startsWith(u"&gt;") && !suite.startsWith(u"&nbsp;"))
            return false;
    }
    return true;
}

struct RangLu {
    QString couleur; // the row's attribute, empty for "<tr > "
    QString place;
    QString nom;
    QStringList points; // journées 1 to n
    QString total;
};

// Every ranking row of a page of n journées. A row whose cells are not laid
// out as place, name, n journées and total (five lines each), or a cell
// whose text holds markup, is a failure.
inline QList<RangLu> rangsLus(const QStringList &p, int n)
{
    QList<RangLu> rangs;
    const int colonnes = n + 3;
    for (qsizetype i = 0; i < p.size(); ++i) {
        const QString &l = p[i];
        if (!l.startsWith(u"<tr ") || !l.endsWith(u"> "))
            continue;
        RangLu r;
        r.couleur = l.mid(4, l.size() - 6);
        if (i + 1 + 5 * colonnes >= p.size()) {
            ADD_FAILURE() << "row cut short at line " << i;
            return rangs;
        }
        for (int k = 1; k <= colonnes; ++k) {
            const qsizetype b = i + 1 + 5 * (k - 1);
            const char *td = k == 2 ? "<td align=\"left\">" : "<td align=\"center\">";
            if (p[b] != QLatin1String(td) ||
                p[b + 1] != u"<font color=\"#000000\" face=\"Arial\" size=\"3\">" ||
                p[b + 3] != u"</font>" || p[b + 4] != u"</td>") {
                ADD_FAILURE() << "cell " << k << " of the row at line " << i << " is malformed";
                return rangs;
            }
            EXPECT_TRUE(texteSur(p[b + 2])) << "line " << b + 2 << ": " << p[b + 2].toStdString();
            const QString v = p[b + 2] == u"&nbsp;" ? QString() : p[b + 2];
            if (k == 1) {
                EXPECT_TRUE(v.endsWith(u' ')) << v.toStdString();
                r.place = v.chopped(1);
            } else if (k == 2) {
                EXPECT_TRUE(v.startsWith(u' ')) << v.toStdString();
                r.nom = desechapper(v.mid(1));
            } else if (k == colonnes) {
                r.total = v;
            } else {
                r.points << v;
            }
        }
        EXPECT_EQ(p[i + 1 + 5 * colonnes], QStringLiteral("</tr>")) << "line " << i;
        rangs << r;
        i += 5 * colonnes + 1;
    }
    return rangs;
}

} // namespace vorn_test
