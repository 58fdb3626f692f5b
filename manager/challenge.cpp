#include "manager/challenge.h"

#include "manager/core/lignechallenge.h"
#include "manager/core/pagesjournee.h"
#include "manager/core/vorn_dec.h"
#include "platform/clock/clock.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/forms/controls.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"
#include "report/data/frdataset.h"
#include "report/objects/frreport.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace platform;
using manager::MaxJournees;

namespace
{

} // namespace

TVorn_FChallenge::TVorn_FChallenge(QWidget *parent)
    : platform::TForm(QStringLiteral("Vorn_FChallenge"), parent)
{
    setCaption(QStringLiteral("Edition du classement du Challenge"));
    resize(1000, 700);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFixedHeight(110);
    StringGrid1 = new QTableWidget(2, 4, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // The user moves rows by their header; the commands read the shown order.
    StringGrid1->verticalHeader()->setSectionsMovable(true);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid1->verticalHeader()->setDefaultSectionSize(22);
    StringGrid1->setColumnWidth(1, 180);

    Bt1_Class =
        platform::newButton(this, "Bt1_Class", QStringLiteral("Edition classement général"));
    Bt_ClassPro =
        platform::newButton(this, "Bt_ClassPro", QStringLiteral("Classement Joueurs <= 40"));
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(20, 100);
    SpinEdit1->setValue(40);
    BtPageWeb = platform::newButton(this, "BtPageWeb",
                                    QStringLiteral("Création des pages du Challenge.Htm"));
    Bt_Quitter = platform::newButton(this, "Bt_Quitter", QStringLiteral("Quitter"));

    auto *boutons = new QHBoxLayout;
    boutons->addWidget(Bt1_Class);
    boutons->addWidget(Bt_ClassPro);
    boutons->addWidget(SpinEdit1);
    boutons->addWidget(BtPageWeb);
    boutons->addStretch(1);
    boutons->addWidget(Bt_Quitter);
    auto *main = new QVBoxLayout(this);
    main->addWidget(Memo1);
    main->addWidget(StringGrid1, 1);
    main->addLayout(boutons);

    composants = manager::creerImpression(
        this,
        report::pbZoom | report::pbLoad | report::pbSave | report::pbPrint | report::pbFind |
            report::pbHelp | report::pbExit,
        [this](const QString &n, report::FrVariant &v) { frReport1GetValue(n, v); });

    connect(Bt1_Class, &QPushButton::clicked, this, handler([this] { Bt1_ClassClick(Bt1_Class); }));
    connect(Bt_ClassPro, &QPushButton::clicked, this,
            handler([this] { Bt1_ClassClick(Bt_ClassPro); }));
    connect(SpinEdit1, &QSpinBox::valueChanged, this,
            handler(this, &TVorn_FChallenge::SpinEdit1Change));
    connect(BtPageWeb, &QPushButton::clicked, this, handler([this] { Bt1_ClassClick(BtPageWeb); }));
    connect(Bt_Quitter, &QPushButton::clicked, this,
            handler(this, &TVorn_FChallenge::Bt_QuitterClick));
}

void TVorn_FChallenge::vider()
{
    m_classement = {};
    m_impression = {};
    m_tournois.clear();
    StringGrid1->clearContents();
    StringGrid1->setRowCount(2);
    StringGrid1->setColumnCount(4);
}

void TVorn_FChallenge::FormActivate()
{
    // Back with the same season, tournaments and results: the ranking stays
    // as shown, its rows in the order the user gave them.
    const bool montre =
        m_saison.ouverte() && m_saison.nom() == SaisonEnCours && m_classement.nombreJournees > 0;
    if (montre) {
        ListeTournois tournois;
        bool inchange = false;
        try {
            inchange =
                tournois.charger() == ListeTournois::Chargement::Lu &&
                tournois.lignes() == m_tournois &&
                manager::CalculerClassement(m_tournois, fichierSaison(QString())) == m_classement;
        } catch (const std::exception &) {
            // Computed again below, where its error is told.
        }
        if (inchange) {
            // Its files whole again after a refusal: its commands come back.
            for (QPushButton *b : {Bt1_Class, Bt_ClassPro, BtPageWeb})
                b->setEnabled(true);
            return;
        }
    }
    const auto effacer = [this] {
        Memo1->clear();
        vider();
        StringGrid1->hide();
    };
    for (QPushButton *b : {Bt1_Class, Bt_ClassPro, BtPageWeb})
        b->setEnabled(false);
    m_saison.lire();
    // No season: nothing of the program folder is ranked.
    if (!m_saison.ouverte()) {
        effacer();
        return;
    }
    // A failed computation leaves nothing that a command could export. The
    // ranking of the same season, shown before a file was found damaged,
    // stays in sight for what it was, its commands greyed.
    try {
        ListeTournois tournois;
        QString erreur;
        if (tournois.charger(&erreur) == ListeTournois::Chargement::Illisible)
            throw EFileError(erreur);
        const manager::ClassementSaison c =
            manager::CalculerClassement(tournois.lignes(), fichierSaison(QString()));
        effacer();
        m_classement = c;
        m_tournois = tournois.lignes();
        afficher();
    } catch (...) {
        if (!montre)
            effacer();
        throw;
    }
}

void TVorn_FChallenge::afficher()
{
    for (const QString &l : m_classement.journal)
        Memo1->appendPlainText(l);
    const int n = m_classement.nombreJournees;
    if (n == 0)
        return;
    StringGrid1->setColumnCount(n + 4);
    StringGrid1->setRowCount(2 + int(m_classement.joueurs.size()));
    const char *titres[] = {"P.C.", "Nom", "Licence", "Ind."};
    for (int c = 0; c < 4; ++c) {
        platform::setCellText(StringGrid1, 0, c, QString::fromUtf8(titres[c]));
        platform::setCellText(StringGrid1, 1, c, QString());
    }
    for (int j = 0; j < n; ++j) {
        platform::setCellText(StringGrid1, 0, j + 4, m_classement.titres[j]);
        platform::setCellText(StringGrid1, 1, j + 4, m_classement.dates[j]);
    }
    int r = 2;
    for (const manager::LigneJoueurClassement &l : m_classement.joueurs) {
        platform::setCellText(StringGrid1, r, 0, l.total);
        platform::setCellText(StringGrid1, r, 1, l.nom);
        platform::setCellText(StringGrid1, r, 2, l.licence);
        platform::setCellText(StringGrid1, r, 3, l.iv);
        for (int j = 0; j < n; ++j)
            platform::setCellText(StringGrid1, r, j + 4, l.journees[j]);
        ++r;
    }
    // Whole tournament names and dates over the journée columns.
    for (int j = 0; j < n; ++j)
        StringGrid1->resizeColumnToContents(j + 4);
    StringGrid1->show();
    for (QPushButton *b : {Bt1_Class, Bt_ClassPro, BtPageWeb})
        b->setEnabled(true);
}

std::vector<manager::LigneJoueurClassement> TVorn_FChallenge::lignesAffichees() const
{
    std::vector<manager::LigneJoueurClassement> lignes;
    const QHeaderView *entetes = StringGrid1->verticalHeader();
    const int n = m_classement.nombreJournees;
    for (int v = 0; v < StringGrid1->rowCount(); ++v) {
        const int r = entetes->logicalIndex(v);
        if (r < 2)
            continue;
        manager::LigneJoueurClassement l;
        l.total = platform::cellText(StringGrid1, r, 0);
        l.nom = platform::cellText(StringGrid1, r, 1);
        l.licence = platform::cellText(StringGrid1, r, 2);
        l.iv = platform::cellText(StringGrid1, r, 3);
        for (int j = 0; j < n && j < MaxJournees; ++j)
            l.journees[j] = platform::cellText(StringGrid1, r, j + 4);
        lignes.push_back(l);
    }
    return lignes;
}

void TVorn_FChallenge::SpinEdit1Change()
{
    Bt_ClassPro->setText(QStringLiteral("Classement Joueurs <= ") +
                         QString::number(SpinEdit1->value()));
}

void TVorn_FChallenge::Bt1_ClassClick(QPushButton *sender)
{
    manager::ImpressionClassement imp;
    imp.saison = m_saison.nom();
    imp.titre = QStringLiteral("Classement Open du challenge");
    for (int j = 0; j < m_classement.nombreJournees && j < MaxJournees; ++j) {
        imp.titres[j] = platform::cellText(StringGrid1, 0, j + 4);
        imp.dates[j] = platform::cellText(StringGrid1, 1, j + 4);
    }
    imp.entrees = manager::ListeClassementGeneral(lignesAffichees());
    if (sender == BtPageWeb) {
        // The lists end up holding the limited ranking, as the pages leave it.
        manager::PagesChallenge(m_tournois, m_classement.nombreJournees, typesJournee(),
                                nomsJournee(), datesJournee(), m_saison.nom(),
                                RepAppli + QStringLiteral("Page_Htm/"), imp.entrees,
                                SpinEdit1->value(), platform::Now());
        m_impression = imp;
        return;
    }
    QString fichier = QStringLiteral("Classement_general.PPE");
    if (sender == Bt_ClassPro) {
        const int n = SpinEdit1->value();
        imp.titre =
            QStringLiteral("Classement du challenge des joueurs I.V. <= ") + QString::number(n);
        manager::FiltrerIV(imp.entrees, n);
        fichier = QStringLiteral("Classement_IV_InferieurEgal") + QString::number(n) +
                  QStringLiteral(".PPE");
    }
    m_impression = imp;
    const EcritureSaison saison(m_saison);
    const QString chemin = fichierSaison(fichier);
    if (MessageDlg(QStringLiteral("Création du fichier \n\n") + chemin, mtInformation,
                   mbNo | mbOK) == mrOk) {
        m_saison.verifierEcriture(); // the season may have changed while asked
        LineFile::write(chemin, manager::LignesClassement(m_impression.entrees));
    }
    manager::imprimerModele(composants, int(m_impression.entrees.size()),
                            QStringLiteral("Classem_General.frf"));
}

void TVorn_FChallenge::frReport1GetValue(const QString &parName, report::FrVariant &parValue)
{
    QString texte;
    if (m_impression.valeur(parName, composants.frUserDataset1->RecNo, texte))
        parValue = texte;
}
