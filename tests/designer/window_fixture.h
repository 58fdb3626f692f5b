// The real designer window over a report of one page, shown modally by
// DesignReport and driven from a timer: the set-up every window test shares.
#pragma once

#include "designer/ui/designerform.h"
#include "designer/ui/designerregistration.h"

#include "platform/forms/application.h"
#include "platform/registry/registry.h"
#include "report/core/frlibrary.h"
#include "report/objects/frbandview.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "tests/support/gui/fakes.h"
#include "tests/support/gui/shots.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace designer::test
{

// Saves a picture of the widget under VORN_SHOTS_DIR when that is set.
inline void saveShot(QWidget *w, const char *file)
{
    vorn_test::saveShot(w, QString::fromLatin1(file));
}

class DesignerWindowFixture : public ::testing::Test
{
protected:
    // An empty title leaves the application's title as it is.
    explicit DesignerWindowFixture(QString title = {}) : appTitle(std::move(title)) {}

    void SetUp() override
    {
        report::fr().resetForTests();
        report::fr().start();
        fakes.emplace();
        platform::TRegistry::setFileName(dir.filePath(QStringLiteral("registry.ini")));
        if (!appTitle.isEmpty())
            platform::SetApplicationTitle(appTitle);
        frRegisterDesigner();
        rep = std::make_unique<report::TfrReport>(&owner);
        rep->ShowProgress = false;
        page = rep->Pages().Add();
        page->Name = QStringLiteral("Page1");
    }
    void TearDown() override
    {
        rep.reset();
        report::fr().resetForTests();
        platform::TRegistry::setFileName(QString());
        fakes.reset();
    }

    report::TfrMemoView *memo(const QString &name, int x, int y, int dx, int dy,
                              report::TfrPage *on = nullptr)
    {
        auto v = std::make_unique<report::TfrMemoView>();
        v->Name = name;
        v->SetBounds(x, y, dx, dy);
        v->Memo = QStringList{name};
        return static_cast<report::TfrMemoView *>((on ? on : page)->Add(std::move(v)));
    }
    // A memo of one line, its name for text.
    report::TfrMemoView *memo(const QString &name, int x, int y)
    {
        return memo(name, x, y, 120, 18);
    }
    report::TfrBandView *band(int type, int y, int dy, const QString &name,
                              const QString &source = {})
    {
        auto v = std::make_unique<report::TfrBandView>();
        v->Name = name;
        v->SetBandType(type);
        v->SetBounds(0, y, 700, dy);
        v->FormatStr = source;
        return static_cast<report::TfrBandView *>(page->Add(std::move(v)));
    }

    static TfrDesignerForm *current()
    {
        return dynamic_cast<TfrDesignerForm *>(report::frObjects().frCurrentDesigner);
    }
    // Runs body inside the designer window that open shows, then closes it
    // with Exit; false when it was not shown.
    bool inside(const std::function<void(TfrDesignerForm &)> &body,
                const std::function<void()> &open)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            TfrDesignerForm *f = current();
            if (!f) {
                if (QWidget *w = QApplication::activeModalWidget())
                    w->close();
                return;
            }
            ran = true;
            body(*f);
            if (f->isVisible())
                f->ExitBClick();
        });
        open();
        EXPECT_TRUE(ran) << "the designer was not shown";
        return ran;
    }
    // The modal designer; returns what DesignReport returned.
    int design(const std::function<void(TfrDesignerForm &)> &body)
    {
        int result = 0;
        inside(body, [&] { result = rep->DesignReport(); });
        return result;
    }
    // The editor of prepared page n (DesignReport's window in mode 0).
    bool editPrepared(const std::function<void(TfrDesignerForm &)> &body, int n = 0)
    {
        return inside(body, [&] { rep->EditPreparedPage(n); });
    }

    // A mouse event sent straight to the widget (widget coordinates).
    static void mouse(QWidget *w, QEvent::Type type, QPoint p, Qt::MouseButton button,
                      Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = {})
    {
        QMouseEvent e(type, p, w->mapToGlobal(p), button, buttons, mods);
        QApplication::sendEvent(w, &e);
    }

    QString appTitle;
    QTemporaryDir dir;
    std::optional<vorn_test::SeamFakes> fakes;
    QObject owner;
    std::unique_ptr<report::TfrReport> rep;
    report::TfrPage *page = nullptr;
};

} // namespace designer::test
