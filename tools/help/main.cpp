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
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextList>
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

constexpr int Resolution = 300; // dots per inch of the PDF's painter
constexpr double MarginMm = 20.0;
constexpr double FooterMm = 9.0;   // reserved at the bottom of the text area
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
        const double scale = std::min({1.0, maxWidth / image.width(), maxHeight / image.height()});
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

// Page breaks, decided from the top of the document down, each once the
// pages above it are settled (a break decided on an earlier layout would be
// stale and leave a page almost empty).
class Paginator
{
public:
    Paginator(QTextDocument &doc, double pageHeight, double dotsPerScreenPixel)
        : m_doc(doc), m_pageHeight(pageHeight), m_dotsPerScreenPixel(dotsPerScreenPixel)
    {
    }

    void run()
    {
        for (Item item = itemAt(0); item.valid(); item = next(item)) {
            if (item.table) {
                keepRowsWhole(item.table);
                continue;
            }
            if (item.block.blockFormat().pageBreakPolicy() != 0)
                continue;
            if (item.block.blockFormat().headingLevel() > 0)
                keepWithWhatItIntroduces(item);
            else if (!keepParagraphWhole(item.block) && announces(item.block))
                keepWithWhatItIntroduces(item);
        }
    }

private:
    // One piece of the page's text: a paragraph (heading, list item, picture)
    // or a table.
    struct Item {
        QTextBlock block;
        QTextTable *table = nullptr;
        bool valid() const { return table || block.isValid(); }
    };

    Item itemAt(int position) const
    {
        const QTextBlock block = m_doc.findBlock(position);
        if (!block.isValid())
            return {};
        QTextFrame *frame = QTextCursor(block).currentFrame();
        while (frame && frame->parentFrame() != m_doc.rootFrame() && frame != m_doc.rootFrame())
            frame = frame->parentFrame();
        if (frame && frame != m_doc.rootFrame())
            return {QTextBlock(), qobject_cast<QTextTable *>(frame)};
        return {block, nullptr};
    }

    Item next(const Item &item) const
    {
        return itemAt(item.table ? item.table->lastPosition() + 1
                                 : item.block.position() + item.block.length());
    }

    struct Extent {
        double top = 0;
        double bottom = 0;
        bool valid() const { return bottom > top; }
    };

    // A line laid at the very top of a page may sit a fraction of a dot
    // above it.
    int pageOf(double y) const { return int(std::floor((y + 1) / m_pageHeight)); }
    bool crossesPages(const Extent &e) const { return pageOf(e.top) != pageOf(e.bottom - 2); }

    void layOut() const { m_doc.documentLayout()->documentSize(); }

    // The lines [first, first + count) of a block; every line when count < 0.
    Extent linesOf(const QTextBlock &block, int first = 0, int count = -1) const
    {
        layOut();
        const QTextLayout *layout = block.layout();
        if (!layout || layout->lineCount() <= first)
            return {};
        const int last =
            count < 0 ? layout->lineCount() - 1 : std::min(layout->lineCount(), first + count) - 1;
        const double origin = m_doc.documentLayout()->blockBoundingRect(block).top();
        const QTextLine a = layout->lineAt(first);
        const QTextLine b = layout->lineAt(last);
        return {origin + a.y(), origin + b.y() + b.height()};
    }

