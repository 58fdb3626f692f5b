#include "manager/calendar.h"

#include "manager/core/vorn_dec.h"
#include "manager/impression.h"
#include "platform/clock/clock.h"
#include "platform/dialogs/dialogs.h"
#include "platform/format/format.h"
#include "platform/forms/application.h"
#include "platform/inifile/inifile.h"
#include "platform/text/convert.h"
#include "platform/text/linefile.h"
#include "report/data/frdataset.h"
#include "report/objects/frreport.h"

#include <QCollator>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

using platform::Champ;

namespace
{

const QString kSection = QStringLiteral("Calendart");

QPushButton *bouton(QWidget *parent, const QString &name, const QString &text,
                    const QRect &geometry)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    return b;
}

QLabel *libelle(QWidget *parent, const QString &text, const QRect &geometry)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(geometry);
    return l;
}

// A list box whose items run down, then into a second column.
QListWidget *listeFichiers(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *l = new QListWidget(parent);
    l->setObjectName(name);
    l->setGeometry(geometry);
    l->setSelectionMode(QAbstractItemView::ExtendedSelection);
    l->setFlow(QListView::TopToBottom);
    l->setWrapping(true);
    l->setResizeMode(QListView::Adjust);
    l->setGridSize(QSize((geometry.width() - 8) / 2, 20));
    return l;
}

void remplir(QListWidget *liste, const QStringList &items)
{
    const QSignalBlocker bloque(liste);
    liste->clear();
    liste->addItems(items);
}

platform::TDateTime dateDe(const QDateEdit *picker)
{
    return platform::toDateTime(picker->date());
}

} // namespace

