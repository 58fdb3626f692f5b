#include "manager/edition_joueurs.h"

#include "manager/core/fichejoueur.h"
#include "manager/core/vorn_dec.h"
#include "manager/fenetres.h"
#include "platform/charts/chart.h"
#include "platform/clock/clock.h"
#include "platform/forms/application.h"
#include "platform/printer/printers.h"
#include "platform/shell/shell.h"
#include "platform/text/linefile.h"

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace platform;

namespace
{

constexpr int ColonneSelection = 8;
// Fields of the players file the check lists offer.
constexpr int ChampClub = 5;
constexpr int ChampTypeLicence = 16;
const QString Marque = QStringLiteral("X");

// What a mark is kept by: the player's licence, or his whole line when he
// has none, so that two players without a licence are not taken as one.
QString cleMarque(const QString &ligne)
{
    const QString licence = Champ(ligne, 0);
    return licence.isEmpty() ? ligne : licence;
}

struct Colonne {
    const char16_t *entete;
    int largeurEditer;
    int largeurCourriel;
};
const Colonne Colonnes[] = {
    {u"Licence", 80, 75}, {u"Titre", 45, 40},
    {u"Nom", 180, 175},   {u"Prénom", 180, 175},
    {u"I.V.", 35, 30},    {u"Naissance", 95, 95},
    {u"Club", 300, 310},  {u"Type de Licence", 175, 175},
};

QCheckBox *caseACocher(const QString &nom, const QString &texte, QWidget *parent, int x, int y,
                       int w)
{
    auto *c = new QCheckBox(texte, parent);
    c->setObjectName(nom);
    c->setGeometry(x, y, w, 22);
    return c;
}

QLineEdit *edition(const QString &nom, const QString &texte, int longueur, QWidget *parent, int x,
                   int y, int w)
{
    auto *e = new QLineEdit(texte, parent);
    e->setObjectName(nom);
    e->setMaxLength(longueur);
    e->setAlignment(Qt::AlignCenter);
    e->setGeometry(x, y, w, 24);
    return e;
}

QListWidget *listeACocher(const QString &nom, QWidget *parent)
{
    auto *l = new QListWidget(parent);
    l->setObjectName(nom);
    l->setSelectionMode(QAbstractItemView::NoSelection);
    return l;
}

// Items of a check list laid out in columns, filling each column first, as
// the platform's multi-column check lists do.
void reglerColonnesListe(QListWidget *liste, int colonnes)
{
    liste->setFlow(QListView::TopToBottom);
    liste->setWrapping(colonnes > 1);
    liste->setResizeMode(QListView::Adjust);
    const int largeur = (liste->width() - 2 * liste->frameWidth() - 4) / std::max(1, colonnes);
    liste->setGridSize(QSize(largeur, 20));
    liste->setUniformItemSizes(true);
}

QSet<QString> elementsCoches(const QListWidget *liste)
{
    QSet<QString> r;
    for (int i = 0; i < liste->count(); ++i)
        if (liste->item(i)->checkState() == Qt::Checked)
            r.insert(liste->item(i)->text());
    return r;
}

QColor couleurPlateforme(unsigned bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

} // namespace

// ---------------------------------------------------------------------------

TUpDown::TUpDown(const QString &name, int min, int max, int position, QWidget *parent)
    : QWidget(parent), m_min(min), m_max(max), m_position(position)
{
    setObjectName(name);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_up = new QToolButton(this);
    m_up->setObjectName(name + QStringLiteral("_Haut"));
    m_up->setArrowType(Qt::UpArrow);
    m_down = new QToolButton(this);
    m_down->setObjectName(name + QStringLiteral("_Bas"));
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton *b : {m_up, m_down}) {
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        b->setAutoRepeat(true);
        layout->addWidget(b);
    }
    connect(m_up, &QToolButton::clicked, this, [this] { step(true); });
    connect(m_down, &QToolButton::clicked, this, [this] { step(false); });
}

void TUpDown::setMin(int min)
{
    m_min = min;
    m_position = std::max(m_position, m_min);
}

