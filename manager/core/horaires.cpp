#include "manager/core/horaires.h"
#include "manager/core/arrondi.h"
#include "platform/text/exceptions.h"

namespace
{

int arrondiCinqSup(int minutes)
{
    return (minutes + 4) / 5 * 5;
}

const char *const kJours[7] = {"Dimanche ", "Lundi ",    "Mardi ", "Mercredi ",
                               "Jeudi ",    "Vendredi ", "Samedi "};

} // namespace

QString HeureTexte(int minutes)
{
    return QString::number(minutes / 60) + QLatin1Char('h') +
           QString::number(minutes % 60).rightJustified(2, QLatin1Char('0'));
}

int TexteMinutes(const QString &text)
{
    if (text.length() == 5)
        return platform::StrToInt(text.mid(0, 2)) * 60 + platform::StrToInt(text.mid(3, 2));
    return platform::StrToInt(text.mid(0, 1)) * 60 + platform::StrToInt(text.mid(2, 2));
}

int DureePause(int type, int participants)
{
    const int tables = type == TypePaires ? participants : 2 * participants;
    const int base = type == TypePaires ? 45 : 30;
    return tables >= 29 ? base + (tables - 28) : base;
}

int IntervalleNormal(int type, int seance)
{
    switch (type) {
    case TypePaires:
        return 20;
    case TypeSuisse:
        return seance == 1 ? 10 : 15;
    case TypePoule:
        return 10;
    default:
        return -1;
    }
}

int DureeSeance(int donnes, bool ecrans)
{
    return int(ecrans ? DivisionArrondiePaire(qint64(donnes) * 33, 4)
                      : DivisionArrondiePaire(qint64(donnes) * 15, 2));
}

HorairesResultat CalculHoraires(const HorairesEntree &in)
{
    HorairesResultat out;
    const int n = in.seances;
    const QString nbSe = QString::number(n);
    const QString jour = QString::fromUtf8(kJours[(platform::DayOfWeek(in.date) + 6) % 7]);

    out.phrase = jour;
    out.modalite = nbSe + QLatin1Char(' ');
    out.horraire = out.phrase;
    out.phrase += platform::dateOf(in.date).toString(QStringLiteral("dd/MM/yyyy")) +
                  QStringLiteral(" (") + nbSe + QLatin1Char(' ');

    QString mot = in.type == TypeAucun    ? QStringLiteral("Indéfini")
                  : in.type == TypePaires ? QStringLiteral("Séance")
                                          : QStringLiteral("Match");
    mot += n > 1 ? QStringLiteral("s ") : QStringLiteral(" ");
    mot += QStringLiteral("de ") + QString::number(in.donnes) + QStringLiteral(" donnes");
    out.phrase += mot;
    out.modalite += mot;
    out.horraire += QLatin1Char(':');

    if (in.ecran == 1) {
        out.phrase += QStringLiteral(" sans écran) :");
        out.modalite += QStringLiteral(" sans écran");
    } else {
        out.phrase += QStringLiteral(" avec écrans) :");
        out.modalite += QStringLiteral(" avec écrans");
    }

    out.sc0 = in.ecran < 0 ? in.sc0 : HeureTexte(DureeSeance(in.donnes, in.ecran == 0));
    const int duree = TexteMinutes(out.sc0);

    out.debuts.assign(std::size_t(n), QString());
    out.fins.assign(std::size_t(n), QString());
    out.debuts[0] = in.heure.left(5);
    const int depart = TexteMinutes(out.debuts[0]);
    out.fins[0] = HeureTexte(duree + depart);
    out.phrase += QLatin1Char(' ') + HeureTexte(depart);
    out.horraire += HeureTexte(depart);

    for (int i = 1; i < n; ++i) {
        const int fin = duree + TexteMinutes(out.debuts[std::size_t(i - 1)]);
        out.fins[std::size_t(i - 1)] = HeureTexte(fin);
        out.phrase += QLatin1Char('(') + HeureTexte(fin) + QStringLiteral(") ");
        const bool pause = in.pause[std::size_t(i - 1)];
        const bool repas = in.repas[std::size_t(i - 1)];
        if (!pause && !repas) {
            out.phrase += QLatin1Char('-');
            out.horraire += QStringLiteral(" -");
        } else {
            if (pause) {
                out.phrase += QStringLiteral("+Pause+");
                out.horraire += QStringLiteral(" +Pause+");
            }
            if (repas) {
                out.phrase += QStringLiteral("+Repas+");
                out.horraire += QStringLiteral(" +Repas+");
            }
        }
        const int suivant = arrondiCinqSup(fin + in.intervalle[std::size_t(i - 1)]);
        out.debuts[std::size_t(i)] = HeureTexte(suivant);
        out.phrase += QLatin1Char(' ') + HeureTexte(suivant);
        out.horraire += QLatin1Char(' ') + HeureTexte(suivant);
    }

    const int fin = duree + TexteMinutes(out.debuts[std::size_t(n - 1)]);
    out.fins[std::size_t(n - 1)] = HeureTexte(fin);
    out.phrase += QLatin1Char('(') + HeureTexte(fin) + QStringLiteral(") ");
    const int termine = arrondiCinqSup(fin + 10);
    out.phrase += QStringLiteral("- Fin vers ") + HeureTexte(termine);
    out.horraire += QStringLiteral(" - Fin vers ") + HeureTexte(termine);
    return out;
}
