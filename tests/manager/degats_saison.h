#pragma once
// Damaged copies of a season file, as a new user might make them by accident:
// cut at a line end or mid-line, a digit of a numeric field turned into a
// letter, a line doubled or removed, emptied, junk, NUL bytes. Each copy says
// which line (from 1) the damage is on, so a refusal can be checked to name
// it.
#include "platform/text/codec.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace degats
{

enum class Genre { CoupeFinLigne, CoupeMilieu, Lettre, Doublee, Retiree, Vide, Bruit, Nul };

struct Degat {
    Genre genre;
    QString nom;
    QByteArray octets;
    int ligne = 0; // line of the damage, from 1; 0 for the whole file
};

// The file's bytes as the program writes it: CR LF after every line.
inline QByteArray octets(const QStringList &lignes)
{
    QByteArray out;
    for (const QString &l : lignes)
        out += platform::toAnsi(l) + "\r\n";
    return out;
}

// Every damage of a file of these lines; numeriques gives the numeric fields
// (from 0) of line i (from 0).
inline QList<Degat> degats(const QStringList &lignes,
                           const std::function<QList<int>(int)> &numeriques)
{
    QList<Degat> out;
    const int n = int(lignes.size());
    for (int i = 0; i < n; ++i) {
        const QString num = QString::number(i + 1);
        out.append({Genre::CoupeFinLigne, QStringLiteral("coupé après la ligne ") + num,
                    octets(lignes.mid(0, i + 1)), i + 1});
        if (lignes[i].size() > 1)
            out.append(
                {Genre::CoupeMilieu, QStringLiteral("coupé au milieu de la ligne ") + num,
                 octets(lignes.mid(0, i)) + platform::toAnsi(lignes[i].left(lignes[i].size() / 2)),
                 i + 1});
        for (int champ : numeriques(i)) {
            QStringList l = lignes;
            // Field champ: between its ";" and the next one.
            int debut = 0;
            for (int k = 0; k < champ && debut >= 0; ++k)
                debut = int(l[i].indexOf(QLatin1Char(';'), debut)) + 1;
            const int fin = int(l[i].indexOf(QLatin1Char(';'), debut));
            int chiffre = -1;
            for (int c = debut; c < fin && chiffre < 0; ++c)
                if (l[i][c].isDigit())
                    chiffre = c;
            if (chiffre < 0)
                continue;
            l[i][chiffre] = QLatin1Char('X');
            out.append({Genre::Lettre,
                        QStringLiteral("lettre dans le champ %1 de la ligne ").arg(champ) + num,
                        octets(l), i + 1});
        }
        QStringList doublee = lignes;
        doublee.insert(i, lignes[i]);
        out.append(
            {Genre::Doublee, QStringLiteral("ligne doublée ") + num, octets(doublee), i + 2});
        QStringList retiree = lignes;
        retiree.removeAt(i);
        out.append(
            {Genre::Retiree, QStringLiteral("ligne retirée ") + num, octets(retiree), i + 1});
        if (lignes[i].size() > 1) {
            QByteArray nul = octets(lignes);
            nul[octets(lignes.mid(0, i)).size() + lignes[i].size() / 2] = '\0';
            out.append({Genre::Nul, QStringLiteral("octet nul dans la ligne ") + num, nul, i + 1});
        }
    }
    out.append({Genre::Vide, QStringLiteral("0 octet"), QByteArray(), 0});
    out.append({Genre::Nul, QStringLiteral("rien que des octets nuls"), QByteArray(64, '\0'), 0});
    // Junk, the same at every run: bytes of a simple congruential sequence.
    QByteArray bruit;
    quint32 x = 20240917;
    for (int k = 0; k < 300; ++k) {
        x = x * 1103515245u + 12345u;
        bruit += char(x >> 23);
    }
    out.append({Genre::Bruit, QStringLiteral("300 octets au hasard"), bruit, 0});
    return out;
}

} // namespace degats
