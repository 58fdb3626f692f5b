#include "manager/quatre_webweb.h"
#include "manager/core/vorn_dec.h"
#include "manager/panneau_liste.h"
#include "platform/forms/application.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{

QComboBox *combo(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(true);
    c->setGeometry(geometry);
    return c;
}

} // namespace

TVornF_Quatre_Webweb::TVornF_Quatre_Webweb(QWidget *parent)
    : platform::TForm(QStringLiteral("VornF_Quatre_Webweb"), parent)
{
    setCaption(QStringLiteral("Editions des inscriptions par quatre"));
    resize(1000, 640);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto *disposition = new QVBoxLayout(this);
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->addWidget(PageControl1);

    TabPresentation = new QWidget;
    TabPresentation->setObjectName(QStringLiteral("TabPresentation"));
    PageControl1->addTab(TabPresentation, QStringLiteral("Présentation"));
    CB_Lieu = combo(TabPresentation, QStringLiteral("CB_Lieu"), {8, 8, 300, 26});
    Cb_Arbitre = combo(TabPresentation, QStringLiteral("Cb_Arbitre"), {8, 42, 300, 26});
    Cb_Responsable = combo(TabPresentation, QStringLiteral("Cb_Responsable"), {8, 76, 300, 26});

    ListeLieux = new PanneauListe(fichierProgramme(QStringLiteral("Lieu.DBP")),
                                  QStringLiteral("BtL_"), QStringLiteral("StringGrid_L"),
                                  QStringLiteral("EdL_Lieu"), QStringLiteral("EdL_Informations"),
                                  QStringLiteral("Nom du Club"), CB_Lieu);
    ListeLieux->setObjectName(QStringLiteral("TabLieux"));
    PageControl1->addTab(ListeLieux, QStringLiteral("Lieux"));
    ListeArbitres = new PanneauListe(
        fichierProgramme(QStringLiteral("Arbitre.DBP")), QStringLiteral("BtA_"),
        QStringLiteral("StringGrid_A"), QStringLiteral("EdA_Arbitre"),
        QStringLiteral("EdA_Information"), QStringLiteral("Prénon NOM de l'arbitre"), Cb_Arbitre);
    ListeArbitres->setObjectName(QStringLiteral("TabArbitres"));
    PageControl1->addTab(ListeArbitres, QStringLiteral("Arbitres"));
    ListeResponsables =
        new PanneauListe(fichierProgramme(QStringLiteral("Responsable.DBP")),
                         QStringLiteral("BtR_"), QStringLiteral("StringGrid_R"),
                         QStringLiteral("EdR_responsable"), QStringLiteral("EdR_Information"),
                         QStringLiteral("Prénon NOM du responsable"), Cb_Responsable);
    ListeResponsables->setObjectName(QStringLiteral("TabResponsables"));
    PageControl1->addTab(ListeResponsables, QStringLiteral("Responsables"));

    StringGrid_L = ListeLieux->grille();
    StringGrid_A = ListeArbitres->grille();
    StringGrid_R = ListeResponsables->grille();
    EdL_Lieu = ListeLieux->edNom();
    EdL_Informations = ListeLieux->edInformation();
    EdA_Arbitre = ListeArbitres->edNom();
    EdA_Information = ListeArbitres->edInformation();
    EdR_responsable = ListeResponsables->edNom();
    EdR_Information = ListeResponsables->edInformation();

    using W = TVornF_Quatre_Webweb;
    static void (W::*const lieux[7])() = {
        &W::BtL_DebutClick,   &W::BtL_PrecedantClick, &W::BtL_SuivantClick, &W::BtL_FinClick,
        &W::BtL_AjouterClick, &W::BtL_SupprimerClick, &W::BtL_ModifierClick};
    static void (W::*const arbitres[7])() = {
        &W::BtA_DebutClick,   &W::BtA_PrecedantClick, &W::BtA_SuivantClick, &W::BtA_FinClick,
        &W::BtA_AjouterClick, &W::BtA_SupprimerClick, &W::BtA_ModifierClick};
    static void (W::*const responsables[7])() = {
        &W::BtR_DebutClick,   &W::BtR_PrecedantClick, &W::BtR_SuivantClick, &W::BtR_FinClick,
        &W::BtR_AjouterClick, &W::BtR_SupprimerClick, &W::BtR_ModifierClick};
    relie(ListeLieux, lieux);
    relie(ListeArbitres, arbitres);
    relie(ListeResponsables, responsables);

    // A list that cannot be read or created is reported; the window still
    // comes up with the others.
    platform::guard([this] { FormCreate(); });
}

