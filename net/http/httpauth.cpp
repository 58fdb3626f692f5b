// Answers to 401 (server) and 407 (proxy): the client repeats the request with
// Basic credentials or walks the three NTLM messages, without its owner.
#include "net/crypto/base64.h"
#include "net/crypto/ntlm.h"
#include "net/http/httpprot.h"
#include "platform/text/codec.h"

#define HTTP_TRACE(option, text)                                                                   \
    do {                                                                                           \
        if (CheckLogOptions(option))                                                               \
            DebugLog(option, text);                                                                \
    } while (0)

namespace net
{

namespace
{

// The last authenticate value naming the scheme, in any case; -1 when none.
qsizetype findScheme(const QStringList &values, QLatin1String scheme)
{
    for (qsizetype i = values.size() - 1; i >= 0; --i)
        if (values.at(i).left(scheme.size()).compare(scheme, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString basicCredentials(const QString &user, const QString &password)
{
    return QString::fromLatin1(Base64Encode(platform::toAnsi(user + QLatin1Char(':') + password)));
}

} // namespace

void THttpCli::authBookkeeping()
{
    const int status = m_statusCode;
    // Steps answered by something else than a refusal are done; a done step
    // refused now must start over.
    if (m_authNTLMState == 3 && status != 401 && status != 407)
        m_authNTLMState = 4;
    else if (m_authNTLMState == 4 && status == 401)
        m_authNTLMState = 0;
    if (m_proxyAuthNTLMState == 3 && status != 407)
        m_proxyAuthNTLMState = 4;
    else if (m_proxyAuthNTLMState == 4 && status == 407)
        m_proxyAuthNTLMState = 0;
    if (m_authBasicState == 1 && status != 401 && status != 407)
        m_authBasicState = 2;
    else if (m_authBasicState == 2 && status == 401)
        m_authBasicState = 0;
    if (m_proxyAuthBasicState == 1 && status != 407)
        m_proxyAuthBasicState = 2;
    else if (m_proxyAuthBasicState == 2 && status == 407)
        m_proxyAuthBasicState = 0;

    // The owner's Abort and the client's own failures end the request as
    // they are, whatever status was read before.
    if (m_requestDoneError == httperrAborted || m_requestDoneError == httperrProtocol) {
        postRequestDone();
        return;
    }

    bool repeat = false;
    if (!prepareNTLMAuth(repeat) && !prepareBasicAuth(repeat)) {
        postRequestDone();
        return;
    }
    if (status == 401) {
        if (m_closeReq) {
            // The proxy's credentials belong to the connection now closed.
            if (m_proxyAuthNTLMState == 4)
                m_proxyAuthNTLMState = 1;
            else if (m_proxyAuthBasicState == 2)
                m_proxyAuthBasicState = 1;
        } else if (m_proxyAuthNTLMState < 4) {
            m_proxyAuthNTLMState = 0;
        } else if (m_proxyAuthBasicState < 2) {
            m_proxyAuthBasicState = 0;
        }
    }
    if (repeat) {
        rewindStreams();
        emptyBuffer();
        // The same request again: its target and document stay.
        const QString docName = m_docName;
        const QString location = m_location;
        InternalClear();
        m_docName = docName;
        m_location = location;
        m_repeatPending = true;
    }
}

bool THttpCli::prepareNTLMAuth(bool &repeat)
{
    auto trace = [this] {
        HTTP_TRACE(loProtSpecDump,
                   QStringLiteral("PrepareNTLMAuth end, FStatusCode = %1 FProxyAuthNTLMState=%2 "
                                  "FAuthNTLMState=%3")
                       .arg(m_statusCode)
                       .arg(m_proxyAuthNTLMState)
                       .arg(m_authNTLMState));
    };
    trace();
    if (m_options.has(httpoNoNTLMAuth))
        return false;
    bool applies = false;
    const bool offered = findScheme(m_authenticateValues, QLatin1String("NTLM")) >= 0;
    if (m_statusCode == 401 && offered && m_authBasicState == 0 && !m_currUsername.isEmpty() &&
        !m_currPassword.isEmpty()) {
        applies = true;
        StartAuthNTLM();
        repeat = m_authNTLMState == 1 || m_authNTLMState == 3;
    } else if (m_statusCode == 407 && proxyInUse() && offered && m_proxyAuthBasicState == 0 &&
               !m_proxyUsername.isEmpty() && !m_proxyPassword.isEmpty()) {
        applies = true;
        StartProxyAuthNTLM();
        repeat = m_proxyAuthNTLMState == 1 || m_proxyAuthNTLMState == 3;
    }
    trace();
    return applies;
}

bool THttpCli::prepareBasicAuth(bool &repeat)
{
    if (m_options.has(httpoNoBasicAuth))
        return false;
    const bool offered = findScheme(m_authenticateValues, QLatin1String("Basic")) >= 0;
    if (m_statusCode == 401 && offered && m_authNTLMState == 0 && !m_currUsername.isEmpty() &&
        !m_currPassword.isEmpty()) {
        StartAuthBasic();
        repeat = m_authBasicState == 1;
        return true;
    }
    if (m_statusCode == 407 && proxyInUse() && offered && m_proxyAuthNTLMState == 0 &&
        !m_proxyUsername.isEmpty() && !m_proxyPassword.isEmpty()) {
        StartProxyAuthBasic();
        repeat = m_proxyAuthBasicState == 1;
        return true;
    }
    return false;
}

std::optional<QString> THttpCli::ntlmMessage3(const QString &user, const QString &password,
                                              const TNTLM_Msg2_Info &info) const
{
    QString workstation;
    try {
        workstation = LocalHostName();
    } catch (const std::exception &) {
    }
    return NtlmGetMessage3(QString(), workstation, user, password, info.Challenge);
}

void THttpCli::StartAuthNTLM()
{
    switch (m_authNTLMState) {
    case 0:
        HTTP_TRACE(loProtSpecInfo, QStringLiteral("Starting NTLM authentication"));
        m_authNTLMState = 1;
        m_authBasicState = 0;
        // The handshake belongs to one connection.
        if (m_requestVer == QLatin1String("1.0") || m_responseVersion == QLatin1String("1.0") ||
            m_responseVersion.isEmpty())
            m_currConnection = QStringLiteral("Keep-alive");
        postMessage(WM_HTTP_LOGIN);
        break;
    case 1: {
        const qsizetype at = findScheme(m_authenticateValues, QLatin1String("NTLM"));
        m_ntlmMsg2Info = NtlmGetMessage2(at >= 0 ? m_authenticateValues.at(at).mid(5) : QString());
        // A challenge we cannot read could only fail, after handing out a
        // value derived from the password: given up like a refusal.
        std::optional<QString> message3;
        if (m_ntlmMsg2Info.Valid)
            message3 = ntlmMessage3(m_currUsername, m_currPassword, m_ntlmMsg2Info);
        if (!message3) {
            m_ntlmMsg2Info = TNTLM_Msg2_Info();
            m_authenticateValues.clear();
            m_authNTLMState = 0;
            postRequestDone();
            break;
        }
        m_ntlmMessage3 = *message3;
        m_authNTLMState = 3;
        postMessage(WM_HTTP_LOGIN);
        break;
    }
    case 3:
        // Message 3 was refused.
        m_authenticateValues.clear();
        m_authNTLMState = 0;
        postRequestDone();
        break;
    default:
        throw EHttpException(QStringLiteral("Unexpected AuthNTLMState"), 6);
    }
}

void THttpCli::StartProxyAuthNTLM()
{
    switch (m_proxyAuthNTLMState) {
    case 0:
        HTTP_TRACE(loProtSpecInfo, QStringLiteral("Starting Proxy NTLM authentication"));
        m_proxyAuthNTLMState = 1;
        m_proxyAuthBasicState = 0;
        if (m_requestVer == QLatin1String("1.0") || m_responseVersion == QLatin1String("1.0") ||
            m_responseVersion.isEmpty())
            m_currProxyConnection = QStringLiteral("Keep-alive");
        postMessage(WM_HTTP_LOGIN);
        break;
    case 1: {
        const qsizetype at = findScheme(m_authenticateValues, QLatin1String("NTLM"));
        m_proxyNtlmMsg2Info =
            NtlmGetMessage2(at >= 0 ? m_authenticateValues.at(at).mid(5) : QString());
        std::optional<QString> message3;
        if (m_proxyNtlmMsg2Info.Valid)
            message3 = ntlmMessage3(m_proxyUsername, m_proxyPassword, m_proxyNtlmMsg2Info);
        if (!message3) {
            m_proxyNtlmMsg2Info = TNTLM_Msg2_Info();
            m_authenticateValues.clear();
            m_proxyAuthNTLMState = 0;
            postRequestDone();
            break;
        }
        m_proxyNtlmMessage3 = *message3;
        m_proxyAuthNTLMState = 3;
        postMessage(WM_HTTP_LOGIN);
        break;
    }
    case 3:
        m_authenticateValues.clear();
        m_proxyAuthNTLMState = 0;
        postRequestDone();
        break;
    default:
        throw EHttpException(QStringLiteral("Unexpected ProxyAuthNTLMState"), 6);
    }
}

void THttpCli::StartAuthBasic()
{
    switch (m_authBasicState) {
    case 0:
        HTTP_TRACE(loProtSpecInfo, QStringLiteral("Starting Basic authentication"));
        m_authBasicState = 1;
        m_authNTLMState = 0;
        postMessage(WM_HTTP_LOGIN);
        break;
    case 1:
        // The credentials were refused.
        m_authenticateValues.clear();
        m_authBasicState = 0;
        postRequestDone();
        break;
    default:
        throw EHttpException(QStringLiteral("Unexpected AuthBasicState"), 6);
    }
}

void THttpCli::StartProxyAuthBasic()
{
    switch (m_proxyAuthBasicState) {
    case 0:
        HTTP_TRACE(loProtSpecInfo, QStringLiteral("Starting Proxy Basic authentication"));
        m_proxyAuthBasicState = 1;
        m_proxyAuthNTLMState = 0;
        postMessage(WM_HTTP_LOGIN);
        break;
    case 1:
        m_authenticateValues.clear();
        m_proxyAuthBasicState = 0;
        postRequestDone();
        break;
    default:
        throw EHttpException(QStringLiteral("Unexpected ProxyAuthBasicState"), 6);
    }
}

void THttpCli::authorizationLines(QStringList &headers) const
{
    // While the proxy's handshake begins, the server's credentials wait.
    if (m_proxyAuthNTLMState != 1) {
        if (m_authNTLMState == 1)
            headers << QStringLiteral("Authorization: NTLM ") + NtlmGetMessage1();
        else if (m_authNTLMState == 3)
            headers << QStringLiteral("Authorization: NTLM ") + m_ntlmMessage3;
        else if (m_authBasicState == 1)
            headers << QStringLiteral("Authorization: Basic ") +
                           basicCredentials(m_currUsername, m_currPassword);
    }
    // The proxy's credentials are for a proxy only: whatever the states say,
    // never for the origin.
    if (!proxyInUse())
        return;
    if (m_proxyAuthNTLMState == 1)
        headers << QStringLiteral("Proxy-Authorization: NTLM ") + NtlmGetMessage1();
    else if (m_proxyAuthNTLMState == 3)
        headers << QStringLiteral("Proxy-Authorization: NTLM ") + m_proxyNtlmMessage3;
    else if (m_proxyAuthBasicState == 1)
        headers << QStringLiteral("Proxy-Authorization: Basic ") +
                       basicCredentials(m_proxyUsername, m_proxyPassword);
}

} // namespace net
