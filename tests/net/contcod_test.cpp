// Content codings: the Accept-Encoding value and the decoder chain.
#include "net/http/httpcontcod.h"
#include "tests/net/net_support.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace net;

namespace
{

// Records the order in which the decoders see and complete a body.
std::vector<std::string> g_trace;

// Xors every byte with a key: a reversible coding for tests.
class THttpContentCodingxor : public THttpContentCoding
{
public:
    using THttpContentCoding::THttpContentCoding;
    void WriteBuffer(const char *buffer, int len) override
    {
        g_trace.push_back("xor write");
        QByteArray out(buffer, len);
        for (char &c : out)
            c = static_cast<char>(c ^ 0x5A);
        m_writeBuffer(out.constData(), len);
    }
    void Complete() override { g_trace.push_back("xor complete"); }
};

class XorClass : public THttpContentCodingClass
{
public:
    QString ClassName() const override { return QStringLiteral("THttpContentCodingxor"); }
    std::unique_ptr<THttpContentCoding> Create(TWriteBufferProcedure next) const override
    {
        return std::make_unique<THttpContentCodingxor>(std::move(next));
    }
};

// Keeps a trailer back until completion.
class HoldingClass : public THttpContentCodingClass
{
public:
    QString ClassName() const override { return QStringLiteral("TTrailerCoding"); }
    QString GetCoding() const override { return QStringLiteral("hold"); }
    std::unique_ptr<THttpContentCoding> Create(TWriteBufferProcedure next) const override
    {
        class Holding : public THttpContentCoding
        {
        public:
            using THttpContentCoding::THttpContentCoding;
            void WriteBuffer(const char *buffer, int len) override
            {
                g_trace.push_back("hold write");
                m_writeBuffer(buffer, len);
            }
            void Complete() override
            {
                g_trace.push_back("hold complete");
                m_writeBuffer("!", 1);
            }
        };
        return std::make_unique<Holding>(std::move(next));
    }
};

class Unnamed : public THttpContentCodingClass
{
public:
    QString ClassName() const override { return QStringLiteral("TMyCoding"); }
    bool GetActive() const override { return true; }
    std::unique_ptr<THttpContentCoding> Create(TWriteBufferProcedure) const override
    {
        return nullptr;
    }
};

class ContCod : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TContCodingsList::instance().reset();
        g_trace.clear();
    }
    void TearDown() override { TContCodingsList::instance().reset(); }
};

struct Sink {
    QIODevice *stream = nullptr;
    QByteArray docData;
    int docCalls = 0;
    THttpContCodHandler handler{[this](const char *b, int n) {
                                    if (stream != nullptr)
                                        stream->write(b, n);
                                },
                                [this](const char *b, int n) {
                                    docData.append(b, n);
                                    ++docCalls;
                                }};
};

TEST_F(ContCod, HeaderValues)
{
    Sink sink;
    EXPECT_EQ(sink.handler.HeaderText(), QString()) << "off by default: no header";
    sink.handler.SetEnabled(true);
    EXPECT_EQ(sink.handler.HeaderText(), QString()) << "both built-ins have quality 0";
    sink.handler.SetUseQuality(true);
    EXPECT_EQ(sink.handler.HeaderText(), QString())
        << "quality 0 means not acceptable: it is never offered";

    TContCodingsList::instance().RegisterContentCoding(std::make_shared<XorClass>(), 0.5f);
    TContCodingsList::instance().RegisterContentCoding(std::make_shared<HoldingClass>(), 1.0f);
    Sink more;
    more.handler.SetEnabled(true);
    EXPECT_EQ(more.handler.HeaderText(), QStringLiteral("xor, hold"));
    more.handler.SetUseQuality(true);
    EXPECT_EQ(more.handler.HeaderText(), QStringLiteral("xor;q=0.5, hold;q=1"));
    more.handler.SetItemQuality(2, 0.1234f);
    EXPECT_EQ(more.handler.HeaderText(), QStringLiteral("xor;q=0.123, hold;q=1"));
    more.handler.SetItemEnabled(3, false);
    // Identity and "*" are still active: qualities stay, their 0 is left out.
    EXPECT_EQ(more.handler.HeaderText(), QStringLiteral("xor;q=0.123"));
    more.handler.SetItemEnabled(0, false);
    more.handler.SetItemEnabled(1, false);
    EXPECT_EQ(more.handler.HeaderText(), QStringLiteral("xor")) << "one active item: no quality";
    more.handler.SetItemEnabled(0, true);
    more.handler.SetItemEnabled(1, true);
    more.handler.SetItemQuality(0, 0.25f);
    EXPECT_EQ(more.handler.HeaderText(), QStringLiteral("identity;q=0.25, xor;q=0.123"));
    more.handler.SetEnabled(false);
    EXPECT_EQ(more.handler.HeaderText(), QString());
}

TEST_F(ContCod, CodingNamesComeFromClassNames)
{
    EXPECT_EQ(THttpCCodIdentity::Class()->GetCoding(), QStringLiteral("identity"));
    EXPECT_EQ(THttpCCodStar::Class()->GetCoding(), QStringLiteral("*"));
    EXPECT_EQ(XorClass().GetCoding(), QStringLiteral("xor"));
    EXPECT_EQ(nettest::thrownMessage<EHttpContentCodingException>([&] { Unnamed().GetCoding(); }),
              QStringLiteral("GetCoding must be overriden in TMyCoding"));
}

