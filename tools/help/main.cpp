// Turns one user guide written in Markdown into its PDF:
//   vorn_help SOURCE.md PICTURES_FOLDER OUTPUT.pdf
// A4 portrait, 20 mm margins, "Arial" 11 pt as everywhere in the program,
// "Courier New" for file names, pictures scaled down to the text width, and a
// footer "<title> - page n / N" on every page. The first heading is the title.
// A source that cannot be read, is empty or is not UTF-8, or a picture that
// is missing, fails with a message naming the file and leaves no output.
#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>

#ifndef VORN_HELP_VERSION
#error "VORN_HELP_VERSION must name the program's version"
#endif

namespace vorn_help
{

constexpr int Resolution = 300;   // dots per inch of the PDF's painter
constexpr double MarginMm = 20.0;
constexpr double FooterMm = 9.0;  // reserved at the bottom of the text area
constexpr double ScreenDpi = 96.0; // unit of the document's picture sizes

struct Failure {
    QString message;
};

void fail(const QString &message)
{
    throw Failure{message};
}

QString readSource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (bytes.trimmed().isEmpty())
        fail(QStringLiteral("%1 is empty").arg(path));
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        fail(QStringLiteral("%1 is not UTF-8 text").arg(path));
    return text;
}

double mmToDots(double mm)
{
    return mm / 25.4 * Resolution;
}

struct Fragment {
    int position;
    int length;
    QTextCharFormat format;
    QTextBlockFormat blockFormat;
};

// Every fragment of text, listed before any of them is changed (a change of
// format may merge neighbouring fragments).
QList<Fragment> fragments(const QTextDocument &doc)
{
    QList<Fragment> all;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            all.append({it.fragment().position(), it.fragment().length(),
                        it.fragment().charFormat(), block.blockFormat()});
    return all;
}

void setFormat(QTextDocument &doc, int position, int length, const QTextCharFormat &format)
{
    QTextCursor cursor(&doc);
    cursor.setPosition(position);
    cursor.setPosition(position + length, QTextCursor::KeepAnchor);
    cursor.setCharFormat(format);
}

// Every picture the text names, read from the pictures folder ("images/x.png"
// is looked for as x.png in the folder) and registered in the document at a
// size no wider than the text and no taller than a page.
void loadPictures(QTextDocument &doc, const QDir &pictures, const QString &source,
                  const QSizeF &body)
{
    const double toScreen = ScreenDpi / Resolution;
    const double maxWidth = body.width() * toScreen;
    const double maxHeight = body.height() * toScreen * 0.9;
    for (const Fragment &f : fragments(doc)) {
        if (!f.format.isImageFormat())
            continue;
        QTextImageFormat format = f.format.toImageFormat();
        const QString name = format.name();
        QString relative = QDir::cleanPath(name);
        if (relative.startsWith(QLatin1String("images/")))
            relative = relative.mid(7);
        const QString path = pictures.filePath(relative);
        QImage image(path);
        if (image.isNull())
            fail(QStringLiteral("%1: picture %2 is missing or unreadable (looked for %3)")
                     .arg(source, name, QDir::cleanPath(path)));
        doc.addResource(QTextDocument::ImageResource, QUrl(name), image);
        const double scale =
            std::min({1.0, maxWidth / image.width(), maxHeight / image.height()});
        format.setWidth(image.width() * scale);
        format.setHeight(image.height() * scale);
        setFormat(doc, f.position, f.length, format);
    }
}

// Headings in bold at fixed sizes, code in "Courier New", every other font
// left to the document's default.
void styleText(QTextDocument &doc)
{
    static const double headingSizes[] = {20, 15, 12.5, 11.5, 11, 11};
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level > 0) {
            QTextBlockFormat blockFormat = block.blockFormat();
            blockFormat.setTopMargin(level == 1 ? 0 : 14);
            blockFormat.setBottomMargin(6);
            QTextCursor(block).setBlockFormat(blockFormat);
        }
    }
    for (const Fragment &f : fragments(doc)) {
        QTextCharFormat format = f.format;
        if (format.isImageFormat())
            continue;
        const int level = f.blockFormat.headingLevel();
        format.clearProperty(QTextFormat::FontFamilies);
        format.clearProperty(QTextFormat::FontFamily);
        format.clearProperty(QTextFormat::FontFixedPitch);
        if (f.format.fontFixedPitch() || f.blockFormat.nonBreakableLines())
            format.setFontFamilies({QStringLiteral("Courier New")});
        if (level > 0) {
            format.clearProperty(QTextFormat::FontSizeAdjustment);
            format.setFontPointSize(headingSizes[std::min(level, 6) - 1]);
            format.setFontWeight(QFont::Bold);
        }
        setFormat(doc, f.position, f.length, format);
    }
}

