#include "report/core/frlocale.h"

#include "report/core/frlibrary.h"

#include <QStringList>
#include <cstddef>

namespace report
{

extern const unsigned char frStringTableData[];
extern const std::size_t frStringTableDataSize;

namespace
{

QString unescape(const QString &text)
{
    if (!text.contains(QLatin1Char('\\')))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text.at(i);
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            QChar n = text.at(++i);
            if (n == QLatin1Char('r'))
                out += QLatin1Char('\r');
            else if (n == QLatin1Char('n'))
                out += QLatin1Char('\n');
            else if (n == QLatin1Char('t'))
                out += QLatin1Char('\t');
            else
                out += n;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

FrStringTable FrStringTable::parse(const QByteArray &utf8)
{
    FrStringTable table;
    const QStringList lines = QString::fromUtf8(utf8).split(QLatin1Char('\n'));
    int number = 0;
    for (QString line : lines) {
        ++number;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        qsizetype eq = line.indexOf(QLatin1Char('='));
        bool ok = false;
        int id = eq > 0 ? line.left(eq).trimmed().toInt(&ok) : 0;
        if (!ok) {
            table.m_errors.append(QStringLiteral("line %1: %2").arg(number).arg(line));
            continue;
        }
        if (table.m_texts.contains(id))
            table.m_errors.append(QStringLiteral("line %1: duplicate id %2").arg(number).arg(id));
        table.m_texts.insert(id, unescape(line.mid(eq + 1)));
    }
    return table;
}

const FrStringTable &FrStringTable::program()
{
    static const FrStringTable table = parse(QByteArray::fromRawData(
        reinterpret_cast<const char *>(frStringTableData), qsizetype(frStringTableDataSize)));
    return table;
}

QString TfrLocale::LoadString(int id) const
{
    if (OnLocalize) {
        QString answer;
        OnLocalize(id, answer);
        if (!answer.isEmpty())
            return answer;
    }
    const FrStringTable &table = m_table ? *m_table : FrStringTable::program();
    QString text = table.text(id);
    if (text.size() > kMaxTextLength)
        text.truncate(kMaxTextLength);
    return text;
}

TfrLocale &frLocale()
{
    return fr().frLocale();
}

QString frLoadString(int id)
{
    return frLocale().LoadString(id);
}

} // namespace report