    // The text of one row of a table, every cell's lines.
    Extent rowOf(QTextTable *table, int row) const
    {
        Extent e;
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.row() != row)
                continue;
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                const Extent lines = linesOf(it.currentBlock());
                if (!lines.valid())
                    continue;
                if (!e.valid()) {
                    e = lines;
                    continue;
                }
                e.top = std::min(e.top, lines.top);
                e.bottom = std::max(e.bottom, lines.bottom);
            }
        }
        return e;
    }

    static void startPage(const QTextBlock &block)
    {
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(block).setBlockFormat(format);
    }

    static void startPage(QTextTable *table)
    {
        QTextTableFormat format = table->format();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        table->setFormat(format);
    }

    // A sentence ending with ":" announces the list, table or picture under
    // it.
    static bool announces(const QTextBlock &block)
    {
        return block.blockFormat().headingLevel() == 0 && block.text().trimmed().endsWith(u':');
    }

    static bool isPicture(const QTextBlock &block)
    {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                return true;
        return false;
    }

    static Extent merged(const Extent &a, const Extent &b)
    {
        if (!a.valid())
            return b;
        if (!b.valid())
            return a;
        return {std::min(a.top, b.top), std::max(a.bottom, b.bottom)};
    }

    // What must share the page of a heading or of a sentence announcing what
    // follows: at least two lines of it, counted over its paragraphs (a
    // short paragraph or a picture whole, the first two lines of a long
    // one), the first two entries of a list, a table's first row under its
    // header; a heading or an announcing sentence met on the way brings
    // what it keeps in its turn.
    Extent introducedBy(const Item &from) const
    {
        Extent kept;
        int lines = 0;
        const QTextList *list = nullptr;
        int entries = 0;
        for (Item item = next(from); item.valid(); item = next(item)) {
            if (item.table)
                return merged(kept,
                              rowOf(item.table, std::min(item.table->rows() - 1,
                                                         item.table->format().headerRowCount())));
            const Extent whole = linesOf(item.block);
            if (!whole.valid())
                continue; // an empty paragraph
            if (item.block.blockFormat().headingLevel() > 0 || announces(item.block))
                return merged(merged(kept, whole), introducedBy(item));
            const bool isLong = whole.bottom - whole.top > m_pageHeight / 2;
            kept = merged(kept, isLong ? linesOf(item.block, 0, 2) : whole);
            lines += isLong || isPicture(item.block) ? 2 : item.block.layout()->lineCount();
            const QTextList *entryOf = item.block.textList();
            if (!list)
                list = entryOf;
            if (entryOf && entryOf == list)
                ++entries;
            if (lines >= 2 && (!list || entries >= std::min(2, list->count())))
                return kept;
        }
        return kept;
    }

    void keepWithWhatItIntroduces(const Item &item)
    {
        const Extent own = linesOf(item.block);
        const Extent next = introducedBy(item);
        if (!own.valid() || !next.valid())
            return;
        if (pageOf(own.top) != pageOf(next.bottom - 2) && !atPageTop(own.top))
            startPage(item.block);
    }

    bool atPageTop(double y) const { return y - pageOf(y) * m_pageHeight < 2; }

    // A paragraph split between two pages, or a picture moved to the next one,
    // would also be drawn, out of sight, on the page before: hidden copies
    // that a search, a copy or a text extraction of the PDF would find.
    // Longer than half a page, a paragraph is split all the same.
    // Whether it started a page with the paragraph.
    bool keepParagraphWhole(const QTextBlock &block)
    {
        const Extent lines = linesOf(block);
        if (!lines.valid() || lines.bottom - lines.top > m_pageHeight / 2)
            return false;
        const double blockTop = m_doc.documentLayout()->blockBoundingRect(block).top();
        if (!crossesPages(lines) && pageOf(blockTop - 1) == pageOf(lines.top))
            return false;
        startPage(block);
        return true;
    }

    // A row split between two pages is drawn whole on both, half of it out of
    // sight. A row that does not fit at the foot of a page goes whole to the
    // next one, in a table of its own under a copy of the header row.
    void keepRowsWhole(QTextTable *table)
    {
        const int headerRows = table->format().headerRowCount();
        // A row's box reaches below its text by the cell's padding and border.
        const double below =
            (table->format().cellPadding() + table->format().border()) * m_dotsPerScreenPixel;
        double previousTop = 0;
        for (int row = headerRows; row < table->rows(); ++row) {
            Extent e = rowOf(table, row);
            if (!e.valid())
                continue;
            e.bottom += below;
            // The layout itself moves a row whose text all falls on the next
            // page, and stretches the row before down to the foot of the page.
            const bool moved = row > headerRows && pageOf(e.top) != pageOf(previousTop);
            previousTop = e.top;
            if ((!crossesPages(e) && !moved) || e.bottom - e.top > m_pageHeight / 2)
                continue;
            if (row == headerRows) {
                // Moved whole to the next page, its rows are looked at again
                // there: a later one may cross the foot of that page.
                if (!atPageTop(m_doc.documentLayout()->frameBoundingRect(table).top())) {
                    startPage(table);
                    keepRowsWhole(table);
                }
            } else {
                splitBefore(table, row);
            }
            return;
        }
    }

    void splitBefore(QTextTable *table, int row)
    {
        const int headerRows = table->format().headerRowCount();
        const int columns = table->columns();
        // Both parts keep the columns as laid out now.
        QTextTableFormat format = table->format();
        QList<QTextLength> widths;
        const QRectF frame = m_doc.documentLayout()->frameBoundingRect(table);
        for (int column = 0; column < columns; ++column) {
            const auto left = [&](int c) {
                return m_doc.documentLayout()
                    ->blockBoundingRect(table->cellAt(0, c).firstCursorPosition().block())
                    .left();
            };
            const double right = column + 1 < columns ? left(column + 1) : frame.right();
            widths.append(QTextLength(QTextLength::FixedLength,
                                      (right - left(column)) / m_dotsPerScreenPixel));
        }
        format.setColumnWidthConstraints(widths);
        table->setFormat(format);

        QTextCursor cursor(&m_doc);
        cursor.setPosition(table->lastPosition() + 1);
        cursor.insertBlock();
        cursor.movePosition(QTextCursor::PreviousBlock);
        // The rest follows the paragraph that starts the next page: a table
        // moved whole to a page of its own must not start one more.
        QTextTableFormat restFormat = format;
        restFormat.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
        QTextTable *rest = cursor.insertTable(headerRows + table->rows() - row, columns, restFormat);
        const auto copyRow = [&](int from, int to) {
            for (int column = 0; column < columns; ++column) {
                const QTextTableCell source = table->cellAt(from, column);
                QTextCursor selection = source.firstCursorPosition();
                selection.setPosition(source.lastCursorPosition().position(),
                                      QTextCursor::KeepAnchor);
                QTextTableCell target = rest->cellAt(to, column);
                target.setFormat(source.format());
                QTextCursor at = target.firstCursorPosition();
                at.setBlockFormat(source.firstCursorPosition().blockFormat());
                at.insertFragment(selection.selection());
            }
        };
        for (int r = 0; r < headerRows; ++r)
            copyRow(r, r);
        for (int r = row; r < table->rows(); ++r)
            copyRow(r, headerRows + r - row);
        table->removeRows(row, table->rows() - row);
        // The first part ends the page: its margin below would spill onto
        // the next one.
        format = table->format();
        format.setBottomMargin(0);
        table->setFormat(format);
        // The paragraph between the two parts starts the next page, where it
        // takes almost no room: left at the foot of the page it could not
        // fit and would push the rest a page further.
        const QTextBlock between = m_doc.findBlock(table->lastPosition() + 1);
        QTextBlockFormat gap = between.blockFormat();
        gap.setTopMargin(0);
        gap.setBottomMargin(0);
        gap.setLineHeight(1, QTextBlockFormat::FixedHeight);
        gap.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(between).setBlockFormat(gap);
        // Already at the top of the next page, it would start one more.
        const int lastPage = pageOf(rowOf(table, table->rows() - 1).top);
        if (pageOf(m_doc.documentLayout()->blockBoundingRect(between).top()) > lastPage + 1) {
            gap.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
            QTextCursor(between).setBlockFormat(gap);
        }
    }

    QTextDocument &m_doc;
    const double m_pageHeight;
    const double m_dotsPerScreenPixel;
};

