#include "manager/apropos.h"
#include "manager/core/historique.h"
#include "manager/core/site.h"
#include "manager/core/site_auteur.h"
#include "manager/core/vorn_dec.h"
#include "platform/forms/application.h"
#include "platform/shell/shell.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace
{

const QColor kRouge(255, 0, 0);
const QColor kCitron(0, 255, 0);
const int kPasMs = 55;
const int kAttenteMs = 2000;

QFont police(int pixels, bool gras)
{
    QFont f(QStringLiteral("Century Schoolbook"));
    f.setStyleHint(QFont::Serif);
    f.setPixelSize(pixels);
    f.setBold(gras);
    return f;
}

QLabel *label(QWidget *parent, const QString &name, const QString &text, const QRect &geometry,
              const QFont &font, const QColor &couleur)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(geometry);
    l->setFont(font);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, couleur);
    l->setPalette(p);
    return l;
}

// The program's logo when no picture is installed beside it.
QPixmap logoDessine()
{
    QPixmap pix(65, 65);
    pix.fill(kRouge);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kCitron, 3));
    p.setBrush(QColor(128, 0, 0));
    p.drawEllipse(3, 3, 58, 58);
    p.setFont(police(26, true));
    p.drawText(QRect(0, 0, 65, 65), Qt::AlignCenter, QStringLiteral("VL"));
    return pix;
}

} // namespace

// The scrolling area: the lines of the history in blue on white, moved up
// one pixel a step from the bottom edge.
class PaintBoxApropos : public QWidget
{
public:
    PaintBoxApropos(TApropos *fenetre, QWidget *parent) : QWidget(parent), m_fenetre(fenetre)
    {
        setObjectName(QStringLiteral("PaintBox1"));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        const int s = m_fenetre->m_pas;
        if (s <= 0)
            return;
        p.setFont(QFont(QStringLiteral("Arial"), 10));
        p.setPen(Qt::blue);
        const int h = m_fenetre->m_hauteurLigne;
        const QStringList &lignes = m_fenetre->m_historique;
        for (int i = 0; i < lignes.size(); ++i) {
            const int y = h * i + (height() - s);
            if (y + h < 0 || y > height())
                continue;
            p.drawText(QRect(1, y, width() - 1, h), Qt::AlignLeft | Qt::AlignTop, lignes.at(i));
        }
    }

private:
    TApropos *m_fenetre;
};

