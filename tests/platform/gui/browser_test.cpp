// The embedded browser: the engine starts when the browser is first shown;
// a file is read as an HTML page whatever its extension, in the encoding its
// bytes hold; and no request leaves the machine.
#include "platform/browser/browser.h"
#include "platform/forms/form.h"
#include "tests/support/gui/browser_page.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSocketNotifier>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWindow>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace
{

using vorn_test::evaluate;
using vorn_test::waitForPage;
using vorn_test::waitUntil;

void ecrire(const QString &nom, const QByteArray &octets)
{
    QFile f(nom);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(octets);
}

TEST(WebBrowser, PagesWhateverTheirNameAndEncoding)
{
    QTemporaryDir d;
    ASSERT_TRUE(d.isValid());
    // An extract keeps the page's lines but not its head: no charset.
    const QByteArray corps = "<!DOCTYPE html>\r\n<div class=\"x\"><table><tr><td>";
    ecrire(d.filePath("poule.Qug"), corps + "Saint-\xC3\x89tienne &amp; Co</td></tr>"
                                            "<tr><td>M. J\xC3\xA9r\xC3\xB4me</td></tr></table>");
    ecrire(d.filePath("ancien.chi"),
           corps + "S\xE8te</td></tr><tr><td>Lo\xEF"
                   "c</td></tr><tr><td>&lt;b&gt;SA&lt;/b&gt;</td></tr></table>");
    ecrire(d.filePath("page.htm"), "<html><head><meta charset=\"utf-8\"><title>T</title>"
                                   "<style>td { color: rgb(255, 0, 0) }</style></head><body>"
                                   "<table><tr><td>\xC3\x80 voir</td></tr></table>"
                                   "<script>document.title = 'lu ' + 6 * 7</script></body></html>");

    platform::TWebBrowser b(QStringLiteral("WebBrowser1"));
    b.resize(800, 600);
    // Told a page while hidden: nothing starts until it is shown.
    b.Navigate(d.filePath("poule.Qug"));
    EXPECT_FALSE(b.engineStarted());
    EXPECT_EQ(b.LocationName(), d.filePath("poule.Qug"));
    b.show();
    ASSERT_TRUE(waitUntil([&] { return b.engineStarted(); }));
    ASSERT_TRUE(waitForPage(b));
    EXPECT_EQ(evaluate(b, "document.contentType").toString(), "text/html");
    EXPECT_EQ(evaluate(b, "document.querySelectorAll('tr').length").toInt(), 2);
    EXPECT_EQ(evaluate(b, "document.body.innerText").toString(), "Saint-Étienne & Co\nM. Jérôme");

    b.Navigate(d.filePath("ancien.chi"));
    ASSERT_TRUE(waitForPage(b));
    EXPECT_EQ(evaluate(b, "document.querySelectorAll('tr').length").toInt(), 3);
    EXPECT_EQ(evaluate(b, "document.body.innerText").toString(), "Sète\nLoïc\n<b>SA</b>");
    EXPECT_EQ(evaluate(b, "document.querySelectorAll('b').length").toInt(), 0);

    // A page's own style sheet and scripts work.
    b.Navigate(d.filePath("page.htm"));
    ASSERT_TRUE(waitForPage(b));
    EXPECT_EQ(evaluate(b, "document.title").toString(), "lu 42");
    EXPECT_EQ(evaluate(b, "getComputedStyle(document.querySelector('td')).color").toString(),
              "rgb(255, 0, 0)");
    EXPECT_EQ(evaluate(b, "document.body.innerText").toString(), "À voir");

    // A file that cannot be read shows an empty page.
    bool charge = false;
    QObject::connect(&b, &platform::TWebBrowser::pageLoaded, &b, [&] { charge = true; });
    b.Navigate(d.filePath("absent.Qug"));
    ASSERT_TRUE(waitUntil([&] { return charge; }));
    EXPECT_EQ(evaluate(b, "document.body ? document.body.innerText : ''").toString(), "");
}

// A page reads only what a saved page keeps beside it: regular files in its
// folder and below, of a picture's size. A device, a pipe, a folder or a
// file elsewhere fails as not found, and none holds the program up.
TEST(WebBrowser, APageReadsOnlyFilesKeptBesideIt)
{
    QTemporaryDir d;
    ASSERT_TRUE(d.isValid());
    ASSERT_TRUE(QDir(d.path()).mkpath(QStringLiteral("page/images/dossier.png")));
    for (const char *nom : {"page/a.png", "page/images/b.png", "dehors.png", "page/gros.png"})
        ASSERT_TRUE(QImage(3, 2, QImage::Format_RGB32).save(d.filePath(QLatin1String(nom)), "PNG"));
    // A picture whose file goes on past the bound: shown if it were read.
    ASSERT_TRUE(QFile::resize(d.filePath("page/gros.png"), 64 * 1024 * 1024 + 1));
    ASSERT_TRUE(QFile::link(d.filePath("dehors.png"), d.filePath("page/lien.png")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(d.filePath("page/tube.png")).constData(), 0600), 0);
    const struct {
        QString source;
        bool montree;
    } cas[] = {{"a.png", true},
               {"images/b.png", true},
               {QUrl::fromLocalFile(d.filePath("page/a.png")).toString(), true},
               {"/dev/zero", false},
               {"file:///dev/zero", false},
               {"tube.png", false},
               {"images/dossier.png", false},
               {"../dehors.png", false},
               {QUrl::fromLocalFile(d.filePath("dehors.png")).toString(), false},
               {"lien.png", false},
               {"gros.png", false}};
    QByteArray html = "<html><body>";
    for (const auto &c : cas)
        html += "<img src=\"" + c.source.toUtf8() + "\">";
    ecrire(d.filePath("page/p.chi"), html + "</body></html>");

    platform::TWebBrowser b(QStringLiteral("WebBrowser1"));
    b.resize(800, 600);
    b.show();
    b.Navigate(d.filePath("page/p.chi"));
    ASSERT_TRUE(waitForPage(b));
    ASSERT_TRUE(waitUntil([&] {
        return evaluate(b, "Array.from(document.images).every(i => i.complete)").toBool();
    }));
    for (int i = 0; i < int(std::size(cas)); ++i)
        EXPECT_EQ(evaluate(b, QStringLiteral("document.images[%1].naturalWidth").arg(i)).toInt(),
                  cas[i].montree ? 3 : 0)
            << cas[i].source.toStdString();
    // Nor is a pipe read as the page itself.
    bool fini = false;
    QObject::connect(&b, &platform::TWebBrowser::pageLoaded, &b, [&] { fini = true; });
    b.Navigate(d.filePath("page/tube.png"));
    EXPECT_TRUE(waitUntil([&] { return fini; }));
}

// A window whose activation shows its browser's tab, as the pairs results
// window does. Under a display (VORN_TEST_DISPLAY) the engine's view makes
// the toolkit make the window again; during the activation, the toolkit
// crashed on the window it had deleted.
class FenetreNavigateur : public platform::TForm
{
public:
    // A first tab of the given title, the browser on the second.
    explicit FenetreNavigateur(const QString &name = QStringLiteral("F"),
                               const QString &premier = QStringLiteral("**"))
        : TForm(name)
    {
        onglets = new QTabWidget(this);
        (new QVBoxLayout(this))->addWidget(onglets);
        onglets->addTab(new QWidget, premier);
        navigateur = new platform::TWebBrowser(QStringLiteral("WebBrowser1"));
        onglets->addTab(navigateur, QStringLiteral("Internet"));
        resize(600, 400);
    }
    QTabWidget *onglets;
    platform::TWebBrowser *navigateur;

protected:
    void FormActivate() override { onglets->setCurrentWidget(navigateur); }
};

TEST(WebBrowser, AWindowsActivationMayShowItsBrowser)
{
    QTemporaryDir d;
    ASSERT_TRUE(d.isValid());
    ecrire(d.filePath("page.htm"), "<p>ici</p>");
    FenetreNavigateur f;
    // Offscreen, no window system activates it.
    f.navigateur->Navigate(d.filePath("page.htm"));
    f.Show();
    if (qEnvironmentVariableIsEmpty("VORN_TEST_DISPLAY"))
        f.activated();
    else
        ASSERT_TRUE(waitUntil([&f] { return platform::TForm::activeForm() == &f; }));
    ASSERT_TRUE(waitForPage(*f.navigateur));
    EXPECT_EQ(evaluate(*f.navigateur, "document.body.innerText").toString(), "ici");
}

// A window whose activation shows its first tab, as the entries window does;
// the browser is on another tab.
class FenetreOnglets : public FenetreNavigateur
{
public:
    FenetreOnglets() : FenetreNavigateur(QStringLiteral("G"), QStringLiteral("Présentation")) {}
    int activations = 0;

protected:
    void FormActivate() override
    {
        ++activations;
        onglets->setCurrentIndex(0);
    }
};

// Under a display (VORN_TEST_DISPLAY, with a window manager) the engine's
// view makes the toolkit make the window again: the window manager gives the
// focus to another window of the program and back. That is no switch: the
// activation handler does not run again and undo the tab the user chose.
TEST(WebBrowser, TheEnginesStartIsNoSwitchBetweenWindows)
{
    QTemporaryDir d;
    ASSERT_TRUE(d.isValid());
    ecrire(d.filePath("page.htm"), "<p>ici</p>");
    const bool ecran = !qEnvironmentVariableIsEmpty("VORN_TEST_DISPLAY");
    // Each shown and active in turn, as the window system or the test has it.
    const auto montrer = [ecran](platform::TForm &w) {
        w.Show();
        if (!ecran)
            w.activated();
        return waitUntil([&w] { return platform::TForm::activeForm() == &w; });
    };
    platform::TForm autre(QStringLiteral("Autre"));
    autre.resize(300, 200);
    ASSERT_TRUE(montrer(autre));
    FenetreOnglets f;
    ASSERT_TRUE(montrer(f));
    QTest::qWait(300);
    ASSERT_EQ(platform::TForm::activeForm(), &f);
    f.activations = 0;

    f.navigateur->Navigate(d.filePath("page.htm"));
    f.onglets->setCurrentWidget(f.navigateur);
    ASSERT_TRUE(waitForPage(*f.navigateur));
    if (ecran) {
        // The focus has come back to the window made again.
        ASSERT_TRUE(waitUntil([&f] {
            return f.windowHandle() && f.windowHandle()->isExposed() &&
                   platform::TForm::activeForm() == &f;
        }));
        QTest::qWait(500);
    }
    EXPECT_EQ(f.activations, 0);
    EXPECT_EQ(f.onglets->currentWidget(), f.navigateur);
}

// A web server on 127.0.0.1 that counts its connections and answers each
// with a small page.
class Serveur
{
public:
    Serveur()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t n = sizeof a;
        if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr *>(&a), n) != 0 ||
            ::listen(m_fd, 16) != 0 ||
            ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&a), &n) != 0)
            return;
        port = ntohs(a.sin_port);
        m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] {
            const int c = ::accept(m_fd, nullptr, nullptr);
            if (c < 0)
                return;
            ++connexions;
            const char reponse[] = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<p>ici</p>";
            (void)!::write(c, reponse, sizeof reponse - 1);
            ::close(c);
        });
    }
    ~Serveur()
    {
        m_notifier.reset();
        if (m_fd >= 0)
            ::close(m_fd);
    }
    // Waits a little for a connection still on its way.
    void attendre(int ms)
    {
        pollfd p{m_fd, POLLIN, 0};
        (void)::poll(&p, 1, ms);
        QCoreApplication::processEvents();
    }

    int port = 0;
    int connexions = 0;