// "->" (the arrow of a caption such as "Courriels ->") is one sign, but the
// line breaker may end a line after any hyphen: where it did so inside an
// arrow, the line ends instead at the last space before the arrow's word.
void keepArrowsWhole(QTextDocument &doc)
{
    for (bool moved = true; moved;) {
        moved = false;
        doc.documentLayout()->documentSize();
        for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
            const QString text = block.text();
            const QTextLayout *layout = block.layout();
            if (!layout || !text.contains(QLatin1String("->")))
                continue;
            for (int n = 0; n + 1 < layout->lineCount(); ++n) {
                const QTextLine line = layout->lineAt(n);
                const int end = line.textStart() + line.textLength();
                if (end < 1 || end >= text.size() || text.at(end - 1) != u'-' ||
                    text.at(end) != u'>')
                    continue;
                const int space = int(text.lastIndexOf(u' ', end - 1));
                if (space < line.textStart())
                    continue; // the arrow's word fills the line alone
                QTextCursor cursor(&doc);
                cursor.setPosition(block.position() + space);
                cursor.setPosition(block.position() + space + 1, QTextCursor::KeepAnchor);
                cursor.insertText(QString(QChar::LineSeparator));
                moved = true;
                break;
            }
        }
    }
}

// French typography: the space before ":", ";", "?", "!" and "»" and the one
// after "«" never break, so that no line starts with one of them (nor ends
// with "«"). Only spaces the text has are made non-breaking: a message the
// program writes without one is quoted as it is. A table's alignment row
// ("| :--- |") and a picture ("![") are left alone.
QString frenchSpacing(QString text)
{
    static const QRegularExpression before(
        QStringLiteral("(?<=[^\\s|])[ \\t]+(?=[:;?\\x{00BB}]|!(?!\\[))"));
    static const QRegularExpression after(QStringLiteral("\\x{00AB}[ \\t]+"));
    return text.replace(before, QStringLiteral("\u00A0"))
        .replace(after, QStringLiteral("\u00AB\u00A0"));
}