TApropos::TApropos(QWidget *parent)
    : platform::TForm(QStringLiteral("Apropos"), parent), m_pasTimer(new QTimer(this)),
      m_attente(new QTimer(this))
{
    setCaption(QStringLiteral("A propos du logiciel Vorn Lud "));
    setPosition(Position::ScreenCenter);
    setFixedSize(480, 316);
    setAutoFillBackground(true);
    QPalette fond = palette();
    fond.setColor(QPalette::Window, kRouge);
    setPalette(fond);

    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(16, 16, 65, 65);
    // Read as the data files are: a pipe of its name is not waited on (the
    // box is made at start-up).
    QByteArray octets;
    try {
        octets = platform::LineFile::readBytes(fichierProgramme(site::fichierLogo()));
    } catch (const platform::EFileError &) {
    }
    QPixmap image;
    if (!octets.isEmpty() && image.loadFromData(octets))
        image = image.scaled(65, 65, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    else
        image = logoDessine();
    Image2->setPixmap(image);

    const QFont grand = police(27, true);
    nom = label(this, QStringLiteral("nom"), site::nomAuteur(), {100, 12, 364, 34}, grand, kCitron);
    Label1 = label(this, QStringLiteral("Label1"), site::prenomAuteur(), {100, 48, 364, 34}, grand,
                   kCitron);
    Version = label(this, QStringLiteral("Version"), QString(), {100, 92, 364, 34}, grand, kCitron);
    Label2 = label(this, QStringLiteral("Label2"), QStringLiteral("E-mail "), {16, 140, 80, 26},
                   police(16, false), kCitron);
    QFont lien = police(16, false);
    lien.setUnderline(true);
    Label3 = label(this, QStringLiteral("Label3"), site::adresseContact(), {100, 140, 364, 26},
                   lien, Qt::blue);
    Label3->installEventFilter(this);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setGeometry(16, 178, 448, 64);
    Memo1->setFont(police(15, false));
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette memo = Memo1->palette();
    memo.setColor(QPalette::Base, kRouge);
    memo.setColor(QPalette::Text, kCitron);
    Memo1->setPalette(memo);
    Memo1->setPlainText(QStringLiteral("Toutes critiques afin d'améliorer ce programme \n"
                                       "seront les bienvenues ainsi que les encouragements."));

    Button1 = new QPushButton(QStringLiteral("Historique"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(180, 262, 120, 32);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(rect());
    Panel1->setVisible(false);
    PaintBox1 = new PaintBoxApropos(this, Panel1);
    PaintBox1->setGeometry(0, 0, Panel1->width(), Panel1->height());

    m_pasTimer->setObjectName(QStringLiteral("TimerPas"));
    m_attente->setObjectName(QStringLiteral("TimerAttente"));
    m_pasTimer->setInterval(kPasMs);
    m_attente->setSingleShot(true);
    m_attente->setInterval(kAttenteMs);
    connect(m_pasTimer, &QTimer::timeout, this, platform::handler(this, &TApropos::pasSuivant));
    connect(m_attente, &QTimer::timeout, this, platform::handler(this, &TApropos::finDefilement));
    connect(Button1, &QPushButton::clicked, this, platform::handler(this, &TApropos::Button1Click));

    // An error is shown; the window still comes up with the others.
    platform::guard([this] { FormCreate(); });
}

TApropos::~TApropos() = default;

void TApropos::FormCreate()
{
    setCaption(Caption() + NumVersion);
    Version->setText(QStringLiteral("Version : ") + NumVersion);
    m_historique = HistoriqueVersions();
}

bool TApropos::defilementEnCours() const
{
    return m_pasTimer->isActive() || m_attente->isActive();
}

void TApropos::Button1Click()
{
    Panel1->setGeometry(rect());
    PaintBox1->setGeometry(0, 0, Panel1->width(), Panel1->height());
    Panel1->raise();
    Panel1->setVisible(true);
    m_hauteurLigne = QFontMetrics(QFont(QStringLiteral("Arial"), 10)).height();
    m_pasTotal = PasDefilement(m_hauteurLigne, int(m_historique.size()), PaintBox1->height());
    m_pas = 1;
    m_attente->stop();
    m_pasTimer->start();
    PaintBox1->update();
}

void TApropos::pasSuivant()
{
    if (m_pas < m_pasTotal) {
        ++m_pas;
        PaintBox1->update();
        return;
    }
    // The last step stays on screen a while before the panel goes.
    m_pasTimer->stop();
    m_attente->start();
}

void TApropos::finDefilement()
{
    arreteDefilement();
}

void TApropos::arreteDefilement()
{
    m_pasTimer->stop();
    m_attente->stop();
    m_pas = 0;
    Panel1->setVisible(false);
}

void TApropos::hideEvent(QHideEvent *event)
{
    arreteDefilement();
    platform::TForm::hideEvent(event);
}

void TApropos::Label3Click()
{
    platform::OpenMailLink(QStringLiteral("mailto:") + site::adresseContact() +
                           QStringLiteral("?subject=") + Caption().left(38));
}

void TApropos::Label3MouseEnter()
{
    Label3->setCursor(Qt::PointingHandCursor);
}

void TApropos::Label3MouseLeave()
{
    Label3->unsetCursor();
}

bool TApropos::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label3) {
        switch (event->type()) {
        case QEvent::Enter:
            platform::guard([this] { Label3MouseEnter(); });
            break;
        case QEvent::Leave:
            platform::guard([this] { Label3MouseLeave(); });
            break;
        case QEvent::MouseButtonRelease:
            platform::guard([this] { Label3Click(); });
            return true;
        default:
            break;
        }
    }
    return platform::TForm::eventFilter(watched, event);
}
