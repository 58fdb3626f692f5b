#include "manager/vorn_fvorn.h"
#include "manager/core/bonus.h"
#include "manager/core/horaires.h"
#include "manager/core/repartition.h"
#include "platform/clock/clock.h"
#include "platform/forms/application.h"
#include "platform/forms/controls.h"
#include "platform/text/convert.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimeEdit>
#include <memory>
#include <vector>

namespace
{

const QColor kVert(0, 128, 0);
const QColor kRouge(255, 0, 0);

QSpinBox *spinEdit(QWidget *parent, const QString &name, int min, int max, int value,
                   const QRect &geometry)
{
    auto *spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(min, max);
    spin->setValue(value);
    spin->setGeometry(geometry);
    return spin;
}

QLabel *label(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(geometry);
    return l;
}

QLineEdit *edit(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(geometry);
    return e;
}

QString n(const char *base, int i)
{
    return QLatin1String(base) + QString::number(i);
}

void couleurTexte(QWidget *w, const QColor &c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Text, c);
    w->setPalette(p);
}

void couleurFond(QWidget *w, const QColor &c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, c);
    w->setPalette(p);
}

// Silences the change handlers of several controls while presets fill them,
// so that the timetable is computed once afterwards.
class Silence
{
public:
    explicit Silence(std::initializer_list<QObject *> objets)
    {
        for (QObject *o : objets)
            if (o)
                m_bloqueurs.push_back(std::make_unique<QSignalBlocker>(o));
    }
    void ajoute(QObject *o) { m_bloqueurs.push_back(std::make_unique<QSignalBlocker>(o)); }

private:
    std::vector<std::unique_ptr<QSignalBlocker>> m_bloqueurs;
};

} // namespace

TVorn_FVorn::TVorn_FVorn(QWidget *parent) : platform::TForm(QStringLiteral("Vorn_FVorn"), parent)
{
    setCaption(QStringLiteral("Calculs pour les convocations"));
    // Settings of the calculations and texts to print: nothing is recorded.
    champDeReglage(this);
    setFixedSize(920, 612);
    buildTimetable();
    buildBonus();
    buildDistribution();
    // An error is shown; the window still comes up with the others.
    platform::guard([this] { FormCreate(); });
}