TVorn_FCalendar::TVorn_FCalendar(QWidget *parent)
    : platform::TForm(QStringLiteral("Vorn_FCalendar"), parent)
{
    setCaption(QStringLiteral("Editions des calendriers Clubs"));
    setFixedSize(900, 650);

    libelle(this, QStringLiteral("Date  de début"), {12, 10, 140, 20});
    DateDebut = new QDateEdit(this);
    DateDebut->setObjectName(QStringLiteral("DateDebut"));
    DateDebut->setGeometry(12, 30, 140, 26);
    libelle(this, QStringLiteral("Date  de Fin"), {164, 10, 140, 20});
    DateFin = new QDateEdit(this);
    DateFin->setObjectName(QStringLiteral("DateFin"));
    DateFin->setGeometry(164, 30, 140, 26);
    for (QDateEdit *d : {DateDebut, DateFin}) {
        d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        d->setCalendarPopup(true);
    }
    BtRecherche = bouton(this, QStringLiteral("BtRecherche"),
                         QStringLiteral("Répertoire des Calendriers"), {320, 28, 210, 30});
    LRepertoire = libelle(this, QString(), {540, 30, 348, 26});
    LRepertoire->setObjectName(QStringLiteral("LRepertoire"));
    LRepertoire->setFrameShape(QFrame::Panel);
    LRepertoire->setFrameShadow(QFrame::Sunken);

    libelle(this, QStringLiteral("Calendriers trouvés"), {12, 68, 300, 20});
    LBFichiers = listeFichiers(this, QStringLiteral("LBFichiers"), {12, 88, 420, 150});
    libelle(this, QStringLiteral("Calendriers sélectionnés"), {468, 68, 300, 20});
    LBTravail = listeFichiers(this, QStringLiteral("LBTravail"), {468, 88, 420, 150});
    BSelectionner = bouton(this, QStringLiteral("BSelectionner"), QStringLiteral("Sélectionner"),
                           {12, 244, 140, 30});
    BDeselectionner = bouton(this, QStringLiteral("BDeselectionner"),
                             QStringLiteral("Désélectionner"), {158, 244, 140, 30});

    // The five code lines side by side: the codes met, the edit where a
    // label is typed ("code=label") and its "Valider".
    std::array<QListWidget **, manager::NombreCodes> listes = {&LBPhase, &LbEpreuve, &LbCategorie,
                                                               &LbLieu, &LbArbitre};
    std::array<QLineEdit **, manager::NombreCodes> saisies = {&EPhase, &EEpreuve, &ECategorie,
                                                              &ELieu, &EArbitre};
    std::array<QPushButton **, manager::NombreCodes> boutons = {&BtPhase, &BtEpreuve, &BtCategorie,
                                                                &BtLieu, &BtArbitre};
    const char *prefixes[] = {"LB", "Lb", "Lb", "Lb", "Lb"};
    for (int c = 0; c < manager::NombreCodes; ++c) {
        const QString section = manager::sectionCode(c);
        const int x = 12 + c * 176;
        libelle(this, section, {x, 286, 170, 20});
        auto *l = new QListWidget(this);
        l->setObjectName(QString::fromLatin1(prefixes[c]) + section);
        l->setGeometry(x, 306, 170, 220);
        *listes[std::size_t(c)] = l;
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1Char('E') + section);
        e->setGeometry(x, 532, 170, 26);
        *saisies[std::size_t(c)] = e;
        *boutons[std::size_t(c)] = bouton(this, QStringLiteral("Bt") + section,
                                          QStringLiteral("Valider"), {x, 562, 170, 28});
        (*boutons[std::size_t(c)])->setEnabled(false);
    }

    BtEdition =
        bouton(this, QStringLiteral("BtEdition"), QStringLiteral("Edition"), {12, 606, 140, 32});
    BtEdition->setEnabled(false);
    BtQuitter =
        bouton(this, QStringLiteral("BtQuitter"), QStringLiteral("Quitter"), {748, 606, 140, 32});

    frReport1 = new report::TfrReport(this);
    frReport1->setObjectName(QStringLiteral("frReport1"));
    frReport1->OnGetValue = [this](const QString &name, report::FrVariant &value) {
        frReport1GetValue(name, value);
    };
    // The data bands find them by name among the window's components.
    frUserDataset1 = new report::TfrUserDataset(this);
    frUserDataset1->setObjectName(QStringLiteral("frUserDataset1"));
    frUserDataset2 = new report::TfrUserDataset(this);
    frUserDataset2->setObjectName(QStringLiteral("frUserDataset2"));
    for (report::TfrUserDataset *d : {frUserDataset1, frUserDataset2}) {
        d->RangeEnd = report::reCount;
        d->RangeEndCount = 0;
    }
    // The engine looks at a group's lines before it prints the group (and
    // so before the template asks for "Titre"): each move to a group gives
    // the line source that group's count.
    const auto groupeCourant = [this](QObject *) {
        const int g = frUserDataset1->RecNo;
        frUserDataset2->RangeEndCount =
            g >= 0 && g < m_impression.groupes()
                ? platform::StrToIntDef(Champ(m_impression.lignes.at(m_impression.titres.at(g)), 1),
                                        0)
                : 0;
    };
    frUserDataset1->OnFirst = groupeCourant;
    frUserDataset1->OnNext = groupeCourant;

    using platform::handler;
    using W = TVorn_FCalendar;
    connect(BtQuitter, &QPushButton::clicked, this, handler(this, &W::BtQuitterClick));
    connect(BtRecherche, &QPushButton::clicked, this, handler(this, &W::BtRechercheClick));
    connect(DateDebut, &QDateEdit::dateChanged, this, handler(this, &W::DateDebutChange));
    connect(DateFin, &QDateEdit::dateChanged, this, handler(this, &W::DateFinChange));
    connect(LBFichiers, &QListWidget::itemSelectionChanged, this,
            handler(this, &W::LBFichiersClick));
    connect(BSelectionner, &QPushButton::clicked, this, handler(this, &W::BSelectionnerClick));
    connect(BDeselectionner, &QPushButton::clicked, this, handler(this, &W::BDeselectionnerClick));
    for (int c = 0; c < manager::NombreCodes; ++c) {
        QListWidget *l = *listes[std::size_t(c)];
        QPushButton *b = *boutons[std::size_t(c)];
        connect(l, &QListWidget::itemClicked, this,
                platform::handler([this, l] { LBPhaseClick(l); }));
        connect(b, &QPushButton::clicked, this, platform::handler([this, b] { BtPhaseClick(b); }));
    }
    connect(BtEdition, &QPushButton::clicked, this, handler(this, &W::BtEditionClick));
}

TVorn_FCalendar::~TVorn_FCalendar() = default;

