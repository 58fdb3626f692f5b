#include "manager/core/homologation.h"

#include "manager/core/ligneresultat.h"
#include "manager/core/saisie.h"
#include "manager/core/tableaugroupe.h"
#include "platform/text/convert.h"
#include "platform/text/linefile.h"

#include <QHash>
#include <QPair>

void ListeHomologation::vider()
{
    m_lignes.clear();
    TotalPE = 0;
    TotalPC = 0;
}

void ListeHomologation::construire(const QStringList &lignesMatch, int feuilles, qint64 &pvA,
                                   qint64 &pvB)
{
    m_lignes.clear();
    pvA = 0;
    pvB = 0;
    // First player line of each half and the half's summary line.
    static const int moities[4][2] = {{2, 6}, {7, 11}, {14, 18}, {19, 23}};
    for (int s = 0; s < feuilles; ++s) {
        const int b = 50 * s;
        for (const auto &m : moities) {
            const QString resume = lignesMatch.value(b + m[1]);
            const QString pe = platform::Champ(resume, 2);
            const QString pc = platform::Champ(resume, 3);
            for (int k = 0; k < 4; ++k) {
                const QString joueur = lignesMatch.value(b + m[0] + k);
                m_lignes << ligneResultatEquipe(pe, platform::Champ(joueur, 0),
                                                platform::Champ(joueur, 1),
                                                platform::Champ(joueur, 2), pc);
            }
        }
        pvA = AjouteEntier(pvA, platform::Champ(lignesMatch, b + 12, 3));
        pvB = AjouteEntier(pvB, platform::Champ(lignesMatch, b + 24, 3));
    }
}

void ListeHomologation::fusionner()
{
    TotalPE = 0;
    TotalPC = 0;
    // Every line of a player (same name and licence) merges into his first
    // one, the later lines added from the last back; one pass with the
    // players' first lines looked up, so a long match file merges in time
    // proportional to its lines.
    QHash<QPair<QString, QString>, qsizetype> premiere;
    QList<QList<qsizetype>> suivantes;
    QList<qsizetype> premieres;
    for (qsizetype k = 0; k < m_lignes.size(); ++k) {
        const QPair<QString, QString> cle{platform::Champ(m_lignes[k], 1),
                                          platform::Champ(m_lignes[k], 3)};
        const auto it = premiere.constFind(cle);
        if (it == premiere.cend()) {
            premiere.insert(cle, premieres.size());
            premieres.append(k);
            suivantes.append(QList<qsizetype>());
        } else {
            suivantes[*it].append(k);
        }
    }
    QStringList fusionnees;
    fusionnees.reserve(premieres.size());
    for (qsizetype p = 0; p < premieres.size(); ++p) {
        const QString &l = m_lignes[premieres[p]];
        if (suivantes[p].isEmpty()) {
            fusionnees.append(l);
            continue;
        }
        qint64 pe = platform::StrToInt64(platform::Champ(l, 0));
        qint64 pc = platform::StrToInt64(platform::Champ(l, 7));
        for (qsizetype k = suivantes[p].size() - 1; k >= 0; --k) {
            const QString &autre = m_lignes[suivantes[p][k]];
            pe = AjouteEntier(pe, platform::Champ(autre, 0));
            pc = AjouteEntier(pc, platform::Champ(autre, 7));
        }
        fusionnees.append(ligneResultatEquipe(QString::number(pe), platform::Champ(l, 1),
                                              platform::Champ(l, 3), platform::Champ(l, 4),
                                              QString::number(pc)));
    }
    m_lignes = fusionnees;
    for (const QString &line : std::as_const(m_lignes)) {
        const QString texte = platform::Champ(line, 0);
        const qint64 pe = platform::StrToInt64(texte);
        // Whole points, back in hundredths: near the 64-bit limit the
        // rounding may go past it.
        const qint64 arrondi =
            MultiplieValeur(platform::roundHalfEven(static_cast<double>(pe) / 100.0), 100, texte);
        TotalPE = AjouteValeur(TotalPE, arrondi, texte);
        if (!platform::Champ(line, 3).isEmpty())
            TotalPC = AjouteEntier(TotalPC, platform::Champ(line, 7));
    }
}

namespace
{

// A team index read from the sheet, usable as a row and a column of the
// table; -1 otherwise.
int indexDansTableau(const QString &texte, const TableauGroupe &tableau)
{
    bool ok = false;
    const int i = texte.toInt(&ok);
    if (!ok || i < 0 || i >= tableau.lignes() - 1 || i > tableau.colonnes() - 3)
        return -1;
    return i;
}

} // namespace

ReportTableau enregistrerHomologation(ListeHomologation &liste, TableauGroupe &tableau,
                                      const QStringList &lignesMatch, int feuilles,
                                      const std::function<void(const TableauGroupe &)> &sauver)
{
    try {
        qint64 pvA = 0;
        qint64 pvB = 0;
        liste.construire(lignesMatch, feuilles, pvA, pvB);
        // Merged before the table is posted: a sheet whose PE or PC was
        // never computed stops here and leaves the table as it was.
        liste.fusionner();
        const int iA = indexDansTableau(platform::Champ(lignesMatch, 1, 1), tableau);
        const int iB = indexDansTableau(platform::Champ(lignesMatch, 13, 1), tableau);
        ReportTableau r = ReportTableau::HorsTableau;
        if (feuilles > 0 && iA >= 0 && iB >= 0) {
            TableauGroupe nouveau = tableau;
            nouveau.setCellule(iA + 1, iB + 1, QString::number(pvA));
            nouveau.setCellule(iB + 1, iA + 1, QString::number(pvB));
            nouveau.recalculerTotal(iA + 1);
            nouveau.recalculerTotal(iB + 1);
            sauver(nouveau);
            tableau = nouveau;
            r = ReportTableau::Reporte;
        }
        return r;
    } catch (...) {
        liste.vider();
        throw;
    }
}
