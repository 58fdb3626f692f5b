#include "manager/repart.h"
#include "manager/core/attribution.h"

#include "manager/core/genrefichier.h"
#include "manager/core/vorn_dec.h"
#include "platform/clock/clock.h"
#include "platform/dialogs/dialogs.h"
#include "platform/format/format.h"
#include "platform/forms/application.h"
#include "platform/forms/controls.h"
#include "platform/text/convert.h"
#include "platform/text/linefile.h"
#include "report/data/frdataset.h"
#include "report/objects/frreport.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace platform;

namespace
{

QLineEdit *edit(QWidget *parent, const char *name, const QString &text)
{
    auto *e = new QLineEdit(text, parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

const QString FiltrePPE = QStringLiteral("Ventilation PP et PE (*.)|*.PPE*");

} // namespace

TVornF_repart::TVornF_repart(QWidget *parent)
    : platform::TForm(QStringLiteral("VornF_repart"), parent)
{
    setCaption(QStringLiteral("Edition des répartitions de PP et PE de challenge"));
    // Settings of the search for K and titles to print; K found and not
    // recorded is declared (travailEnAttente).
    champDeReglage(this);
    resize(760, 520);

    E_Points = edit(this, "E_Points", QStringLiteral("1068"));
    E_LigX = edit(this, "E_LigX", QStringLiteral("40"));
    E_LigY = edit(this, "E_LigY", QStringLiteral("30"));
    E_Coef_K = edit(this, "E_Coef_K", QStringLiteral("0.000000"));
    Rg_Type = new TRadioGroup(QStringLiteral("Rg_Type"), QStringLiteral(" Calcul en "),
                              {QStringLiteral("Fonction du nombre de joueurs à doter."),
                               QStringLiteral("Fonction du Maximum pour le premier :")},
                              this);
    Rg_Formule = new TRadioGroup(
        QStringLiteral("Rg_Formule"), QStringLiteral(" Pour le dernier un minimun de "),
        {QStringLiteral("de 1 Point"), QStringLiteral("de x Points")}, this);
    Rg_Type->setItemIndex(1);
    Rg_Formule->setItemIndex(1);
    L_formule = new QLabel(this);
    L_formule->setObjectName(QStringLiteral("L_formule"));
    E_Titre = edit(this, "E_Titre", QStringLiteral("ANNEXE II"));
    E_sTitre = edit(this, "E_sTitre", QStringLiteral("Table de répartition théorique des PP"));
    E_Date = edit(this, "E_Date", QString());
    Button1 = platform::newButton(this, "Button1", QStringLiteral("Calcul de K"));
    Bt_Memorisation = platform::newButton(this, "Bt_Memorisation",
                                          QStringLiteral("Mémorisation de la répartition"));
    Bt_PP = platform::newButton(
        this, "Bt_PP",
        QStringLiteral("Edition de la Ventillation des Points fonction du classement"));
    Bt_Quitter = platform::newButton(this, "Bt_Quitter", QStringLiteral("Quitter"));

    auto *reglages = new QFormLayout;
    reglages->addRow(QStringLiteral("Nombre de points à répartir : "), E_Points);
    auto *types = new QHBoxLayout;
    auto *colonneX = new QVBoxLayout;
    colonneX->addWidget(Rg_Type);
    auto *xy = new QHBoxLayout;
    xy->addWidget(E_LigX);
    xy->addWidget(E_LigY);
    colonneX->addLayout(xy);
    types->addLayout(colonneX, 2);
    types->addWidget(Rg_Formule, 1);
    auto *k = new QHBoxLayout;
    k->addWidget(Button1);
    k->addWidget(new QLabel(QStringLiteral("K = "), this));
    k->addWidget(E_Coef_K);
    k->addWidget(L_formule, 1);
    auto *impression = new QFormLayout;
    impression->addRow(QStringLiteral("Titre : "), E_Titre);
    impression->addRow(QStringLiteral("Sous-titre : "), E_sTitre);
    impression->addRow(QStringLiteral("Date : "), E_Date);
    auto *boutons = new QHBoxLayout;
    boutons->addWidget(Bt_Memorisation);
    boutons->addWidget(Bt_PP);
    boutons->addStretch(1);
    boutons->addWidget(Bt_Quitter);
    auto *main = new QVBoxLayout(this);
    main->addLayout(reglages);
    main->addLayout(types);
    main->addLayout(k);
    main->addLayout(impression);
    main->addStretch(1);
    main->addLayout(boutons);

    composants = manager::creerImpression(
        this, report::pbZoom | report::pbPrint | report::pbFind | report::pbExit,
        [this](const QString &n, report::FrVariant &v) { frReport1GetValue(n, v); });

    using T = TVornF_repart;
    connect(Button1, &QPushButton::clicked, this, handler(this, &T::Button1Click));
    connect(Bt_Memorisation, &QPushButton::clicked, this, handler(this, &T::Bt_MemorisationClick));
    connect(Bt_PP, &QPushButton::clicked, this, handler(this, &T::Bt_PPClick));
    connect(Bt_Quitter, &QPushButton::clicked, this, handler(this, &T::Bt_QuitterClick));
    connect(Rg_Type, &TRadioGroup::clicked, this, handler(this, &T::Rg_TypeClick));
    connect(Rg_Formule, &TRadioGroup::clicked, this, handler(this, &T::Rg_FormuleClick));
    connect(E_LigX, &QLineEdit::textChanged, this, handler(this, &T::E_LigXChange));
    connect(E_LigY, &QLineEdit::textChanged, this, handler(this, &T::E_LigXChange));
    connect(E_Points, &QLineEdit::textChanged, this, handler(this, &T::E_LigXChange));
    connect(E_Coef_K, &QLineEdit::textChanged, this, handler(this, &T::E_Coef_KChange));
    Rg_TypeClick();
    m_reglagesK = reglagesMontres();
    E_Coef_KChange();
}

void TVornF_repart::FormActivate()
{
    // Coming back keeps the settings, K and the date as they were left.
    if (m_dateMise)
        return;
    m_dateMise = true;
    E_Date->setText(FormatDateTime(QStringLiteral("dddd dd mmmm yyyy"), platform::Date()));
}

QStringList TVornF_repart::reglagesMontres() const
{
    return {QString::number(Rg_Type->ItemIndex()), QString::number(Rg_Formule->ItemIndex()),
            E_Points->text(), E_LigX->text(), E_LigY->text()};
}

void TVornF_repart::E_LigXChange()
{
    AfficherFormule();
    permettreMemorisation();
}

void TVornF_repart::Rg_TypeClick()
{
    const bool joueurs = Rg_Type->ItemIndex() == 0;
    E_LigX->setVisible(joueurs);
    E_LigY->setVisible(!joueurs);
    Rg_Formule->setEnabled(joueurs);
    AfficherFormule();
    permettreMemorisation();
}

void TVornF_repart::AfficherFormule()
{
    qint64 x = 0;
    TryStrToInt64(E_LigX->text(), x);
    L_formule->setText(
        manager::FormuleAffichee(Rg_Type->ItemIndex(), Rg_Formule->ItemIndex(), x, E_LigY->text()));
}

void TVornF_repart::E_Coef_KChange()
{
    permettreMemorisation();
}

void TVornF_repart::permettreMemorisation()
{
    double k = 0;
    QString t = E_Coef_K->text();
    t.replace(QLatin1Char('.'), QLatin1Char(','));
    // A table mixing one kind's K with another kind's formula, or other
    // totals, is not recorded: K is searched again first.
    Bt_Memorisation->setEnabled(TryStrToFloat(t, k) && k != 0 && reglagesMontres() == m_reglagesK);
}

manager::ParametresRepartition TVornF_repart::parametres() const
{
    manager::ParametresRepartition p;
    p.type = Rg_Type->ItemIndex() == 0 ? 0 : 1;
    p.formule = Rg_Formule->ItemIndex() == 0 ? 0 : 1;
    p.total = m_t;
    p.x = m_x;
    p.m = m_m;
    return p;
}

void TVornF_repart::Button1Click()
{
    const qint64 m = StrToInt(E_LigY->text());
    const qint64 x = StrToInt(E_LigX->text());
    const qint64 t = StrToInt(E_Points->text());
    m_m = m;
    m_x = x;
    m_t = t;
    // Until K is found, the K shown is no longer that of the settings read.
    m_reglagesK.clear();
    permettreMemorisation();
    const manager::ParametresRepartition p = parametres();
    // Settings with which the search would never end, or divide by zero.
    if (!p.valides()) {
        MessageDlg(QStringLiteral("Paramètres de répartition incorrects"), mtWarning, mbOK);
        return;
    }
    const std::optional<manager::ConstanteK> k = manager::ChercherK(p);
    if (!k) {
        MessageDlg(QStringLiteral("Nombre de points à répartir trop grand : %1 points ne "
                                  "peuvent pas être répartis sur %2 places au plus.")
                       .arg(t)
                       .arg(manager::MaxPlacesRepartition),
                   mtWarning, mbOK);
        return;
    }
    m_reglagesK = reglagesMontres();
    E_Coef_K->setText(manager::TexteK(*k));
    permettreMemorisation();
    m_kAMemoriser = true;
}

void TVornF_repart::Bt_MemorisationClick()
{
    if (reglagesMontres() != m_reglagesK)
        return;
    const manager::ConstanteK k = manager::LireK(E_Coef_K->text());
    const QStringList table = manager::TableRepartition(parametres(), k);
    verifierSaisonOuverte();
    TSaveDialog d(this);
    d.InitialDir = RepAppli + SaisonEnCours + QLatin1Char('/');
    d.Filter = FiltrePPE;
    d.DefaultExt = QStringLiteral("PPE");
    d.FileName = RepAppli + SaisonEnCours + QStringLiteral("/Repart_");
    d.OverwritePrompt = true;
    if (!d.Execute())
        return;
    LineFile::write(d.FileName, table);
    m_kAMemoriser = false;
}

std::optional<platform::TravailEnAttente> TVornF_repart::travailEnAttente()
{
    // Only a K searched here and still offered to "Mémorisation".
    if (!m_kAMemoriser || !Bt_Memorisation->isEnabled())
        return std::nullopt;
    platform::TravailEnAttente travail;
    travail.question = QStringLiteral("Le coefficient K calculé (%1) n'est pas mémorisé "
                                      "(Mémorisation).\nVoulez-vous l'abandonner ?")
                           .arg(platform::excerpt(E_Coef_K->text()));
    travail.abandon = [this] { m_kAMemoriser = false; };
    // K stays with its settings whatever the season; it is recorded in the
    // season open when "Mémorisation" is pressed.
    travail.gardeeAuChangementDeSaison = true;
    return travail;
}

void TVornF_repart::Bt_PPClick()
{
    TOpenDialog d(this);
    d.InitialDir = RepAppli + SaisonEnCours + QLatin1Char('/');
    d.Title = QStringLiteral("Fichier de répartition des PP");
    d.Filter = FiltrePPE;
    manager::ImpressionRepartition imp;
    imp.titre = E_Titre->text();
    imp.sousTitre = E_sTitre->text();
    imp.date = E_Date->text();
    if (d.Execute())
        imp.charger(manager::LireRepartition(d.FileName));
    m_impression = imp;
    const QString titre = QStringLiteral("Balance de vérification");
    manager::imprimerModele(composants, m_impression.nombreEnregistrements(),
                            QStringLiteral("Repartition_theorique_PP.frf"), &titre);
}

void TVornF_repart::frReport1GetValue(const QString &parName, report::FrVariant &parValue)
{
    QString texte;
    qint64 entier = 0;
    bool estEntier = false;
    if (!m_impression.valeur(parName, composants.frUserDataset1->RecNo, texte, entier, estEntier))
        return;
    parValue = estEntier ? report::FrVariant::fromInt64(entier) : report::FrVariant(texte);
}
