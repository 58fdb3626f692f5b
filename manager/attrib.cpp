#include "manager/attrib.h"

#include "manager/core/genrefichier.h"
#include "manager/core/vorn_dec.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/forms/controls.h"
#include "platform/text/linefile.h"
#include "report/data/frdataset.h"
#include "report/objects/frreport.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace platform;

namespace
{

QLineEdit *edit(QWidget *parent, const char *name, const QString &text, bool lecture)
{
    auto *e = new QLineEdit(text, parent);
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(lecture);
    return e;
}

} // namespace

TVornF_Attrib::TVornF_Attrib(QWidget *parent)
    : platform::TForm(QStringLiteral("VornF_Attrib"), parent),
      OpenDialog1(std::make_unique<TOpenDialog>(this)),
      SaveDialog1(std::make_unique<TSaveDialog>(this))
{
    setCaption(QStringLiteral("Attribution des PP et PE fonction du classement"));
    // Files chosen and a title to print: nothing typed here is recorded.
    champDeReglage(this);
    resize(720, 300);

    BtChargeClass =
        platform::newButton(this, "BtChargeClass", QStringLiteral("Fichier classement"));
    EdChargeClass = edit(this, "EdChargeClass", QString(), true);
    BtChargeRepart =
        platform::newButton(this, "BtChargeRepart", QStringLiteral("Fichier de répartition"));
    EfChargeRepart = edit(this, "EfChargeRepart", QString(), true);
    BtEdition = platform::newButton(this, "BtEdition", QStringLiteral("Edition"));
    BtExport =
        platform::newButton(this, "BtExport", QStringLiteral("Fichier exportation sur EASI"));
    EdTitre = edit(this, "EdTitre", QStringLiteral("Attribution Cat des PE"), false);
    Rg_TypePts = new TRadioGroup(QStringLiteral("Rg_TypePts"), QStringLiteral("Exportation des"),
                                 {QStringLiteral("PE"), QStringLiteral("PP")}, this, 2);
    Rg_TypePts->setItemIndex(0);
    BtQuitte = platform::newButton(this, "BtQuitte", QStringLiteral("Quitter"));

    auto *g = new QGridLayout;
    g->addWidget(BtChargeClass, 0, 0);
    g->addWidget(EdChargeClass, 0, 1);
    g->addWidget(BtChargeRepart, 1, 0);
    g->addWidget(EfChargeRepart, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("Titre de l'exportation : "), this), 2, 0);
    g->addWidget(EdTitre, 2, 1);
    g->setColumnStretch(1, 1);
    auto *boutons = new QHBoxLayout;
    boutons->addWidget(BtEdition);
    boutons->addWidget(Rg_TypePts);
    boutons->addWidget(BtExport);
    boutons->addStretch(1);
    boutons->addWidget(BtQuitte);
    auto *main = new QVBoxLayout(this);
    main->addLayout(g);
    main->addStretch(1);
    main->addLayout(boutons);

    composants = manager::creerImpression(
        this, report::pbZoom | report::pbPrint | report::pbFind | report::pbExit,
        [this](const QString &n, report::FrVariant &v) { frReport1GetValue(n, v); });

    using T = TVornF_Attrib;
    connect(BtChargeClass, &QPushButton::clicked, this, handler(this, &T::BtChargeClassClick));
    connect(BtChargeRepart, &QPushButton::clicked, this, handler(this, &T::BtChargeRepartClick));
    connect(BtEdition, &QPushButton::clicked, this, handler(this, &T::BtEditionClick));
    connect(BtExport, &QPushButton::clicked, this, handler(this, &T::BtExportClick));
    connect(BtQuitte, &QPushButton::clicked, this, handler(this, &T::BtQuitteClick));
    commandes(false, false);
}

TVornF_Attrib::~TVornF_Attrib() = default;

void TVornF_Attrib::commandes(bool repartition, bool edition)
{
    BtChargeRepart->setEnabled(repartition);
    BtEdition->setEnabled(edition);
    BtExport->setEnabled(edition);
}

void TVornF_Attrib::BtChargeClassClick()
{
    OpenDialog1->InitialDir = RepAppli + SaisonEnCours + QLatin1Char('/');
    OpenDialog1->Filter = QStringLiteral("Ventilation PP et PE (*.)|*.PPE*");
    OpenDialog1->DefaultExt = QStringLiteral("PPE");
    if (!OpenDialog1->Execute())
        return;
    // Another kind of file is refused before the window takes its name.
    // A damaged one too: the ranking, the distribution and the commands
    // stay those the window held.
    QStringList classement = manager::LireClassement(OpenDialog1->FileName);
    EdChargeClass->setText(OpenDialog1->FileName);
    m_classement = std::move(classement);
    if (manager::ClassementAccepte(m_classement))
        commandes(true, false);
    else
        commandes(false, false);
}

void TVornF_Attrib::BtChargeRepartClick()
{
    if (!OpenDialog1->Execute())
        return;
    const QStringList repartition = manager::LireRepartition(OpenDialog1->FileName);
    if (!manager::RepartitionAcceptee(repartition)) {
        // Nothing of the previous distribution stays to print or export
        // under no name.
        EfChargeRepart->clear();
        m_repartition.clear();
        m_attribuees.clear();
        Reste = 0;
        commandes(false, false);
        return;
    }
    // A points field that is no whole number stops the attribution before
    // the window takes the file: the name, the attribution and the commands
    // stay those of the previous distribution.
    const QStringList precedente = m_repartition;
    m_repartition = repartition;
    try {
        Attribuer(OpenDialog1->FileName);
    } catch (...) {
        m_repartition = precedente;
        throw;
    }
    EfChargeRepart->setText(OpenDialog1->FileName);
    commandes(true, true);
}

void TVornF_Attrib::Attribuer(const QString &fichierRepartition)
{
    // Computed whole before it replaces the list: a points field that is no
    // whole number leaves the previous attribution.
    const manager::Attribution a =
        manager::Attribuer(m_classement, m_repartition, fichierRepartition);
    m_attribuees = a.lignes;
    Reste = a.reste;
}

void TVornF_Attrib::BtEditionClick()
{
    Reste = manager::TotalAttribue(m_attribuees);
    manager::imprimerModele(composants, int(m_attribuees.size()),
                            QStringLiteral("Attibution_PPE.frf"));
}

void TVornF_Attrib::BtExportClick()
{
    const QStringList lignes =
        manager::LignesEasi(m_attribuees, Rg_TypePts->ItemIndex() == 1 ? manager::ColonneEasi::PP
                                                                       : manager::ColonneEasi::PE);
    if (lignes.isEmpty())
        return;
    SaveDialog1->Filter = QStringLiteral("Fichier EASI PP et PE (*.)|*.csv*");
    SaveDialog1->DefaultExt = QStringLiteral("CSV");
    SaveDialog1->FileName = QStringLiteral("Fichier_P.csv");
    SaveDialog1->OverwritePrompt = true;
    if (!SaveDialog1->Execute())
        return;
    LineFile::write(SaveDialog1->FileName, lignes);
}

void TVornF_Attrib::frReport1GetValue(const QString &parName, report::FrVariant &parValue)
{
    manager::ImpressionAttribution imp;
    imp.titre = EdTitre->text();
    imp.lignes = m_attribuees;
    imp.total = Reste;
    QString texte;
    qint64 entier = 0;
    bool estEntier = false;
    if (!imp.valeur(parName, composants.frUserDataset1->RecNo, texte, entier, estEntier))
        return;
    parValue = estEntier ? report::FrVariant::fromInt64(entier) : report::FrVariant(texte);
}