void TUpDown::setMax(int max)
{
    m_max = max;
    m_position = std::min(m_position, m_max);
}

void TUpDown::setPosition(int position)
{
    m_position = std::clamp(position, m_min, std::max(m_min, m_max));
}

void TUpDown::step(bool up)
{
    setPosition(m_position + (up ? 1 : -1));
    emit clicked();
}

// ---------------------------------------------------------------------------

TVorn_FEdition_Joueurs::TVorn_FEdition_Joueurs(QWidget *parent)
    : platform::TForm(QStringLiteral("Vorn_FEdition_Joueurs"), parent),
      SaveDialog1(std::make_unique<TSaveDialog>(this))
{
    setCaption(QStringLiteral("Edition des joueurs licenciés"));
    // Filters and the number of addresses per mail: nothing typed here is
    // recorded (the marks are kept across re-reads, not asked about).
    champDeReglage(this);
    resize(1280, 800);

    // Top row: the action, the mail settings the main menu shows or hides,
    // the record count, printing and leaving.
    Bt_Action = new QPushButton(QStringLiteral("Editer"), this);
    Bt_Action->setObjectName(QStringLiteral("Bt_Action"));
    Bt_Action->setGeometry(16, 14, 97, 26);

    L_courriel = new QLabel(QStringLiteral("Par groupe de : "), this);
    L_courriel->setObjectName(QStringLiteral("L_courriel"));
    L_courriel->setGeometry(128, 18, 100, 18);

    Nbr_Courriel = new QSpinBox(this);
    Nbr_Courriel->setObjectName(QStringLiteral("Nbr_Courriel"));
    Nbr_Courriel->setRange(1, 50);
    Nbr_Courriel->setSingleStep(5);
    Nbr_Courriel->setValue(50);
    Nbr_Courriel->setGeometry(230, 14, 60, 26);

    CB_BCC = new QCheckBox(QStringLiteral("CopieCaché"), this);
    CB_BCC->setObjectName(QStringLiteral("CB_BCC"));
    CB_BCC->setGeometry(304, 16, 110, 22);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(430, 18, 380, 18);
    QFont gras = Label1->font();
    gras.setBold(true);
    Label1->setFont(gras);

    Bt_Impression = new QPushButton(QStringLiteral("Impression"), this);
    Bt_Impression->setObjectName(QStringLiteral("Bt_Impression"));
    Bt_Impression->setGeometry(1040, 14, 104, 26);

    Bt_Quitter = new QPushButton(QStringLiteral("Quitter"), this);
    Bt_Quitter->setObjectName(QStringLiteral("Bt_Quitter"));
    Bt_Quitter->setGeometry(1160, 14, 104, 26);

    // Filters.
    CheckBoxNom =
        caseACocher(QStringLiteral("CheckBoxNom"), QStringLiteral("Nom de"), this, 16, 58, 130);
    EditminNom = edition(QStringLiteral("EditminNom"), QStringLiteral("A"), 1, this, 150, 57, 30);
    UpMinNom = new TUpDown(QStringLiteral("UpMinNom"), 65, 90, 65, this);
    UpMinNom->setGeometry(180, 57, 18, 24);
    auto *aNom = new QLabel(QStringLiteral("à"), this);
    aNom->setGeometry(206, 60, 14, 18);
    EditMaxNom = edition(QStringLiteral("EditMaxNom"), QStringLiteral("Z"), 1, this, 222, 57, 30);
    UpMaxNom = new TUpDown(QStringLiteral("UpMaxNom"), 65, 90, 90, this);
    UpMaxNom->setGeometry(252, 57, 18, 24);

    CheckBoxIndice = caseACocher(QStringLiteral("CheckBoxIndice"), QStringLiteral("Indice de"),
                                 this, 16, 92, 130);
    EditMinIndice =
        edition(QStringLiteral("EditMinIndice"), QStringLiteral("20"), 3, this, 150, 91, 30);
    UpMinIndice = new TUpDown(QStringLiteral("UpMinIndice"), 20, 100, 20, this);
    UpMinIndice->setGeometry(180, 91, 18, 24);
    auto *aIndice = new QLabel(QStringLiteral("à"), this);
    aIndice->setGeometry(206, 94, 14, 18);
    EditMaxIndice =
        edition(QStringLiteral("EditMaxIndice"), QStringLiteral("100"), 3, this, 222, 91, 30);
    UpMaxIndice = new TUpDown(QStringLiteral("UpMaxIndice"), 20, 100, 100, this);
    UpMaxIndice->setGeometry(252, 91, 18, 24);

    CheckCotisation = caseACocher(QStringLiteral("CheckCotisation"),
                                  QStringLiteral("Type de licence"), this, 16, 126, 200);
    GroupCotis = listeACocher(QStringLiteral("GroupCotis"), this);
    GroupCotis->setGeometry(16, 150, 262, 190);

    CheckClubs =
        caseACocher(QStringLiteral("CheckClubs"), QStringLiteral("Clubs"), this, 290, 58, 200);
    GroupeClubs = listeACocher(QStringLiteral("GroupeClubs"), this);
    GroupeClubs->setGeometry(290, 82, 529, 258);

    // Statistics.
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(830, 48, 434, 318);
    Chart1 = new TChart(QStringLiteral("Chart1"));
    Chart2 = new TChart(QStringLiteral("Chart2"));
    Chart2->setLegendVisible(false);
    PageControl1->addTab(Chart1, QStringLiteral("Indices"));
    PageControl1->addTab(Chart2, QStringLiteral("Age"));

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(16, 350, 200, 18);
    Label2->setFont(gras);
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(290, 350, 200, 18);
    Label3->setFont(gras);

    // The list; the "X" button sits over its selection column.
    StrGrd = new QTableWidget(this);
    StrGrd->setObjectName(QStringLiteral("StrGrd"));
    StrGrd->setGeometry(16, 376, 1248, 408);
    StrGrd->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StrGrd->setSelectionMode(QAbstractItemView::SingleSelection);
    StrGrd->setSelectionBehavior(QAbstractItemView::SelectItems);
    StrGrd->verticalHeader()->setVisible(false);
    StrGrd->verticalHeader()->setDefaultSectionSize(20);
    StrGrd->horizontalHeader()->setHighlightSections(false);
    StrGrd->horizontalHeader()->setMinimumSectionSize(8);
    StrGrd->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);

    Bt_Courriel = new QPushButton(Marque, this);
    Bt_Courriel->setObjectName(QStringLiteral("Bt_Courriel"));
    Bt_Courriel->setGeometry(16 + 1 + 1075, 348, 17, 24);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Exportation1 = PopupMenu1->addAction(QStringLiteral("Exportation"));
    Exportation1->setObjectName(QStringLiteral("Exportation1"));
    Publipostage1 = PopupMenu1->addAction(QStringLiteral("Publipostage"));
    Publipostage1->setObjectName(QStringLiteral("Publipostage1"));

    using T = TVorn_FEdition_Joueurs;
    for (QCheckBox *c : {CheckBoxNom, CheckBoxIndice, CheckCotisation, CheckClubs})
        connect(c, &QCheckBox::clicked, this, handler(this, &T::CheckBoxNomClick));
    for (QListWidget *l : {GroupCotis, GroupeClubs})
        connect(l, &QListWidget::itemChanged, this, handler(this, &T::CheckBoxNomClick));
    connect(UpMinNom, &TUpDown::clicked, this, handler(this, &T::UpMinNomClick));
    connect(UpMaxNom, &TUpDown::clicked, this, handler(this, &T::UpMaxNomClick));
    connect(EditminNom, &QLineEdit::editingFinished, this, handler(this, &T::EditminNomExit));
    connect(EditMaxNom, &QLineEdit::editingFinished, this, handler(this, &T::EditMaxNomExit));
    connect(UpMinIndice, &TUpDown::clicked, this, handler(this, &T::UpMinIndiceClick));
    connect(UpMaxIndice, &TUpDown::clicked, this, handler(this, &T::UpMaxIndiceClick));
    connect(EditMinIndice, &QLineEdit::editingFinished, this, handler(this, &T::EditMinIndiceExit));
    connect(EditMaxIndice, &QLineEdit::editingFinished, this, handler(this, &T::EditMaxIndiceExit));
    connect(StrGrd, &QTableWidget::cellClicked, this,
            platform::handler([this](int r, int c) { StrGrdSelectCell(r, c); }));
    connect(Bt_Courriel, &QPushButton::clicked, this, handler(this, &T::Bt_CourrielClick));
    connect(Bt_Action, &QPushButton::clicked, this, handler(this, &T::Bt_ActionClick));
    connect(Exportation1, &QAction::triggered, this, handler(this, &T::Exportation1Click));
    connect(Publipostage1, &QAction::triggered, this, handler(this, &T::Publipostage1Click));
    connect(Bt_Impression, &QPushButton::clicked, this, handler(this, &T::Bt_ImpressionClick));
    connect(Bt_Quitter, &QPushButton::clicked, this, handler(this, &T::Bt_QuitterClick));
}

