#pragma once
// Content codings of the HTTP client: the value of its "Accept-Encoding"
// header and the chain of decoders every received body block passes through
// on its way to ReceiveStream and OnDocData. The known codings live in one
// process-wide registry of coding classes; identity and "*" are registered.
#include "platform/text/exceptions.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QIODevice;

namespace net
{

class EHttpContentCodingException : public platform::Exception
{
public:
    using Exception::Exception;
};

// Where a decoder sends its output.
using TWriteBufferProcedure = std::function<void(const char *buffer, int len)>;

class THttpContentCoding
{
public:
    explicit THttpContentCoding(TWriteBufferProcedure writeBuffer)
        : m_writeBuffer(std::move(writeBuffer))
    {
    }
    virtual ~THttpContentCoding() = default;
    // Flushes what is held back at the end of the body.
    virtual void Complete() {}
    virtual void WriteBuffer(const char *buffer, int len) = 0;

protected:
    TWriteBufferProcedure m_writeBuffer;
};

// A coding class: what the registry holds (class-level operations).
class THttpContentCodingClass
{
public:
    virtual ~THttpContentCodingClass() = default;
    virtual QString ClassName() const = 0;
    virtual bool GetActive() const { return true; }
    // The class name after "THttpContentCoding"; a class named otherwise
    // must give its own coding name.
    virtual QString GetCoding() const;
    virtual std::unique_ptr<THttpContentCoding> Create(TWriteBufferProcedure next) const = 0;
};
using TContentCodingClass = std::shared_ptr<const THttpContentCodingClass>;

// Identity and "*" pass blocks on unchanged.
class THttpCCodIdentity : public THttpContentCoding
{
public:
    using THttpContentCoding::THttpContentCoding;
    void WriteBuffer(const char *buffer, int len) override;
    static TContentCodingClass Class();
};

class THttpCCodStar : public THttpContentCoding
{
public:
    using THttpContentCoding::THttpContentCoding;
    void WriteBuffer(const char *buffer, int len) override;
    static TContentCodingClass Class();
};

struct TContCodingEntry {
    TContentCodingClass coding;
    float quality;
};

// The process-wide registry: identity then "*", both of quality 0.
class TContCodingsList
{
public:
    static TContCodingsList &instance();
    void RegisterContentCoding(TContentCodingClass coding, float defaultQuality);
    const std::vector<TContCodingEntry> &entries() const { return m_entries; }
    // Back to the two built-in codings (tests).
    void reset();

private:
    TContCodingsList();
    std::vector<TContCodingEntry> m_entries;
};

class THttpContCodItem
{
public:
    THttpContCodItem(TContentCodingClass coding, float quality)
        : m_coding(std::move(coding)), m_quality(quality)
    {
    }
    const TContentCodingClass &CodingClass() const { return m_coding; }
    QString Coding() const { return m_coding->GetCoding(); }
    bool Enabled() const { return m_enabled; }
    float Quality() const { return m_quality; }

private:
    friend class THttpContCodHandler;
    TContentCodingClass m_coding;
    bool m_enabled = true;
    float m_quality;
};

class THttpContCodHandler
{
public:
    // streamWrite writes to the owner's ReceiveStream when one is set at the
    // time of the call (the stream may change between requests); docData
    // fires the owner's OnDocData.
    THttpContCodHandler(TWriteBufferProcedure streamWrite, TWriteBufferProcedure docData);
    // The same for a receive stream held as a QIODevice field.
    THttpContCodHandler(QIODevice *const *outStream, TWriteBufferProcedure docData);
    ~THttpContCodHandler();
    THttpContCodHandler(const THttpContCodHandler &) = delete;
    THttpContCodHandler &operator=(const THttpContCodHandler &) = delete;

    // The "Accept-Encoding" value; empty means no header.
    QString HeaderText();
    // Sets up the decoders for a body; false when a coding is unknown (the
    // body then goes through undecoded). A list of more codings than any
    // server applies raises EHttpContentCodingException.
    bool Prepare(const QString &encodings);
    // The client calls this with every body block.
    void WriteBuffer(const char *buffer, int len);
    void Complete();
    void ClearDecoders();

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool value);
    bool UseQuality() const { return m_useQuality; }
    void SetUseQuality(bool value);
    int ItemCount() const { return static_cast<int>(m_items.size()); }
    const THttpContCodItem &Item(int index) const { return m_items.at(index); }
    void SetItemEnabled(int index, bool enabled);
    void SetItemQuality(int index, float quality);
    int DecoderCount() const { return static_cast<int>(m_decoders.size()); }

private:
    void ownWrite(const char *buffer, int len);
    // Runs first on the decoder at stage, then hands what each stage wrote
    // to the one before it, and the last output to the owner.
    void runChain(int stage, const std::function<void(THttpContentCoding &)> &first);

    std::vector<std::unique_ptr<THttpContentCoding>> m_decoders;
    // What the decoder at work wrote, block by block.
    std::vector<QByteArray> m_collected;
    // Raised whenever the decoders are dropped.
    std::uint64_t m_chain = 0;
    std::vector<THttpContCodItem> m_items;
    TWriteBufferProcedure m_streamWrite;
    TWriteBufferProcedure m_docData;
    QString m_headerText;
    bool m_headerChanged = true;
    bool m_enabled = false;
    bool m_useQuality = false;
};

} // namespace net
