#pragma once
// The bracketed names a generated template asks its window for, so that
// printout tests can check them against what the window answers.
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frview.h"

#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <gtest/gtest.h>

namespace vorn_test
{

// Every bracketed name of the template's memos, the engine's own left out.
inline QSet<QString> nomsDuModele(const QString &fichier)
{
    report::TfrReport r;
    EXPECT_TRUE(r.LoadFromFile(fichier)) << fichier.toStdString();
    QSet<QString> noms;
    // The innermost brackets: an expression's names are inside its own.
    static const QRegularExpression crochets(QStringLiteral("\\[([^\\[\\]]+)\\]"));
    for (int p = 0; p < r.Pages().Count(); ++p)
        for (const auto &v : r.Pages().GetPage(p)->Objects)
            for (const QString &ligne : v->Memo)
                for (const auto &m : crochets.globalMatch(ligne))
                    if (m.captured(1) != u"PAGE#")
                        noms.insert(m.captured(1));
    return noms;
}

} // namespace vorn_test