TVorn_FEdition_Joueurs::~TVorn_FEdition_Joueurs() = default;

bool TVorn_FEdition_Joueurs::modeCourriel() const
{
    return Bt_Action->text() != QLatin1String("Editer");
}

void TVorn_FEdition_Joueurs::FormDeactivate()
{
    // The list stays: the window's criteria still filter it when it comes back.
}

void TVorn_FEdition_Joueurs::reglerColonnes()
{
    const bool courriel = modeCourriel();
    StrGrd->setColumnCount(courriel ? 9 : 8);
    for (int c = 0; c < 8; ++c) {
        const Colonne &col = Colonnes[c];
        QString entete = QString::fromUtf16(col.entete);
        if (c == 6 && courriel)
            entete = QStringLiteral("Adresse courriel");
        StrGrd->setHorizontalHeaderItem(c, new QTableWidgetItem(entete));
        StrGrd->setColumnWidth(c, courriel ? col.largeurCourriel : col.largeurEditer);
    }
    if (courriel)
        StrGrd->setColumnWidth(ColonneSelection, 13);
}

void TVorn_FEdition_Joueurs::FormActivate()
{
    const bool courriel = modeCourriel();
    const QString fichier = fichierSaison(QStringLiteral("Joueur.DBP"));
    if (m_saison.nom() == SaisonEnCours && m_courrielMontre == courriel &&
        m_empreinte == empreinteFichier(fichier))
        return;
    // Read whole before the window lets go of what it shows.
    QStringList lus = manager::LireLignesJoueurs(fichier);
    const bool autreSaison = m_saison.nom() != SaisonEnCours;
    m_courrielMontre.reset();
    m_saison.lire();
    m_joueurs = std::move(lus);
    m_empreinte = empreinteFichier(fichier);
    m_courrielMontre = courriel;
    if (autreSaison) {
        m_marquesChoisies.clear();
        m_marqueEntete = Marque;
    } else
        garderMarquesPresentes();
    CheckBoxNom->setChecked(false);

    reglerColonnes();
    PageControl1->setVisible(!courriel);
    Bt_Impression->setVisible(!courriel);
    GroupeClubs->resize(courriel ? 873 : 529, GroupeClubs->height());
    reglerColonnesListe(GroupeClubs, courriel ? 3 : 2);
    Bt_Courriel->setVisible(courriel);
    if (courriel)
        StrGrd->setHorizontalHeaderItem(ColonneSelection, new QTableWidgetItem(m_marqueEntete));

    // Filters back to their full range.
    EditminNom->setText(QStringLiteral("A"));
    EditMaxNom->setText(QStringLiteral("Z"));
    UpMinNom->setMin(65);
    UpMinNom->setMax(90);
    UpMinNom->setPosition(65);
    UpMaxNom->setMin(65);
    UpMaxNom->setMax(90);
    UpMaxNom->setPosition(90);
    CheckBoxIndice->setChecked(false);
    EditMinIndice->setText(QStringLiteral("20"));
    EditMaxIndice->setText(QStringLiteral("100"));
    UpMinIndice->setMin(20);
    UpMinIndice->setMax(100);
    UpMinIndice->setPosition(20);
    UpMaxIndice->setMin(20);
    UpMaxIndice->setMax(100);
    UpMaxIndice->setPosition(100);
    CheckCotisation->setChecked(false);
    remplirListes();
    if (GroupCotis->count() > 0)
        CheckCotisation->setEnabled(true);
    else
        CheckCotisation->setChecked(false);

    Label1->setText(QStringLiteral("Critères de tri des ") + QString::number(m_joueurs.size()) +
                    QStringLiteral(" enregistrements"));
    RemplirGrille();
}

