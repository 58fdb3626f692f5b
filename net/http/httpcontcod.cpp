#include "net/http/httpcontcod.h"

#include <QIODevice>

namespace net
{

namespace
{

const QString kBaseName = QStringLiteral("THttpContentCoding");

// No server applies more codings than this to one body; a longer list is
// hostile, and refused before any decoder is made.
constexpr int kMaxCodings = 16;

template <typename Coding> class BuiltInClass : public THttpContentCodingClass
{
public:
    BuiltInClass(QString className, QString coding)
        : m_className(std::move(className)), m_coding(std::move(coding))
    {
    }
    QString ClassName() const override { return m_className; }
    QString GetCoding() const override { return m_coding; }
    std::unique_ptr<THttpContentCoding> Create(TWriteBufferProcedure next) const override
    {
        return std::make_unique<Coding>(std::move(next));
    }

private:
    QString m_className;
    QString m_coding;
};

// "0.###" with a point, whatever the locale.
QString formatQuality(float quality)
{
    QString text = QString::number(static_cast<double>(quality), 'f', 3);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

// Commas and blanks separate the names; double quotes group.
QStringList splitCodings(const QString &text)
{
    QStringList names;
    QString current;
    bool quoted = false;
    bool any = false;
    for (QChar c : text) {
        if (quoted) {
            if (c == QLatin1Char('"'))
                quoted = false;
            else
                current += c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
            any = true;
        } else if (c == QLatin1Char(',') || c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (any)
                names << current;
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any)
        names << current;
    return names;
}

} // namespace

QString THttpContentCodingClass::GetCoding() const
{
    QString name = ClassName();
    if (!name.startsWith(kBaseName))
        throw EHttpContentCodingException(
            QStringLiteral("GetCoding must be overriden in %1").arg(name));
    return name.mid(kBaseName.size());
}

void THttpCCodIdentity::WriteBuffer(const char *buffer, int len)
{
    if (m_writeBuffer)
        m_writeBuffer(buffer, len);
}

TContentCodingClass THttpCCodIdentity::Class()
{
    static TContentCodingClass cls = std::make_shared<BuiltInClass<THttpCCodIdentity>>(
        QStringLiteral("THttpCCodIdentity"), QStringLiteral("identity"));
    return cls;
}

void THttpCCodStar::WriteBuffer(const char *buffer, int len)
{
    if (m_writeBuffer)
        m_writeBuffer(buffer, len);
}

TContentCodingClass THttpCCodStar::Class()
{
    static TContentCodingClass cls = std::make_shared<BuiltInClass<THttpCCodStar>>(
        QStringLiteral("THttpCCodStar"), QStringLiteral("*"));
    return cls;
}

TContCodingsList::TContCodingsList()
{
    reset();
}

TContCodingsList &TContCodingsList::instance()
{
    static TContCodingsList list;
    return list;
}

void TContCodingsList::RegisterContentCoding(TContentCodingClass coding, float defaultQuality)
{
    m_entries.push_back(TContCodingEntry{std::move(coding), defaultQuality});
}

void TContCodingsList::reset()
{
    m_entries.clear();
    m_entries.push_back(TContCodingEntry{THttpCCodIdentity::Class(), 0.0f});
    m_entries.push_back(TContCodingEntry{THttpCCodStar::Class(), 0.0f});
}

THttpContCodHandler::THttpContCodHandler(TWriteBufferProcedure streamWrite,
                                         TWriteBufferProcedure docData)
    : m_streamWrite(std::move(streamWrite)), m_docData(std::move(docData))
{
    for (const TContCodingEntry &entry : TContCodingsList::instance().entries())
        m_items.emplace_back(entry.coding, entry.quality);
}

THttpContCodHandler::THttpContCodHandler(QIODevice *const *outStream, TWriteBufferProcedure docData)
    : THttpContCodHandler(
          [outStream](const char *buffer, int len) {
              if (outStream != nullptr && *outStream != nullptr)
                  (*outStream)->write(buffer, len);
          },
          std::move(docData))
{
}

THttpContCodHandler::~THttpContCodHandler()
{
    ClearDecoders();
}

void THttpContCodHandler::SetEnabled(bool value)
{
    if (m_enabled != value)
        m_headerChanged = true;
    m_enabled = value;
}

void THttpContCodHandler::SetUseQuality(bool value)
{
    if (m_useQuality != value)
        m_headerChanged = true;
    m_useQuality = value;
}

void THttpContCodHandler::SetItemEnabled(int index, bool enabled)
{
    m_items.at(index).m_enabled = enabled;
    m_headerChanged = true;
}

void THttpContCodHandler::SetItemQuality(int index, float quality)
{
    m_items.at(index).m_quality = quality;
    m_headerChanged = true;
}

QString THttpContCodHandler::HeaderText()
{
    if (!m_enabled)
        return QString();
    if (!m_headerChanged)
        return m_headerText;
    // Qualities are written once two items are active, whatever their
    // values. A quality of 0 means "not acceptable": such items are never
    // offered, with qualities or without, or a server would answer 406 to
    // the defaults.
    std::vector<const THttpContCodItem *> offered;
    int active = 0;
    for (const THttpContCodItem &item : m_items) {
        if (!item.m_enabled || !item.m_coding->GetActive())
            continue;
        ++active;
        if (item.m_quality > 0.0f)
            offered.push_back(&item);
    }
    bool withQuality = m_useQuality && active >= 2;
    QString text;
    for (const THttpContCodItem *item : offered) {
        QString entry = item->m_coding->GetCoding();
        if (withQuality)
            entry += QStringLiteral(";q=") + formatQuality(item->m_quality);
        text = text.isEmpty() ? entry : text + QStringLiteral(", ") + entry;
    }
    m_headerText = text;
    m_headerChanged = false;
    return m_headerText;
}

void THttpContCodHandler::ClearDecoders()
{
    m_decoders.clear();
    m_collected.clear();
    ++m_chain;
}

bool THttpContCodHandler::Prepare(const QString &encodings)
{
    ClearDecoders();
    if (!m_enabled || encodings.isEmpty())
        return true;
    const QStringList names = splitCodings(encodings);
    if (names.size() > kMaxCodings)
        throw EHttpContentCodingException(
            QStringLiteral("Too many content codings (%1, at most %2)")
                .arg(names.size())
                .arg(kMaxCodings));
    for (const QString &name : names) {
        const auto &entries = TContCodingsList::instance().entries();
        TContentCodingClass found;
        for (auto it = entries.rbegin(); it != entries.rend(); ++it)
            if (it->coding->GetCoding().compare(name, Qt::CaseInsensitive) == 0) {
                found = it->coding;
                break;
            }
        if (!found) {
            ClearDecoders();
            return false;
        }
        // Every decoder writes to the handler, which passes its output on
        // (runChain): the chain costs no stack, however long.
        m_decoders.push_back(found->Create(
            [this](const char *buffer, int len) { m_collected.emplace_back(buffer, len); }));
    }
    return true;
}

void THttpContCodHandler::WriteBuffer(const char *buffer, int len)
{
    if (m_decoders.empty()) {
        ownWrite(buffer, len);
        return;
    }
    runChain(static_cast<int>(m_decoders.size()) - 1,
             [buffer, len](THttpContentCoding &decoder) { decoder.WriteBuffer(buffer, len); });
}

void THttpContCodHandler::Complete()
{
    // The coding named last sees the body first and completes first; what
    // it flushes goes through the codings named before it.
    // An owner that set up another body from its data event ended this one.
    const std::uint64_t chain = m_chain;
    for (int stage = static_cast<int>(m_decoders.size()) - 1; stage >= 0 && m_chain == chain;
         --stage)
        runChain(stage, [](THttpContentCoding &decoder) { decoder.Complete(); });
}

void THttpContCodHandler::runChain(int stage,
                                   const std::function<void(THttpContentCoding &)> &first)
{
    m_collected.clear();
    first(*m_decoders[static_cast<size_t>(stage)]);
    for (int next = stage - 1; next >= 0; --next) {
        std::vector<QByteArray> input;
        input.swap(m_collected);
        for (const QByteArray &block : input)
            m_decoders[static_cast<size_t>(next)]->WriteBuffer(block.constData(),
                                                               static_cast<int>(block.size()));
    }
    // The owner hears of the blocks last: what it does then (a new body,
    // an abort) finds no decoder at work.
    std::vector<QByteArray> output;
    output.swap(m_collected);
    for (const QByteArray &block : output)
        ownWrite(block.constData(), static_cast<int>(block.size()));
}

void THttpContCodHandler::ownWrite(const char *buffer, int len)
{
    if (m_streamWrite && len > 0)
        m_streamWrite(buffer, len);
    if (m_docData)
        m_docData(buffer, len);
}

} // namespace net
