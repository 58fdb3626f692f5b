#include "manager/vorn_imp.h"

#include "manager/core/vorn_dec.h"
#include "platform/clock/clock.h"
#include "platform/forms/application.h"
#include "platform/forms/controls.h"
#include "platform/inifile/inifile.h"

#include <QApplication>
#include <QHideEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

using namespace platform;

namespace
{
const QString CaptionErreur = QStringLiteral("UNE ERREUR DANS L'EXPORTATION !");
const QString CaptionSucces = QStringLiteral("IMPORTATION FAITE AVEC SUCCEE !");
// Pending window messages are processed at most this often during a merge.
constexpr int IntervallePompe = 50;
} // namespace

TVorn_Fimp::TVorn_Fimp(QWidget *parent)
    : platform::TForm(QStringLiteral("Vorn_Fimp"), parent),
      OpenDialog1(std::make_unique<TOpenDialog>(this))
{
    setCaption(QStringLiteral("Importation des données de la base FFB"));
    setFixedSize(520, 200);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(24, 24, 472, 22);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);

    Panel1 = new TPanel(QStringLiteral("Panel1"), this);
    Panel1->setGeometry(24, 64, 472, 112);
    Panel1->setCaption(CaptionErreur);
    QFont police = Panel1->captionLabel()->font();
    police.setBold(true);
    police.setPointSizeF(police.pointSizeF() * 1.3);
    Panel1->captionLabel()->setFont(police);
    // Red text, caption and label alike.
    QPalette rouge = Panel1->palette();
    rouge.setColor(QPalette::WindowText, Qt::red);
    Panel1->setPalette(rouge);
    Panel1->captionLabel()->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Panel1->captionLabel()->setContentsMargins(0, 14, 0, 0);

    LabelErreur =
        new QLabel(QStringLiteral("Vous avez importé le mauvais type de fichier"), Panel1);
    LabelErreur->setObjectName(QStringLiteral("LabelErreur"));
    LabelErreur->setGeometry(8, 62, 456, 40);
    LabelErreur->setAlignment(Qt::AlignCenter);
    LabelErreur->setWordWrap(true);
    LabelErreur->setPalette(rouge);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(3000);
    Timer1->setSingleShot(false);
    connect(Timer1, &QTimer::timeout, this, handler(this, &TVorn_Fimp::Timer1Timer));
}

TVorn_Fimp::~TVorn_Fimp() = default;

void TVorn_Fimp::Timer1Timer()
{
    Timer1->stop();
    Hide();
}

void TVorn_Fimp::hideEvent(QHideEvent *event)
{
    m_tentative = false;
    TForm::hideEvent(event);
}

void TVorn_Fimp::FormDeactivate()
{
    // The import in progress still uses its lists.
    if (m_enCours)
        return;
    m_import.clear();
}

void TVorn_Fimp::FormActivate()
{
    if (m_enCours || m_tentative)
        return;
    m_tentative = true;
    m_enCours = true;
    struct Fin {
        bool &drapeau;
        ~Fin() { drapeau = false; }
    } fin{m_enCours};
    try {
        importer();
    } catch (const Exception &e) {
        afficherErreur(e.Message());
    }
}

void TVorn_Fimp::afficherErreur(const QString &texte)
{
    MessageDlg(texte, mtError, mbOK);
    LabelErreur->setText(texte);
    Panel1->setCaption(CaptionErreur);
    Panel1->show();
    terminer();
}

void TVorn_Fimp::terminer()
{
    Timer1->start();
}

void TVorn_Fimp::progression(int ligne, int total)
{
    if (ligne >= total) {
        // Every line merged: the sort follows, under the hourglass.
        ProgressBar1->setValue(ProgressBar1->maximum());
        if (!m_sablier) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            m_sablier = true;
        }
        setCaption(QStringLiteral("Intégration des données"));
        return;
    }
    ProgressBar1->setValue(ligne);
    if (!m_pompe.isValid() || m_pompe.elapsed() >= IntervallePompe) {
        ProcessMessages();
        m_pompe.restart();
    }
}

void TVorn_Fimp::importer()
{
    // Loaded before anything is asked: a season without a players file
    // stops here.
    Panel1->hide();
    Timer1->stop();
    m_import.clear();
    // The players file read here is the one written back.
    SaisonLue saison;
    saison.lire();
    saison.verifierEcriture();
    m_import.chargerJoueurs(fichierSaison(QStringLiteral("Joueur.DBP")));

    OpenDialog1->InitialDir = RepAppli;
    OpenDialog1->Filter = QStringLiteral("Fichiers Extraction de la base FFB (*.csv)|*.csv");
    if (!OpenDialog1->Execute()) {
        LabelErreur->setText(QStringLiteral(" Vous n'avez pas choisi de fichier "));
        Panel1->setCaption(CaptionErreur);
        Panel1->show();
        terminer();
        return;
    }

    const int n = m_import.lire(OpenDialog1->FileName);
    if (n < 0) {
        LabelErreur->setText(QStringLiteral("Vous avez importé le mauvais type de fichier"));
        Panel1->setCaption(CaptionErreur);
        Panel1->show();
        terminer();
        return;
    }
    if (n == 0) {
        ShowMessage(QStringLiteral("Vous n'avez aucun enregistrement: Afficher les données avant "
                                   "de les rapatrier dans un fichier"));
        LabelErreur->clear();
        Panel1->setCaption(CaptionErreur);
        Panel1->show();
        terminer();
        return;
    }

    LabelErreur->clear();
    Panel1->setCaption(CaptionSucces);
    Panel1->hide();
    const bool remiseAZero =
        MessageDlg(QStringLiteral("Remettre à zéro le fichier des membres \ravant de le compléter"),
                   mtWarning, mbYes | mbNo) == mrYes;

    ProgressBar1->setRange(0, n);
    ProgressBar1->setValue(0);
    manager::ParametresImport parametres;
    parametres.domaineFederation =
        TIniFile(fichierIni())
            .ReadString(QStringLiteral("Param"), QStringLiteral("DomaineFederation"), QString());
    parametres.anneeSaison = manager::AnneeSaison(Now());
    parametres.progression = [this, n](int ligne) { progression(ligne, n); };
    m_pompe.invalidate();
    // The players held change only with the file: a write that fails (a
    // full disk) leaves both as they were, so the import can be run again.
    const manager::ListeJoueurs avant = m_import.joueurs;
    {
        struct Curseur {
            bool &sablier;
            ~Curseur()
            {
                if (sablier)
                    QApplication::restoreOverrideCursor();
                sablier = false;
            }
        } curseur{m_sablier};
        m_import.integrer(remiseAZero, parametres);
    }
    try {
        // The season may have been swapped for a link meanwhile.
        saison.verifierEcriture();
        m_import.enregistrer();
    } catch (...) {
        m_import.joueurs = avant;
        throw;
    }
    Panel1->show();
    terminer();
}