private:
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

TEST(WebBrowser, NothingLeavesTheMachine)
{
    Serveur serveur;
    ASSERT_NE(serveur.port, 0);
    const QByteArray hote = "http://127.0.0.1:" + QByteArray::number(serveur.port);
    QTemporaryDir d;
    ASSERT_TRUE(d.isValid());
    // Every way a page reaches a server: a picture, a style sheet, a script,
    // a frame, and a script's own request, whose end the page records.
    ecrire(d.filePath("page.htm"),
           "<html><head><link rel=stylesheet href=\"" + hote +
               "/a.css\">"
               "<script src=\"" +
               hote +
               "/a.js\"></script></head><body>"
               "<img src=\"" +
               hote + "/a.png\"><iframe src=\"" + hote +
               "/cadre\"></iframe>"
               "<script>fetch('" +
               hote +
               "/donnees').then(() => document.title = 'servi',"
               " () => document.title = 'refus\xC3\xA9');</script></body></html>");

    platform::TWebBrowser b(QStringLiteral("WebBrowser1"));
    b.resize(800, 600);
    b.show();
    b.Navigate(d.filePath("page.htm"));
    ASSERT_TRUE(waitForPage(b));
    ASSERT_TRUE(waitUntil([&] { return evaluate(b, "document.title").toString() != ""; }));
    EXPECT_EQ(evaluate(b, "document.title").toString(), "refusé");
    EXPECT_EQ(evaluate(b, "document.images[0].naturalWidth").toInt(), 0);

    // A link the user follows to the server: the page's script could not
    // go there, a click could.
    ecrire(d.filePath("lien.htm"),
           "<html><body style=\"margin: 0\"><a href=\"" + hote +
               "/\" style=\"display: block; height: 100vh\">Site</a></body></html>");
    b.Navigate(d.filePath("lien.htm"));
    ASSERT_TRUE(waitForPage(b));
    QWidget *surface = nullptr;
    for (QWidget *w : b.findChildren<QWidget *>())
        if (w->isVisible() && w->findChildren<QWidget *>().isEmpty())
            surface = w;
    ASSERT_NE(surface, nullptr);
    bool fini = false;
    bool reussi = true;
    QObject::connect(&b, &platform::TWebBrowser::pageLoaded, &b, [&](bool ok) {
        fini = true;
        reussi = ok;
    });
    QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(50, 50));
    ASSERT_TRUE(waitUntil([&] { return fini || serveur.connexions > 0; }));
    EXPECT_FALSE(reussi);

    // Anything sent would have arrived by now; give a late one its chance.
    serveur.attendre(300);
    EXPECT_EQ(serveur.connexions, 0);
}

} // namespace