// A source line "<!-- nouvelle page -->" (invisible wherever Markdown is
// shown) starts a new page with what follows it: a sheet meant to be printed
// alone, such as a blank form.
const QString PageBreakLine = QStringLiteral("<!-- nouvelle page -->");
constexpr QChar PageBreakMark(0xE000);

void applyPageBreaks(QTextDocument &doc)
{
    QTextBlock block = doc.begin();
    while (block.isValid()) {
        const QTextBlock next = block.next();
        if (block.text() != QString(PageBreakMark)) {
            block = next;
            continue;
        }
        const QTextFrame *text = QTextCursor(block).currentFrame();
        QTextCursor after(&doc);
        after.setPosition(block.position() + block.length());
        if (auto *table = qobject_cast<QTextTable *>(after.currentFrame());
            table && table->parentFrame() == text) {
            QTextTableFormat format = table->format();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            table->setFormat(format);
        } else if (next.isValid()) {
            QTextBlockFormat format = next.blockFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(next).setBlockFormat(format);
        }
        QTextCursor mark(block);
        mark.select(QTextCursor::BlockUnderCursor);
        mark.removeSelectedText();
        block = doc.begin();
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
    QString markdown = frenchSpacing(readSource(sourcePath));
    markdown.replace(PageBreakLine, QString(PageBreakMark));
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
    const QString title =
        firstHeading(doc).isEmpty() ? QFileInfo(sourcePath).completeBaseName() : firstHeading(doc);
    loadPictures(doc, pictures, sourcePath, body);
    styleText(doc);
    styleTables(doc);
    applyPageBreaks(doc);

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
    keepArrowsWhole(doc);
    Paginator(doc, body.height(), writer.logicalDpiY() / ScreenDpi).run();
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
        // Only the other pages' text is clipped away, not the margins: a
        // table as wide as the text has its right border on the edge of the
        // view, half outside.
        const QRectF page = view.adjusted(-mmToDots(MarginMm), 0, mmToDots(MarginMm), 0);
        painter.setClipRect(page);
        QAbstractTextDocumentLayout::PaintContext context;
        // A line laid exactly on the page's edge belongs to one page only:
        // the layout draws every line that touches its clip, and a line
        // clipped away by the painter would still be text of this page.
        context.clip = page.adjusted(0, 1, 0, -1);
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