void TVorn_FVorn::buildTimetable()
{
    PanelHoraires = new QGroupBox(QStringLiteral("Calcul des horaires pour le"), this);
    PanelHoraires->setObjectName(QStringLiteral("PanelHoraires"));
    PanelHoraires->setGeometry(8, 8, 904, 318);
    QWidget *p = PanelHoraires;

    RgType = new platform::TRadioGroup(
        QStringLiteral("RgType"), QStringLiteral("Type"),
        {QStringLiteral("Paires"), QStringLiteral("Suisse"), QStringLiteral("Poule")}, p);
    RgType->setGeometry(10, 24, 100, 100);

    DateComp = new QDateEdit(p);
    DateComp->setObjectName(QStringLiteral("DateComp"));
    DateComp->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    DateComp->setCalendarPopup(true);
    DateComp->setGeometry(122, 34, 120, 26);
    Heure = new QTimeEdit(QTime(14, 0), p);
    Heure->setObjectName(QStringLiteral("Heure"));
    Heure->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    Heure->setGeometry(122, 72, 120, 26);

    RG1 = new platform::TRadioGroup(QStringLiteral("RG1"), QString(),
                                    {QStringLiteral("09h30"), QStringLiteral("13h30")}, p);
    RG1->setGeometry(254, 24, 90, 80);

    label(p, QStringLiteral("LbNbSe"), QStringLiteral("Séances : "), {356, 38, 84, 20});
    NbSe = spinEdit(p, QStringLiteral("NbSe"), 1, 6, 2, {440, 34, 56, 26});
    label(p, QStringLiteral("LbNbDo"), QStringLiteral("de donnes : "), {356, 76, 84, 20});
    NbDo = spinEdit(p, QStringLiteral("NbDo"), 6, 72, 27, {440, 72, 56, 26});

    Ecran = new platform::TRadioGroup(QStringLiteral("Ecran"), QStringLiteral("Ecrans"),
                                      {QStringLiteral("Avec"), QStringLiteral("Sans")}, p);
    Ecran->setGeometry(510, 24, 90, 80);
    Ecran->setItemIndex(1);

    Cb_Nb_Part = new QComboBox(p);
    Cb_Nb_Part->setObjectName(QStringLiteral("Cb_Nb_Part"));
    Cb_Nb_Part->setEditable(true);
    for (int i = 1; i <= 60; ++i)
        Cb_Nb_Part->addItem(QString::number(i).rightJustified(2, QLatin1Char('0')));
    Cb_Nb_Part->setCurrentText(QStringLiteral("18"));
    Cb_Nb_Part->setGeometry(614, 34, 64, 26);
    Lb_part = label(p, QStringLiteral("Lb_part"), QStringLiteral("d'équipes"), {684, 38, 80, 20});
    Sc0 = edit(p, QStringLiteral("Sc0"), {614, 72, 64, 26});
    Sc0->setEnabled(false);
    Sc[0] = Sc0;

    BtQuitter = new QPushButton(QStringLiteral("Quitter"), p);
    BtQuitter->setObjectName(QStringLiteral("BtQuitter"));
    BtQuitter->setGeometry(796, 30, 96, 30);

    for (int i = 1; i <= 6; ++i) {
        const int x = 10 + (i - 1) * 148;
        Sc[i] = edit(p, n("Sc", i), {x, 136, 60, 26});
        Sf[i] = edit(p, n("Sf", i), {x, 168, 60, 26});
        Sc[i]->setEnabled(false);
        Sf[i]->setEnabled(false);
        if (i == 6)
            break;
        Pau[i] = label(p, n("Pau", i), QStringLiteral("Pause"), {x + 66, 132, 50, 20});
        Ps[i] = new QCheckBox(p);
        Ps[i]->setObjectName(n("Ps", i));
        Ps[i]->setGeometry(x + 116, 132, 22, 20);
        Rep[i] = label(p, n("Rep", i), QStringLiteral("Repas"), {x + 66, 154, 50, 20});
        Pp[i] = new QCheckBox(p);
        Pp[i]->setObjectName(n("Pp", i));
        Pp[i]->setGeometry(x + 116, 154, 22, 20);
        Rp[i] = spinEdit(p, n("Rp", i), 1, 109, i == 1 ? 10 : 15, {x + 66, 178, 66, 26});
    }

    Phrase = edit(p, QStringLiteral("Phrase"), {10, 218, 884, 26});
    Horraire = edit(p, QStringLiteral("Horraire"), {10, 250, 884, 26});
    Modalite = edit(p, QStringLiteral("Modalite"), {10, 282, 884, 26});

    using platform::handler;
    connect(RgType, &platform::TRadioGroup::clicked, this,
            handler(this, &TVorn_FVorn::RgTypeClick));
    connect(RG1, &platform::TRadioGroup::clicked, this, handler(this, &TVorn_FVorn::RG1Click));
    connect(NbDo, &QSpinBox::textChanged, this, handler(this, &TVorn_FVorn::NbDoChange));
    connect(NbSe, &QSpinBox::textChanged, this, handler(this, &TVorn_FVorn::NbSeChange));
    connect(DateComp, &QDateEdit::dateChanged, this, handler(this, &TVorn_FVorn::NbDoChange));
    connect(Heure, &QTimeEdit::timeChanged, this, handler(this, &TVorn_FVorn::NbDoChange));
    connect(Ecran, &platform::TRadioGroup::clicked, this, handler(this, &TVorn_FVorn::NbDoChange));
    connect(Cb_Nb_Part, &QComboBox::currentTextChanged, this,
            handler(this, &TVorn_FVorn::Cb_Nb_PartChange));
    connect(BtQuitter, &QPushButton::clicked, this, handler(this, &TVorn_FVorn::BtQuitterClick));
    for (int i = 1; i <= 5; ++i) {
        connect(Rp[i], &QSpinBox::textChanged, this, handler(this, &TVorn_FVorn::NbDoChange));
        connect(Ps[i], &QCheckBox::clicked, this, platform::handler([this, i] { PsClick(i); }));
        connect(Pp[i], &QCheckBox::clicked, this, platform::handler([this, i] { PpClick(i); }));
    }
}

