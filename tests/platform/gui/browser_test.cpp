// The embedded browser: end tags that close nothing in the innermost table
// are dropped as web browsers drop them, so an inner table keeps its rows;
// "middle" cells are centred; a style sheet hidden in a comment is read;
// everything else reaches the rich text reader unchanged.
#include "platform/browser/browser.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
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
        // Comments and style bodies are not markup; the marks that hide a
        // style sheet's rules in a comment are blanked, other comments kept.
        {"<STYLE><!-- a:link { x } </tr> --></STYLE><!-- </td> -->",
         "<STYLE>     a:link { x } </tr>    </STYLE><!-- </td> -->"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(platform::asBrowsersRead(QString::fromLatin1(c.in)).toStdString(), c.out) << c.in;
}

void tables(QTextFrame *frame, QList<QTextTable *> &out)
{
    for (QTextFrame *child : frame->childFrames()) {
        if (auto *t = qobject_cast<QTextTable *>(child))
            out.append(t);
        tables(child, out);
    }
}

TEST(WebBrowser, PageAsBrowsersShowIt)
{
    QTemporaryDir d;
    ASSERT_TRUE(d.isValid());
    const QString page = d.filePath(QStringLiteral("page.htm"));
    QFile f(page);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<html><head><style><!-- \r\n"
            "a.Lien:link { text-decoration: none; color: #FF0000; font-size: 16pt }\r\n"
            " --></style></head><body><table border=1><tr><td><table border=2>"
            "<tr><td>Lyon</td><td valign=top><a Class=\"Lien\" href=\"M.htm\">24</a></td></tr>"
            "\r\n</tr>\r\n"
            "<tr><td>S\xE8te</td><td>24</td></tr>"
            "</table></td></tr></table></body></html>");
    f.close();
    platform::TWebBrowser b(QStringLiteral("WebBrowser1"));
    b.Navigate(page);
    EXPECT_TRUE(b.toPlainText().contains(QStringLiteral("Sète")));

    // The inner table keeps both its rows, the outer one has one.
    QList<QTextTable *> t;
    tables(b.document()->rootFrame(), t);
    ASSERT_EQ(t.size(), 2);
    EXPECT_EQ(t[0]->rows(), 1);
    EXPECT_EQ(t[1]->rows(), 2);
    // Cells centred vertically unless the page says otherwise.
    EXPECT_EQ(t[1]->cellAt(0, 0).format().verticalAlignment(), QTextCharFormat::AlignMiddle);
    EXPECT_EQ(t[1]->cellAt(0, 1).format().verticalAlignment(), QTextCharFormat::AlignTop);
    // The link styled by the sheet in its comment.
    const QTextCursor c = b.document()->find(QStringLiteral("24"));
    ASSERT_FALSE(c.isNull());
    EXPECT_TRUE(c.charFormat().isAnchor());
    EXPECT_FALSE(c.charFormat().fontUnderline());
    EXPECT_EQ(c.charFormat().foreground().color(), QColor(0xFF, 0, 0));
}

} // namespace