TVornF_Quatre_Webweb::~TVornF_Quatre_Webweb() = default;

void TVornF_Quatre_Webweb::relie(PanneauListe *panneau,
                                 void (TVornF_Quatre_Webweb::*const handlers[7])())
{
    for (int b = 0; b < 7; ++b)
        connect(panneau->bouton(PanneauListe::Bouton(b)), &QPushButton::clicked, this,
                platform::handler(this, handlers[b]));
}

void TVornF_Quatre_Webweb::FormCreate()
{
    // Loaded once: changes made to the files meanwhile are seen at the next
    // start.
    for (PanneauListe *p : {ListeLieux, ListeArbitres, ListeResponsables})
        platform::guard([p] { p->charge(); });
}

void TVornF_Quatre_Webweb::BtL_DebutClick()
{
    ListeLieux->premier();
}
void TVornF_Quatre_Webweb::BtL_PrecedantClick()
{
    ListeLieux->precedent();
}
void TVornF_Quatre_Webweb::BtL_SuivantClick()
{
    ListeLieux->suivant();
}
void TVornF_Quatre_Webweb::BtL_FinClick()
{
    ListeLieux->dernier();
}
void TVornF_Quatre_Webweb::BtL_AjouterClick()
{
    ListeLieux->ajoute();
}
void TVornF_Quatre_Webweb::BtL_SupprimerClick()
{
    ListeLieux->supprime();
}
void TVornF_Quatre_Webweb::BtL_ModifierClick()
{
    ListeLieux->modifie();
}
void TVornF_Quatre_Webweb::BtA_DebutClick()
{
    ListeArbitres->premier();
}
void TVornF_Quatre_Webweb::BtA_PrecedantClick()
{
    ListeArbitres->precedent();
}
void TVornF_Quatre_Webweb::BtA_SuivantClick()
{
    ListeArbitres->suivant();
}
void TVornF_Quatre_Webweb::BtA_FinClick()
{
    ListeArbitres->dernier();
}
void TVornF_Quatre_Webweb::BtA_AjouterClick()
{
    ListeArbitres->ajoute();
}
void TVornF_Quatre_Webweb::BtA_SupprimerClick()
{
    ListeArbitres->supprime();
}
void TVornF_Quatre_Webweb::BtA_ModifierClick()
{
    ListeArbitres->modifie();
}
void TVornF_Quatre_Webweb::BtR_DebutClick()
{
    ListeResponsables->premier();
}
void TVornF_Quatre_Webweb::BtR_PrecedantClick()
{
    ListeResponsables->precedent();
}
void TVornF_Quatre_Webweb::BtR_SuivantClick()
{
    ListeResponsables->suivant();
}
void TVornF_Quatre_Webweb::BtR_FinClick()
{
    ListeResponsables->dernier();
}
void TVornF_Quatre_Webweb::BtR_AjouterClick()
{
    ListeResponsables->ajoute();
}
void TVornF_Quatre_Webweb::BtR_SupprimerClick()
{
    ListeResponsables->supprime();
}
void TVornF_Quatre_Webweb::BtR_ModifierClick()
{
    ListeResponsables->modifie();
}

QString TVornF_Quatre_Webweb::InformationLieu() const
{
    return ListeLieux->informationChoisie();
}

QString TVornF_Quatre_Webweb::InformationArbitre() const
{
    return ListeArbitres->informationChoisie();
}

QString TVornF_Quatre_Webweb::InformationResponsable() const
{
    return ListeResponsables->informationChoisie();
}