void TVorn_FEdition_Joueurs::garderMarquesPresentes()
{
    QSet<QString> presents;
    presents.reserve(m_joueurs.size());
    for (const QString &ligne : std::as_const(m_joueurs))
        presents.insert(cleMarque(ligne));
    m_marquesChoisies.removeIf([&presents](QHash<QString, bool>::iterator marque) {
        return !presents.contains(marque.key());
    });
}

void TVorn_FEdition_Joueurs::remplirListes()
{
    const QSignalBlocker b1(GroupCotis);
    const QSignalBlocker b2(GroupeClubs);
    GroupCotis->clear();
    GroupeClubs->clear();
    const auto remplir = [](QListWidget *liste, const QStringList &valeurs) {
        for (const QString &v : valeurs) {
            auto *item = new QListWidgetItem(v, liste);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    };
    remplir(GroupCotis, manager::valeursDistinctes(m_joueurs, ChampTypeLicence));
    remplir(GroupeClubs, manager::valeursDistinctes(m_joueurs, ChampClub));
}

manager::FiltresJoueurs TVorn_FEdition_Joueurs::filtres() const
{
    manager::FiltresJoueurs f;
    f.nom = CheckBoxNom->isChecked();
    f.nomMin = QChar(char16_t(UpMinNom->Position()));
    f.nomMax = QChar(char16_t(UpMaxNom->Position()));
    f.indice = CheckBoxIndice->isChecked();
    f.indiceMin = UpMinIndice->Position();
    f.indiceMax = UpMaxIndice->Position();
    f.clubs = CheckClubs->isChecked();
    f.clubsCoches = elementsCoches(GroupeClubs);
    f.cotisation = CheckCotisation->isChecked();
    f.cotisationsCochees = elementsCoches(GroupCotis);
    return f;
}

bool TVorn_FEdition_Joueurs::FiltreJoueur(int i) const
{
    return manager::FiltreJoueur(m_joueurs.value(i), filtres());
}

void TVorn_FEdition_Joueurs::RemplirGrille()
{
    const bool courriel = modeCourriel();
    const manager::FiltresJoueurs f = filtres();
    const QList<int> listes = manager::joueursFiltres(m_joueurs, f);
    const QString marqueEntete = courriel ? m_marqueEntete : QString();

    m_courriels = 0;
    m_listes.clear();
    StrGrd->setUpdatesEnabled(false);
    StrGrd->clearContents();
    StrGrd->setRowCount(int(listes.size()));
    int ligne = 0;
    for (int i : listes) {
        m_listes.append(m_joueurs[i]);
        const manager::FicheJoueur f = manager::FicheJoueur::depuisLigne(m_joueurs[i]);
        const QString cellules[] = {f.Licence,
                                    f.Titre,
                                    f.Nom,
                                    f.Prenom,
                                    f.Indice,
                                    f.DateNaissance,
                                    courriel ? f.Courriel : f.Club,
                                    f.TypeLicence};
        for (int c = 0; c < 8; ++c)
            StrGrd->setItem(ligne, c, new QTableWidgetItem(cellules[c]));
        if (courriel) {
            QString marque;
            if (!f.Courriel.isEmpty()) {
                marque = marqueEntete;
                if (const auto choix = m_marquesChoisies.constFind(cleMarque(m_joueurs[i]));
                    choix != m_marquesChoisies.cend())
                    marque = *choix ? Marque : QString();
                if (marque == Marque)
                    ++m_courriels;
            }
            auto *cellule = new QTableWidgetItem(marque);
            cellule->setTextAlignment(Qt::AlignCenter);
            StrGrd->setItem(ligne, ColonneSelection, cellule);
        }
        ++ligne;
    }
    StrGrd->setUpdatesEnabled(true);

    const manager::StatistiquesJoueurs stats = manager::statistiques(m_joueurs, listes, Now());
    Label2->setText(QStringLiteral("Trouvé = ") + QString::number(stats.trouves));
    Bt_Action->setEnabled(stats.trouves > 0);
    afficherCompteCourriel();

    // White, green, yellow, red, black, as the platform's colours.
    static constexpr unsigned couleurs[manager::NombreBandes] = {0xFFFFFF, 0x008000, 0x00FFFF,
                                                                 0x0000FF, 0x000000};
    QList<TChart::Point> parts;
    for (int b = 0; b < manager::NombreBandes; ++b)
        parts.append({manager::NomsBandes[size_t(b)], double(stats.bandes[size_t(b)]),
                      couleurPlateforme(couleurs[b])});
    Chart1->setTitle(QStringLiteral("la répartition des Indices"));
    Chart1->setPieSeries(QStringLiteral("Series1"), parts, TChart::Marks::Percent);

    QList<TChart::Point> barres;
    for (const auto &b : stats.barres())
        barres.append({b.first, double(b.second), QColor()});
    Chart2->setTitle(stats.titreAge());
    Chart2->setBarSeries(QStringLiteral("Series2"), barres, TChart::Marks::Value);
}

void TVorn_FEdition_Joueurs::afficherCompteCourriel()
{
    Label3->setText(QStringLiteral("Courriel = ") + QString::number(m_courriels));
}

void TVorn_FEdition_Joueurs::CheckBoxNomClick()
{
    RemplirGrille();
}

void TVorn_FEdition_Joueurs::UpMinNomClick()
{
    UpMaxNom->setMin(UpMinNom->Position());
    EditminNom->setText(QString(QChar(char16_t(UpMinNom->Position()))));
    RemplirGrille();
}

void TVorn_FEdition_Joueurs::UpMaxNomClick()
{
    UpMinNom->setMax(UpMaxNom->Position());
    EditMaxNom->setText(QString(QChar(char16_t(UpMaxNom->Position()))));
    RemplirGrille();
}

void TVorn_FEdition_Joueurs::EditminNomExit()
{
    const QChar lettre =
        manager::lettreAcceptee(EditminNom->text(), u'A', QChar(char16_t(UpMinNom->Max())),
                                QChar(char16_t(UpMinNom->Position())));
    UpMinNom->setPosition(lettre.unicode());
    UpMinNomClick();
}

void TVorn_FEdition_Joueurs::EditMaxNomExit()
{
    const QChar lettre =
        manager::lettreAcceptee(EditMaxNom->text(), QChar(char16_t(UpMaxNom->Min())), u'Z',
                                QChar(char16_t(UpMaxNom->Position())));
    UpMaxNom->setPosition(lettre.unicode());
    UpMaxNomClick();
}

void TVorn_FEdition_Joueurs::UpMinIndiceClick()
{
    UpMaxIndice->setMin(UpMinIndice->Position());
    EditMinIndice->setText(QString::number(UpMinIndice->Position()));
    RemplirGrille();
}

void TVorn_FEdition_Joueurs::UpMaxIndiceClick()
{
    UpMinIndice->setMax(UpMaxIndice->Position());
    EditMaxIndice->setText(QString::number(UpMaxIndice->Position()));
    RemplirGrille();
}

void TVorn_FEdition_Joueurs::EditMinIndiceExit()
{
    UpMinIndice->setPosition(manager::indiceAccepte(EditMinIndice->text(), 20, UpMinIndice->Max(),
                                                    UpMinIndice->Position()));
    UpMinIndiceClick();
}

void TVorn_FEdition_Joueurs::EditMaxIndiceExit()
{
    UpMaxIndice->setPosition(manager::indiceAccepte(EditMaxIndice->text(), UpMaxIndice->Min(), 100,
                                                    UpMaxIndice->Position()));
    UpMaxIndiceClick();
}

void TVorn_FEdition_Joueurs::StrGrdSelectCell(int row, int column)
{
    if (!modeCourriel() || column != ColonneSelection || row < 0 || row >= StrGrd->rowCount())
        return;
    QTableWidgetItem *cellule = StrGrd->item(row, ColonneSelection);
    if (!cellule)
        return;
    if (cellule->text() == Marque) {
        cellule->setText(QString());
        --m_courriels;
        m_marquesChoisies.insert(cleMarque(m_listes.value(row)), false);
    } else if (StrGrd->item(row, 6) && !StrGrd->item(row, 6)->text().isEmpty()) {
        cellule->setText(Marque);
        ++m_courriels;
        m_marquesChoisies.insert(cleMarque(m_listes.value(row)), true);
    }
    afficherCompteCourriel();
}

void TVorn_FEdition_Joueurs::Bt_CourrielClick()
{
    QTableWidgetItem *entete = StrGrd->horizontalHeaderItem(ColonneSelection);
    if (!entete)
        return;
    m_marqueEntete = m_marqueEntete == Marque ? QString() : Marque;
    entete->setText(m_marqueEntete);
    // All or none: the choices made by hand give way.
    m_marquesChoisies.clear();
    RemplirGrille();
}

bool TVorn_FEdition_Joueurs::EnvoyerCourriel(const QStringList &adresses)
{
    if (adresses.isEmpty())
        return true;
    return OpenMailLink(manager::lienCourriel(adresses, CB_BCC->isChecked()));
}

void TVorn_FEdition_Joueurs::Bt_ActionClick()
{
    if (!modeCourriel()) {
        // The menu pops up where the button was, once the window is hidden.
        m_positionMenu = QPoint(frameGeometry().left() + Bt_Action->x() + 4,
                                frameGeometry().top() + Bt_Action->y() + 60);
        Hide();
        PopupMenu1->popup(m_positionMenu);
        return;
    }
    ShowMessage(QStringLiteral("Choisir son compte Courriel"));
    QStringList adresses;
    for (int r = 0; r < StrGrd->rowCount(); ++r) {
        const QTableWidgetItem *cellule = StrGrd->item(r, ColonneSelection);
        if (cellule && cellule->text() == Marque)
            adresses.append(StrGrd->item(r, 6) ? StrGrd->item(r, 6)->text() : QString());
    }
    // Without a mail program no group can go: warned once, the rest is not
    // tried.
    for (const QStringList &lot : manager::lotsCourriel(adresses, Nbr_Courriel->value()))
        if (!EnvoyerCourriel(lot))
            break;
    Hide();
}

void TVorn_FEdition_Joueurs::Exportation1Click()
{
    ExporterJoueurs(QStringLiteral("Exportation"));
}

void TVorn_FEdition_Joueurs::Publipostage1Click()
{
    ExporterJoueurs(QStringLiteral("Publipostage"));
}

void TVorn_FEdition_Joueurs::ExporterJoueurs(const QString &nom)
{
    const EcritureSaison saison(m_saison);
    const QStringList lignes = manager::lignesExportation(m_listes);
    SaveDialog1->FileName = fichierSaison(nom + QStringLiteral(".txt"));
    SaveDialog1->OverwritePrompt = true;
    if (!SaveDialog1->Execute())
        return;
    LineFile::write(SaveDialog1->FileName, lignes);
}

void TVorn_FEdition_Joueurs::Bt_ImpressionClick()
{
    TChart *chart = PageControl1->currentIndex() == 0 ? Chart1 : Chart2;
    if (!chart->Print())
        MessageDlg(QStringLiteral("Impossible d'imprimer sur ") + currentPrinterName(), mtError,
                   mbOK);
}

void TVorn_FEdition_Joueurs::Bt_QuitterClick()
{
    Hide();
}