void TVorn_FCalendar::FormActivate()
{
    if (m_genreMontre == Caption())
        return;
    if (m_genreMontre) {
        // Another kind of printout: the same calendars, built for it.
        m_genreMontre = Caption();
        TraiterCalendriers();
        return;
    }
    m_genreMontre = Caption();
    viderResultat();
    const platform::TIniFile ini(fichierIni());
    const platform::TDateTime aujourdhui = platform::Date();
    {
        // Showing the saved dates is no change of date.
        const QSignalBlocker b1(DateDebut);
        const QSignalBlocker b2(DateFin);
        DateDebut->setDate(
            platform::dateOf(ini.ReadDate(kSection, QStringLiteral("Date Depart"), aujourdhui)));
        DateFin->setDate(
            platform::dateOf(ini.ReadDate(kSection, QStringLiteral("Date Fin"), aujourdhui)));
    }
    LRepertoire->setText(ini.ReadString(kSection, QStringLiteral("Repertoire"), QString()));
    ListerCalendriers();
}

void TVorn_FCalendar::FormDeactivate()
{
    // The result stays a member; the next activation rebuilds it.
}

void TVorn_FCalendar::BtQuitterClick()
{
    Hide();
}

void TVorn_FCalendar::BtRechercheClick()
{
    QString choisi;
    if (!platform::SelectDirectory(QStringLiteral("Chercher les fichiers Calendriers"), RepAppli,
                                   choisi) ||
        choisi.isEmpty())
        return;
    const QString motif = choisi + QStringLiteral("/*.ics");
    platform::TIniFile(fichierIni()).WriteString(kSection, QStringLiteral("Repertoire"), motif);
    LRepertoire->setText(motif);
    ListerCalendriers();
}

void TVorn_FCalendar::DateDebutChange()
{
    platform::TIniFile(fichierIni())
        .WriteDate(kSection, QStringLiteral("Date Depart"), dateDe(DateDebut));
}

void TVorn_FCalendar::DateFinChange()
{
    platform::TIniFile(fichierIni())
        .WriteDate(kSection, QStringLiteral("Date Fin"), dateDe(DateFin));
}

QString TVorn_FCalendar::dossier() const
{
    const QString motif = LRepertoire->text();
    return motif.left(std::max<qsizetype>(0, motif.size() - 5));
}

void TVorn_FCalendar::ListerCalendriers()
{
    QStringList noms;
    if (!LRepertoire->text().isEmpty()) {
        const QDir d(dossier().isEmpty() ? QStringLiteral(".") : dossier());
        // Any letter case of the extension, as the original platform matched.
        for (const QString &n : d.entryList(QDir::Files | QDir::Hidden | QDir::System))
            if (n.endsWith(QLatin1String(".ics"), Qt::CaseInsensitive))
                noms.append(n);
        QCollator collator{QLocale(QLocale::French, QLocale::France)};
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::stable_sort(noms.begin(), noms.end(), [&](const QString &a, const QString &b) {
            return collator.compare(a, b) < 0;
        });
    }
    remplir(LBFichiers, noms);
    remplir(LBTravail, {});
    TraiterCalendriers();
}

void TVorn_FCalendar::LBFichiersClick()
{
    QStringList choisis;
    for (int i = 0; i < LBFichiers->count(); ++i)
        if (LBFichiers->item(i)->isSelected())
            choisis.append(LBFichiers->item(i)->text());
    remplir(LBTravail, choisis);
    TraiterCalendriers();
}

void TVorn_FCalendar::BSelectionnerClick()
{
    {
        const QSignalBlocker bloque(LBFichiers);
        LBFichiers->selectAll();
    }
    LBFichiersClick();
}

void TVorn_FCalendar::BDeselectionnerClick()
{
    {
        const QSignalBlocker bloque(LBFichiers);
        LBFichiers->clearSelection();
    }
    remplir(LBTravail, {});
    TraiterCalendriers();
}

void TVorn_FCalendar::viderResultat()
{
    for (int c = 0; c < manager::NombreCodes; ++c) {
        remplir(liste(c), {});
        // A label typed and not recorded stays, with its "Valider".
        if (!libelleNonValide(c).isEmpty())
            continue;
        saisie(c)->clear();
        valider(c)->setEnabled(false);
    }
    m_lecture.clear();
    m_impression = manager::Impression();
    BtEdition->setEnabled(false);
}