void TVorn_FVorn::buildBonus()
{
    PanelBonus = new QGroupBox(QStringLiteral("Calcul Bonus Patton Suisse"), this);
    PanelBonus->setObjectName(QStringLiteral("PanelBonus"));
    PanelBonus->setGeometry(8, 334, 904, 70);
    QWidget *p = PanelBonus;
    label(p, QStringLiteral("LbNbTr"), QStringLiteral("Tours : "), {10, 32, 60, 20});
    NbTr = spinEdit(p, QStringLiteral("NbTr"), 5, 8, 6, {70, 28, 56, 26});
    label(p, QStringLiteral("LbNbEq"), QStringLiteral("Nombre d'équipe : "), {146, 32, 134, 20});
    NbEq = spinEdit(p, QStringLiteral("NbEq"), 11, 30, 18, {280, 28, 56, 26});
    Bonus = edit(p, QStringLiteral("Bonus"), {356, 28, 70, 26});
    Bonus->setReadOnly(true);
    Information =
        label(p, QStringLiteral("Information"), QStringLiteral("Jouable"), {440, 32, 140, 20});
    using platform::handler;
    connect(NbTr, &QSpinBox::textChanged, this, handler(this, &TVorn_FVorn::NbTrChange));
    connect(NbEq, &QSpinBox::textChanged, this, handler(this, &TVorn_FVorn::NbEqChange));
}

void TVorn_FVorn::buildDistribution()
{
    PanelRepartition = new QGroupBox(QStringLiteral("Calcul Répartition pour "), this);
    PanelRepartition->setObjectName(QStringLiteral("PanelRepartition"));
    PanelRepartition->setGeometry(8, 412, 904, 192);
    QWidget *p = PanelRepartition;
    label(p, QStringLiteral("LbQa"), QStringLiteral("Qualifiées :"), {10, 32, 86, 20});
    Qa = spinEdit(p, QStringLiteral("Qa"), 1, 70, 3, {96, 28, 56, 26});
    label(p, QStringLiteral("LbQo"), QStringLiteral("Q. O. : "), {172, 32, 56, 20});
    Qo = spinEdit(p, QStringLiteral("Qo"), 0, 10, 0, {228, 28, 56, 26});
    Centres = spinEdit(p, QStringLiteral("Centres"), 2, 6, 2, {304, 28, 56, 26});
    // The count changes by its arrows only.
    if (auto *saisie = Centres->findChild<QLineEdit *>())
        saisie->setReadOnly(true);
    label(p, QStringLiteral("LbCentres"), QStringLiteral("centres"), {366, 32, 70, 20});

    for (int i = 1; i <= 6; ++i) {
        const int x = 10 + (i - 1) * 148;
        Etiq[i] = label(p, n("Etiq", i), QStringLiteral("Centre %1 : ").arg(i), {x, 78, 76, 20});
        CeN[i] = spinEdit(p, n("Ce", i), i == 1 ? 1 : 0, 100, i == 1 ? 1 : 0, {x + 76, 74, 58, 26});
        E[i] = edit(p, n("E", i), {x, 112, 134, 26});
        E[i]->setText(QStringLiteral("0,0"));
        E[i]->setReadOnly(true);
        couleurTexte(E[i], kVert);
        Q[i] = edit(p, n("Q", i), {x, 148, 60, 26});
        Q[i]->setText(QStringLiteral("0"));
        Q[i]->setReadOnly(true);
        const bool visible = i <= 2;
        Etiq[i]->setVisible(visible);
        CeN[i]->setVisible(visible);
        E[i]->setVisible(visible);
        Q[i]->setVisible(visible);
    }
    Ce1 = CeN[1];
    Ce2 = CeN[2];

    using platform::handler;
    connect(Qa, &QSpinBox::textChanged, this, handler(this, &TVorn_FVorn::QaChange));
    connect(Qo, &QSpinBox::textChanged, this, handler(this, &TVorn_FVorn::QoChange));
    connect(Centres, &QSpinBox::textChanged, this, handler(this, &TVorn_FVorn::CentresChange));
    for (int i = 1; i <= 6; ++i)
        connect(CeN[i], &QSpinBox::textChanged, this,
                platform::handler([this, i] { CeChange(i); }));
}