// Tables with thin solid borders, padded cells and a shaded, bold first row.
void styleTables(QTextDocument &doc)
{
    QList<QTextTable *> tables;
    const std::function<void(QTextFrame *)> collect = [&](QTextFrame *frame) {
        for (QTextFrame *child : frame->childFrames()) {
            if (auto *table = qobject_cast<QTextTable *>(child))
                tables.append(table);
            collect(child);
        }
    };
    collect(doc.rootFrame());
    for (QTextTable *table : tables) {
        QTextTableFormat format = table->format();
        format.setBorder(1);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderBrush(Qt::black);
        format.setBorderCollapse(true);
        format.setCellSpacing(0);
        format.setCellPadding(12);
        format.setHeaderRowCount(1);
        format.setTopMargin(6);
        format.setBottomMargin(10);
        table->setFormat(format);
        for (int column = 0; column < table->columns(); ++column) {
            QTextTableCell cell = table->cellAt(0, column);
            QTextCharFormat cellFormat = cell.format();
            cellFormat.setBackground(QColor(225, 225, 225));
            cell.setFormat(cellFormat);
            QTextCursor cursor = cell.firstCursorPosition();
            cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
            QTextCharFormat bold;
            bold.setFontWeight(QFont::Bold);
            cursor.mergeCharFormat(bold);
        }
    }
}

// A heading left at the foot of a page with no room under it for a few lines
// of text starts the next page instead.
void keepHeadingsWithText(QTextDocument &doc, double pageHeight)
{
    const double room = mmToDots(18);
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0 || block.blockFormat().pageBreakPolicy() != 0)
            continue;
        doc.documentLayout()->documentSize(); // lays out what changed
        const QTextLayout *layout = block.layout();
        if (!layout || layout->lineCount() == 0)
            continue;
        const QTextLine last = layout->lineAt(layout->lineCount() - 1);
        const double top = layout->position().y() + layout->lineAt(0).y();
        const double bottom = layout->position().y() + last.y() + last.height();
        // A line laid at the very top of a page may sit a fraction of a dot
        // above it.
        const double pageStart = std::floor((top + 1) / pageHeight) * pageHeight;
        if (pageStart + pageHeight - bottom < room && top > pageStart + room) {
            QTextBlockFormat format = block.blockFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(block).setBlockFormat(format);
        }
    }
}

// A paragraph of the page's text (tables keep their rows whole by themselves)
// is never split between two pages, and a picture that does not fit at the
// foot of a page starts the next one with its paragraph. Drawing a page also
// draws, out of sight, the last line of a split paragraph that ends on the page
// before, and a picture moved to the next page at the foot of the page before:
// hidden copies that a search, a copy or a text extraction of the PDF would
// find. A heading just before such a paragraph moves along with it.
void keepParagraphsWhole(QTextDocument &doc, double pageHeight)
{
    auto startPage = [](const QTextBlock &block) {
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(block).setBlockFormat(format);
    };
    // A line laid at the very top of a page may sit a fraction of a dot above it.
    auto pageOf = [pageHeight](double y) { return std::floor((y + 1) / pageHeight); };
    QTextFrame *const text = doc.rootFrame();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0 || block.blockFormat().pageBreakPolicy() != 0 ||
            QTextCursor(block).currentFrame() != text)
            continue;
        doc.documentLayout()->documentSize(); // lays out what changed
        const QTextLayout *layout = block.layout();
        if (!layout || layout->lineCount() == 0)
            continue;
        const QTextLine first = layout->lineAt(0);
        const QTextLine last = layout->lineAt(layout->lineCount() - 1);
        const double top = layout->position().y() + first.y();
        const double bottom = layout->position().y() + last.y() + last.height();
        const double blockTop = doc.documentLayout()->blockBoundingRect(block).top();
        const bool split = pageOf(top) != pageOf(bottom - 2);
        const bool pushed = pageOf(blockTop - 1) != pageOf(top);
        // Longer than a page: it has to be split anyway.
        if ((!split && !pushed) || bottom - top > pageHeight / 2)
            continue;
        const QTextBlock previous = block.previous();
        const bool heading = previous.isValid() && previous.blockFormat().headingLevel() > 0 &&
                             previous.blockFormat().pageBreakPolicy() == 0 &&
                             QTextCursor(previous).currentFrame() == text;
        startPage(heading ? previous : block);
    }
}

