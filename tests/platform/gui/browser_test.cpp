// The embedded browser: end tags that close nothing in the innermost table
// are dropped as web browsers drop them, so an inner table keeps its rows;
// "middle" cells are centred; everything else reaches the rich text reader
// unchanged.
#include "platform/browser/browser.h"

#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <gtest/gtest.h>

namespace
{

TEST(WebBrowser, StrayTableEndTags)
{
    const struct {
        const char *in;
        const char *out;
    } cases[] = {
        // Well-formed and merely sloppy markup is left alone.
        {"<table><tr><td>a</td></tr></table>", "<table><tr><td>a</td></tr></table>"},
        {"<TABLE><TR><TD>a<TD>b<TR><TD>c</TABLE>", "<TABLE><TR><TD>a<TD>b<TR><TD>c</TABLE>"},
        {"<p>x</b></font></p>", "<p>x</b></font></p>"},
        // A second row end, a cell end after its row's, a table end too many.
        {"<table><tr><td>a</td></tr>\r\n</tr>\r\n<tr><td>b</td></tr></table>",
         "<table><tr><td>a</td></tr>\r\n\r\n<tr><td>b</td></tr></table>"},
        {"<table><tr><td>t</tr></td></font><tr><td>u</td></tr></table>",
         "<table><tr><td>t</tr></font><tr><td>u</td></tr></table>"},
        {"<table><tr><td>a</td></tr></table></table></TD>", "<table><tr><td>a</td></tr></table>"},
        // A row end inside an inner table never reaches the outer row.
        {"<table><tr><td><table><tr><td>i</td></tr></tr></table></td></tr></table>",
         "<table><tr><td><table><tr><td>i</td></tr></table></td></tr></table>"},
        // "middle" is the centre across a cell or row, not elsewhere.
        {"<TR align=Middle><TD bgColor=#00FFff align=middle>a<td align=\"middle\">b"
         "<td align='middle' x=1>c<img align=middle>",
         "<TR align=\"center\"><TD bgColor=#00FFff align=\"center\">a<td align=\"center\">b"
         "<td align=\"center\" x=1>c<img align=middle>"},
        {"<td valign=middle align=middleton>", "<td valign=middle align=middleton>"},
        // Comments and style bodies are not markup.
        {"<style><!-- a:link { x } </tr> --></style><!-- </td> -->",
         "<style><!-- a:link { x } </tr> --></style><!-- </td> -->"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(platform::asBrowsersRead(QString::fromLatin1(c.in)).toStdString(), c.out) << c.in;
}

int tables(QTextFrame *frame, QList<int> &rows)
{
    int n = 0;
    for (QTextFrame *child : frame->childFrames()) {
        if (auto *t = qobject_cast<QTextTable *>(child)) {
            ++n;
            rows.append(t->rows());
        }
        n += tables(child, rows);
    }
    return n;
}

TEST(WebBrowser, InnerTableKeepsItsRowsAfterAStrayRowEnd)
{
    QTemporaryDir d;
    ASSERT_TRUE(d.isValid());
    const QString page = d.filePath(QStringLiteral("page.htm"));
    QFile f(page);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<html><body><table border=1><tr><td><table border=2>"
            "<tr><td>Lyon</td><td>24</td></tr>\r\n</tr>\r\n"
            "<tr><td>S\xE8te</td><td>24</td></tr>"
            "</table></td></tr></table></body></html>");
    f.close();
    platform::TWebBrowser b(QStringLiteral("WebBrowser1"));
    b.Navigate(page);
    QList<int> rows;
    EXPECT_EQ(tables(b.document()->rootFrame(), rows), 2);
    EXPECT_EQ(rows, (QList<int>{1, 2}));
    EXPECT_TRUE(b.toPlainText().contains(QStringLiteral("Sète")));
}

} // namespace