void TVorn_FVorn::FormCreate()
{
    {
        const QSignalBlocker b(DateComp);
        DateComp->setDate(platform::dateOf(platform::Date()));
    }
    for (QWidget *w : std::initializer_list<QWidget *>{Ecran, DateComp, Heure, NbSe, NbDo})
        w->setEnabled(false);
    for (int i = 1; i <= 5; ++i) {
        Ps[i]->setEnabled(false);
        Pp[i]->setEnabled(false);
        Rp[i]->setEnabled(false);
    }
    CalculBonus();
    CalculHoraires();
}

void TVorn_FVorn::RgTypeClick()
{
    const int type = RgType->ItemIndex();
    for (QWidget *w : std::initializer_list<QWidget *>{Ecran, DateComp, Heure, NbSe, NbDo})
        w->setEnabled(true);
    Silence silence({NbSe, NbDo, Cb_Nb_Part});
    for (int i = 1; i <= 5; ++i) {
        silence.ajoute(Ps[i]);
        silence.ajoute(Pp[i]);
        silence.ajoute(Rp[i]);
        Ps[i]->setChecked(false);
        Pp[i]->setChecked(false);
        Ps[i]->setEnabled(true);
        Pp[i]->setEnabled(true);
        Rp[i]->setEnabled(true);
    }
    struct Preset {
        int seances, donnes;
        const char *libelle, *participants;
        int rp1, rpSuite;
    };
    static const Preset presets[3] = {{2, 26, "de paires", "36", 20, 20},
                                      {3, 16, "d'équipes", "18", 10, 15},
                                      {4, 12, "d'équipes", "12", 10, 10}};
    if (type >= 0 && type <= 2) {
        const Preset &pr = presets[type];
        NbSe->setValue(pr.seances);
        NbDo->setValue(pr.donnes);
        Lb_part->setText(QString::fromUtf8(pr.libelle));
        Cb_Nb_Part->setCurrentText(QString::fromLatin1(pr.participants));
        Rp[1]->setValue(pr.rp1);
        for (int i = 2; i <= 5; ++i)
            Rp[i]->setValue(pr.rpSuite);
    }
    CalculHoraires();
}

void TVorn_FVorn::RG1Click()
{
    {
        const QSignalBlocker b(Heure);
        Heure->setTime(RG1->ItemIndex() == 0 ? QTime(9, 30) : QTime(13, 30));
    }
    CalculHoraires();
}

void TVorn_FVorn::NbDoChange()
{
    if (!NbDo->cleanText().isEmpty())
        CalculHoraires();
}

void TVorn_FVorn::NbSeChange()
{
    if (!NbSe->cleanText().isEmpty())
        CalculHoraires();
}

int TVorn_FVorn::pauseLength() const
{
    return DureePause(RgType->ItemIndex(), platform::StrToInt(Cb_Nb_Part->currentText()));
}

void TVorn_FVorn::PsClick(int i)
{
    Pp[i]->setEnabled(!Ps[i]->isChecked());
    {
        const QSignalBlocker b(Rp[i]);
        if (Ps[i]->isChecked()) {
            Rp[i]->setValue(pauseLength());
        } else {
            const int normal = IntervalleNormal(RgType->ItemIndex(), i);
            if (normal > 0)
                Rp[i]->setValue(normal);
        }
    }
    CalculHoraires();
}

void TVorn_FVorn::PpClick(int i)
{
    Ps[i]->setEnabled(!Pp[i]->isChecked());
    {
        const QSignalBlocker b(Rp[i]);
        if (Pp[i]->isChecked()) {
            Rp[i]->setValue(90);
        } else {
            const int normal = IntervalleNormal(RgType->ItemIndex(), i);
            if (normal > 0)
                Rp[i]->setValue(normal);
        }
    }
    CalculHoraires();
}