void TVorn_FCalendar::TraiterCalendriers()
{
    viderResultat();
    // Without a folder there is nowhere to write the two text files.
    if (LRepertoire->text().isEmpty())
        return;
    const QString d = dossier();
    try {
        for (int i = 0; i < LBTravail->count(); ++i)
            LireCalendrier(d + LBTravail->item(i)->text());
    } catch (...) {
        // A refused calendar (a date that cannot be read, too many lines)
        // stops everything: no partial result, and both text files keep
        // what they held. Nothing was read, so none stays selected.
        m_lecture.clear();
        {
            const QSignalBlocker bloque(LBFichiers);
            LBFichiers->clearSelection();
        }
        remplir(LBTravail, {});
        throw;
    }
    m_lecture.finir();
    for (int c = 0; c < manager::NombreCodes; ++c)
        remplir(liste(c), m_lecture.codes[std::size_t(c)]);
    // Both text files or neither.
    platform::LineFile::checkWritable(d + QStringLiteral("resultat.text"));
    platform::LineFile::checkWritable(d + QStringLiteral("imprime.text"));
    platform::LineFile::write(d + QStringLiteral("resultat.text"), m_lecture.lignes);
    if (!m_lecture.lignes.isEmpty())
        ConstruireImpression();
    platform::LineFile::write(d + QStringLiteral("imprime.text"), m_impression.lignes);
    BtEdition->setEnabled(!m_impression.lignes.isEmpty());
}

void TVorn_FCalendar::LireCalendrier(const QString &fichier)
{
    manager::LireCalendrier(fichier, dateDe(DateDebut), dateDe(DateFin), m_lecture);
}

void TVorn_FCalendar::ConstruireImpression()
{
    const QString caption = Caption();
    const QChar genre = caption.size() > 25 ? caption.at(25) : QChar();
    m_impression =
        manager::ConstruireImpression(m_lecture, genre, manager::LibellesCalendrier(fichierIni()));
}

int TVorn_FCalendar::ligneDe(QObject *sender) const
{
    const QString nom = sender ? sender->objectName() : QString();
    for (int c = 0; c < manager::NombreCodes; ++c) {
        const QString section = manager::sectionCode(c);
        for (const char *prefixe : {"LB", "E", "Bt"})
            if (nom.compare(QString::fromLatin1(prefixe) + section, Qt::CaseInsensitive) == 0)
                return c;
    }
    return -1;
}

namespace
{
// Searched at any depth: on a screen too small for the window its controls
// live in a scroll area's page, no longer directly in the window.
template <class T> T *enfant(const QObject *parent, const QString &nom)
{
    for (T *w : parent->findChildren<T *>())
        if (w->objectName().compare(nom, Qt::CaseInsensitive) == 0)
            return w;
    return nullptr;
}
} // namespace

QListWidget *TVorn_FCalendar::liste(int code) const
{
    return enfant<QListWidget>(this, QStringLiteral("LB") + manager::sectionCode(code));
}

QLineEdit *TVorn_FCalendar::saisie(int code) const
{
    return enfant<QLineEdit>(this, QStringLiteral("E") + manager::sectionCode(code));
}

QPushButton *TVorn_FCalendar::valider(int code) const
{
    return enfant<QPushButton>(this, QStringLiteral("Bt") + manager::sectionCode(code));
}

QString TVorn_FCalendar::libelleNonValide(int c) const
{
    const QStringList parties = saisie(c)->text().split(QLatin1Char('='));
    const QString code = manager::texteDeChamp(parties.value(0)).trimmed();
    const QString texte = manager::texteDeChamp(parties.value(1)).trimmed();
    if (code.isEmpty() || texte.isEmpty() ||
        platform::TIniFile(fichierIni()).ReadString(manager::sectionCode(c), code, QString()) ==
            texte)
        return QString();
    return QStringLiteral("Le libellé %1 (%2) n'est pas enregistré (Valider).")
        .arg(platform::excerpt(saisie(c)->text()), manager::sectionCode(c));
}