QString firstHeading(const QTextDocument &doc)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        if (block.blockFormat().headingLevel() > 0)
            return block.text().simplified();
    return {};
}

void render(const QString &sourcePath, const QString &picturesPath, const QString &outputPath)
{
    QString markdown = readSource(sourcePath);
    // French quotation marks never end or start a line apart from their words.
    markdown.replace(QStringLiteral("\u00AB "), QStringLiteral("\u00AB\u00A0"))
        .replace(QStringLiteral(" \u00BB"), QStringLiteral("\u00A0\u00BB"));
    const QDir pictures(picturesPath);

    QPageLayout page(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                     QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm), QPageLayout::Millimeter);
    const QSizeF textArea(mmToDots(210 - 2 * MarginMm), mmToDots(297 - 2 * MarginMm));
    const QSizeF body(textArea.width(), textArea.height() - mmToDots(FooterMm));

    QTextDocument doc;
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(11);
    doc.setDefaultFont(font);
    // Break lines between words only: a file name in a narrow table column
    // must widen its column rather than be cut in the middle.
    QTextOption wrapping = doc.defaultTextOption();
    wrapping.setWrapMode(QTextOption::WordWrap);
    doc.setDefaultTextOption(wrapping);
    doc.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    doc.setDocumentMargin(0);
    const QString title = firstHeading(doc).isEmpty() ? QFileInfo(sourcePath).completeBaseName()
                                                      : firstHeading(doc);
    loadPictures(doc, pictures, sourcePath, body);
    styleText(doc);
    styleTables(doc);

    QSaveFile output(outputPath);
    if (!output.open(QIODevice::WriteOnly))
        fail(QStringLiteral("cannot write %1: %2").arg(outputPath, output.errorString()));
    QPdfWriter writer(&output);
    writer.setResolution(Resolution);
    writer.setPageLayout(page);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Vorn_Lud ") + QStringLiteral(VORN_HELP_VERSION));

    doc.documentLayout()->setPaintDevice(&writer);
    doc.setPageSize(body);
    keepHeadingsWithText(doc, body.height());
    keepParagraphsWhole(doc, body.height());
    const int pages = doc.pageCount();

    QPainter painter(&writer);
    // Pictures of windows stay sharp: no JPEG.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    QFont footerFont(QStringLiteral("Arial"));
    footerFont.setPointSizeF(8);
    for (int n = 0; n < pages; ++n) {
        if (n > 0)
            writer.newPage();
        const QRectF view(0, n * body.height(), body.width(), body.height());
        painter.save();
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        // A line laid exactly on the page's edge belongs to one page only:
        // the layout draws every line that touches its clip, and a line
        // clipped away by the painter would still be text of this page.
        context.clip = view.adjusted(0, 1, 0, -1);
        context.palette.setColor(QPalette::Text, Qt::black);
        doc.documentLayout()->draw(&painter, context);
        painter.restore();
        painter.setFont(footerFont);
        painter.setPen(Qt::black);
        const QRectF footer(0, textArea.height() - mmToDots(5), textArea.width(), mmToDots(5));
        painter.drawText(footer, Qt::AlignHCenter | Qt::AlignBottom,
                         QStringLiteral("%1 - page %2 / %3").arg(title).arg(n + 1).arg(pages));
    }
    if (!painter.end())
        fail(QStringLiteral("cannot write %1").arg(outputPath));
    if (!output.commit())
        fail(QStringLiteral("cannot write %1: %2").arg(outputPath, output.errorString()));
}

} // namespace vorn_help

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s SOURCE.md PICTURES_FOLDER OUTPUT.pdf\n", argv[0]);
        return 2;
    }
    // No display is needed: the document is laid out for the PDF alone.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    try {
        vorn_help::render(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]),
                          QString::fromLocal8Bit(argv[3]));
    } catch (const vorn_help::Failure &failure) {
        std::fprintf(stderr, "vorn_help: %s\n", qPrintable(failure.message));
        return 1;
    }
    return 0;
}