void TVorn_FVorn::Cb_Nb_PartChange()
{
    if (Cb_Nb_Part->currentText().isEmpty())
        return;
    bool change = false;
    for (int i = 1; i <= 5; ++i) {
        if (!Ps[i]->isChecked())
            continue;
        const QSignalBlocker b(Rp[i]);
        Rp[i]->setValue(pauseLength());
        change = true;
    }
    if (change)
        CalculHoraires();
}

void TVorn_FVorn::NbTrChange()
{
    if (!NbTr->cleanText().isEmpty())
        CalculBonus();
}

void TVorn_FVorn::NbEqChange()
{
    if (!NbEq->cleanText().isEmpty())
        CalculBonus();
}

void TVorn_FVorn::BtQuitterClick()
{
    Hide();
}

void TVorn_FVorn::CalculHoraires()
{
    HorairesEntree in;
    in.type = RgType->ItemIndex();
    in.date = platform::toDateTime(DateComp->date());
    in.heure = Heure->time().toString(QStringLiteral("HH:mm:ss"));
    in.seances = NbSe->value();
    in.donnes = NbDo->value();
    in.ecran = Ecran->ItemIndex();
    in.sc0 = Sc0->text();
    for (int i = 1; i <= 5; ++i) {
        in.pause[std::size_t(i - 1)] = Ps[i]->isChecked();
        in.repas[std::size_t(i - 1)] = Pp[i]->isChecked();
        in.intervalle[std::size_t(i - 1)] = Rp[i]->value();
    }
    const HorairesResultat r = ::CalculHoraires(in);

    for (int i = 1; i <= 6; ++i) {
        const bool seance = i <= in.seances;
        Sc[i]->setVisible(seance);
        Sf[i]->setVisible(seance);
        if (seance) {
            Sc[i]->setText(r.debuts[std::size_t(i - 1)]);
            Sf[i]->setText(r.fins[std::size_t(i - 1)]);
        }
        if (i == 6)
            break;
        const bool entre = i < in.seances;
        for (QWidget *w : std::initializer_list<QWidget *>{Rep[i], Pp[i], Pau[i], Ps[i], Rp[i]})
            w->setVisible(entre);
    }
    Sc0->setText(r.sc0);
    Phrase->setText(r.phrase);
    Horraire->setText(r.horraire);
    Modalite->setText(r.modalite);
}

void TVorn_FVorn::CalculBonus()
{
    const ResultatBonus r = ::CalculBonus(NbTr->value(), NbEq->value());
    Bonus->setText(r.texte);
    couleurFond(Bonus, QColor::fromRgb(QRgb(r.rgb)));
    Information->setText(r.information);
}

void TVorn_FVorn::QaChange()
{
    if (!Qa->cleanText().isEmpty())
        RepartitionCentres();
}

void TVorn_FVorn::QoChange()
{
    if (!Qo->cleanText().isEmpty())
        RepartitionCentres();
}

void TVorn_FVorn::CeChange(int i)
{
    if (!CeN[i]->cleanText().isEmpty())
        RepartitionCentres();
}

void TVorn_FVorn::CentresChange()
{
    const int centres = Centres->value();
    for (int i = 1; i <= 6; ++i) {
        const bool visible = i <= centres;
        Etiq[i]->setVisible(visible);
        CeN[i]->setVisible(visible);
        E[i]->setVisible(visible);
        Q[i]->setVisible(visible);
    }
}

void TVorn_FVorn::RepartitionCentres()
{
    const int centres = Centres->value();
    std::vector<int> entrees;
    for (int i = 1; i <= centres; ++i)
        entrees.push_back(CeN[i]->value());
    const auto r = ::RepartitionCentres(Qa->value(), Qo->value(), entrees);
    for (int i = 1; i <= centres; ++i) {
        const RepartitionCentre &c = r[std::size_t(i - 1)];
        E[i]->setText(TexteQuota(c.quota));
        couleurTexte(E[i], c.proche ? kRouge : kVert);
        Q[i]->setText(QString::number(c.places));
    }
}