std::optional<platform::TravailEnAttente> TVorn_FCalendar::travailEnAttente()
{
    QStringList dits;
    for (int c = 0; c < manager::NombreCodes; ++c)
        if (const QString dit = libelleNonValide(c); !dit.isEmpty())
            dits << dit;
    if (dits.isEmpty())
        return std::nullopt;
    platform::TravailEnAttente travail;
    travail.question =
        dits.join(u'\n') + (dits.size() == 1 ? QStringLiteral("\nVoulez-vous l'abandonner ?")
                                             : QStringLiteral("\nVoulez-vous les abandonner ?"));
    travail.abandon = [this] {
        for (int c = 0; c < manager::NombreCodes; ++c)
            if (!libelleNonValide(c).isEmpty()) {
                saisie(c)->clear();
                valider(c)->setEnabled(false);
            }
    };
    // The labels belong to the settings file, not to a season.
    travail.gardeeAuChangementDeSaison = true;
    return travail;
}

void TVorn_FCalendar::LBPhaseClick(QObject *sender)
{
    const int c = ligneDe(sender);
    if (c < 0)
        return;
    // Another code shown in the field replaces the label typed there.
    if (const QString dit = libelleNonValide(c); !dit.isEmpty()) {
        platform::TravailEnAttente travail;
        travail.question = dit + QStringLiteral("\nVoulez-vous l'abandonner ?");
        if (!demanderTravail(travail))
            return;
    }
    QListWidget *l = liste(c);
    QLineEdit *e = saisie(c);
    const QString code = l->currentItem() ? l->currentItem()->text() : QString();
    e->setText(code == QLatin1String("*") ? QString() : code);
    if (e->text().isEmpty()) {
        valider(c)->setEnabled(false);
        return;
    }
    valider(c)->setEnabled(true);
    e->setText(
        code + QLatin1Char('=') +
        platform::TIniFile(fichierIni()).ReadString(manager::sectionCode(c), code, QString()));
}

void TVorn_FCalendar::BtPhaseClick(QObject *sender)
{
    const int c = ligneDe(sender);
    if (c < 0)
        return;
    const QStringList parties = saisie(c)->text().split(QLatin1Char('='));
    const QString code = manager::texteDeChamp(parties.value(0)).trimmed();
    const QString texte = manager::texteDeChamp(parties.value(1)).trimmed();
    if (code.isEmpty() || texte.isEmpty())
        return;
    platform::TIniFile(fichierIni()).WriteString(manager::sectionCode(c), code, texte);
}

void TVorn_FCalendar::BtEditionClick()
{
    frUserDataset1->RangeEndCount = m_impression.groupes();
    frUserDataset2->RangeEndCount = 0;
    if (manager::chargerModele(*frReport1, QStringLiteral("calendrier.frf")))
        frReport1->ShowReport();
}

void TVorn_FCalendar::frReport1GetValue(const QString &parName, report::FrVariant &parValue)
{
    // Answered from the record numbers, so that a second preparation (the
    // preview prepares again after a page setup) and any order of the names
    // give the same values.
    const int groupe = frUserDataset1->RecNo;
    if (parName == QLatin1String("Date")) {
        parValue = platform::DateToStr(platform::Date());
    } else if (parName == QLatin1String("SAISON")) {
        parValue = SaisonEnCours;
    } else if (parName == QLatin1String("Titre")) {
        const QString titre = groupe >= 0 && groupe < m_impression.groupes()
                                  ? m_impression.lignes.at(m_impression.titres.at(groupe))
                                  : QString();
        frUserDataset2->RangeEndCount = platform::StrToIntDef(Champ(titre, 1), 0);
        parValue = Champ(titre, 0);
    } else {
        static const char *const champs[] = {"Dates",      "Phases", "Epreuves",
                                             "Categories", "Lieux",  "Arbitres"};
        const QString ligne = m_impression.detail(groupe, frUserDataset2->RecNo);
        for (int f = 0; f < 6; ++f)
            if (parName == QLatin1String(champs[f])) {
                parValue = Champ(ligne, f);
                return;
            }
        if (parName == QLatin1String("Jour"))
            parValue = manager::jourDeLaSemaine(Champ(ligne, 0));
    }
}