TEST_F(ContCod, BodiesGoStraightThroughWhenOff)
{
    QBuffer stream;
    stream.open(QIODevice::WriteOnly);
    Sink sink;
    sink.stream = &stream;
    EXPECT_TRUE(sink.handler.Prepare(QStringLiteral("gzip")));
    sink.handler.WriteBuffer("plain", 5);
    EXPECT_EQ(stream.data(), QByteArray("plain"));
    EXPECT_EQ(sink.docData, QByteArray("plain"));
    // The stream slot is read at each write: a new stream takes the next body.
    QBuffer next;
    next.open(QIODevice::WriteOnly);
    sink.stream = &next;
    sink.handler.WriteBuffer("more", 4);
    EXPECT_EQ(next.data(), QByteArray("more"));
    sink.stream = nullptr;
    sink.handler.WriteBuffer("x", 1);
    EXPECT_EQ(sink.docCalls, 3);
}

TEST_F(ContCod, ReceiveStreamFieldIsReadAtEachWrite)
{
    QIODevice *receiveStream = nullptr;
    int docCalls = 0;
    THttpContCodHandler handler(&receiveStream, [&](const char *, int) { ++docCalls; });
    handler.WriteBuffer("lost", 4);
    QBuffer stream;
    stream.open(QIODevice::WriteOnly);
    receiveStream = &stream;
    handler.WriteBuffer("kept", 4);
    EXPECT_EQ(stream.data(), QByteArray("kept"));
    EXPECT_EQ(docCalls, 2);
}

TEST_F(ContCod, UnknownCodingLeavesTheBodyUndecoded)
{
    Sink sink;
    sink.handler.SetEnabled(true);
    EXPECT_FALSE(sink.handler.Prepare(QStringLiteral("gzip")));
    EXPECT_EQ(sink.handler.DecoderCount(), 0);
    sink.handler.WriteBuffer("\x1f\x8b raw", 6);
    EXPECT_EQ(sink.docData, QByteArray("\x1f\x8b raw", 6));
    EXPECT_FALSE(sink.handler.Prepare(QStringLiteral("identity, gzip")));
    EXPECT_EQ(sink.handler.DecoderCount(), 0);
    EXPECT_TRUE(sink.handler.Prepare(QString()));
}

// Lists up to what a server may apply are decoded; longer ones are refused
// before any decoder is made, and the body then passes undecoded.
TEST_F(ContCod, ListsLongerThanSixteenCodingsAreRefused)
{
    for (int count : {1, 10, 16, 17, 1000, 100000}) {
        SCOPED_TRACE(count);
        QStringList names;
        for (int i = 0; i < count; ++i)
            names << (i % 2 ? QStringLiteral("*") : QStringLiteral("identity"));
        Sink sink;
        sink.handler.SetEnabled(true);
        const auto prepare = [&] { return sink.handler.Prepare(names.join(QLatin1Char(','))); };
        if (count <= 16) {
            EXPECT_TRUE(prepare());
        } else {
            EXPECT_EQ(nettest::thrownMessage<EHttpContentCodingException>(prepare),
                      QStringLiteral("Too many content codings (%1, at most 16)").arg(count));
        }
        EXPECT_EQ(sink.handler.DecoderCount(), count <= 16 ? count : 0);
        sink.handler.WriteBuffer("corps", 5);
        sink.handler.Complete();
        EXPECT_EQ(std::pair(sink.docData, sink.docCalls), std::pair(QByteArray("corps"), 1));
    }
}

TEST_F(ContCod, CodingsDecodeInReverseOrderAndCompleteLastFirst)
{
    TContCodingsList::instance().RegisterContentCoding(std::make_shared<XorClass>(), 0.0f);
    TContCodingsList::instance().RegisterContentCoding(std::make_shared<HoldingClass>(), 0.0f);
    Sink sink;
    sink.handler.SetEnabled(true);
    ASSERT_TRUE(sink.handler.Prepare(QStringLiteral("XOR, \"hold\" identity")));
    EXPECT_EQ(sink.handler.DecoderCount(), 3);
    QByteArray coded("secret");
    for (char &c : coded)
        c = static_cast<char>(c ^ 0x5A);
    sink.handler.WriteBuffer(coded.constData(), int(coded.size()));
    sink.handler.Complete();
    // identity was named last: it sees the body first; xor named first decodes last.
    EXPECT_EQ(g_trace, (std::vector<std::string>{"hold write", "xor write", "hold complete",
                                                 "xor write", "xor complete"}));
    QByteArray bang("!");
    bang[0] = static_cast<char>('!' ^ 0x5A);
    EXPECT_EQ(sink.docData, QByteArray("secret") + bang);
    // A new body starts from a clean chain.
    ASSERT_TRUE(sink.handler.Prepare(QStringLiteral("identity")));
    EXPECT_EQ(sink.handler.DecoderCount(), 1);
}

} // namespace
