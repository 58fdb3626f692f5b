// Template streams and files of the report component: ".frf", ".frt", the
// form property "ReportForm" and the prepared-report file.
#include "platform/dialogs/dialogs.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"
#include "report/core/frexceptions.h"
#include "report/core/frlibrary.h"
#include "report/core/frlocale.h"
#include "report/core/frstream.h"
#include "report/core/frutils.h"
#include "report/data/frdictionary.h"
#include "report/io/fremfpages.h"
#include "report/objects/frglobals.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frview.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPointer>
#include <optional>

namespace report
{

namespace
{

constexpr quint8 kPageRecord = 255;
constexpr quint8 kDictionaryRecord = 254;
constexpr quint8 kExtensionRecord = 253;

// A record that cannot be read; the template is then abandoned.
class EFrFormatError : public platform::Exception
{
public:
    EFrFormatError() : Exception(QString()) {}
};

void showError(const QString &text)
{
    platform::MessageDlgWithCaption(frLoadString(55206), text, platform::mtError, platform::mbOK);
}

// A file whose first bytes are not those of its kind; nothing more is read.
class EFrWrongKind : public platform::Exception
{
public:
    EFrWrongKind() : Exception(QString()) {}
};

QByteArray readWholeFile(const QString &fileName,
                         const std::function<bool(QByteArrayView head)> &mayLoad = {})
{
    // Neither a folder nor a pipe (never waited on) is read; the reason a
    // file cannot be read is kept.
    try {
        if (!mayLoad)
            return frReadFile(fileName);
        return frReadFile(fileName, [&mayLoad](QByteArrayView head) {
            if (!mayLoad(head))
                throw EFrWrongKind();
        });
    } catch (const platform::EFileError &e) {
        throw EFrStreamError(e.Message());
    }
}

// Whether a template body (after its version byte, if any) of that version
// can start with these bytes, as TfrPages::LoadFromStream reads them: the
// printer's flags and name, then a page, the dictionary, the end marker or
// the end. Before any page, an object record is refused, but for a version
// 24 record, which is skipped by its end.
bool bodyMayLoad(QByteArrayView head, qsizetype at, int version)
{
    at += 4; // KeepPrinter, TwoPass
    if (version < 23) {
        const qsizetype zero = at < head.size() ? head.indexOf('\0', at) : -1;
        if (zero < 0)
            return true;
        at = zero + 1;
    } else {
        if (at + 2 > head.size())
            return true;
        at += 2 + (quint8(head[at]) | qsizetype(quint8(head[at + 1])) << 8) + 1;
    }
    if (at >= head.size())
        return true;
    const quint8 lead = quint8(head[at]);
    if (lead == kPageRecord || lead == kDictionaryRecord || lead == kExtensionRecord)
        return true;
    return lead <= otAddIn && version > 23;
}

bool saveWholeFile(const QString &fileName, const QByteArray &bytes, QString &error)
{
    error.clear();
    try {
        platform::LineFile::writeBytes(fileName, bytes);
        return true;
    } catch (const platform::Exception &e) {
        error = e.Message();
        return false;
    } catch (const std::exception &) {
        return false;
    }
}

// The virtual printer's name is stored as the one character 1.
QString storedPrinterName()
{
    const FrPrinterInfo &printer = frObjects().frGlobalPrinter();
    const int index = printer.PrinterIndex();
    if (index == printer.VirtualPrinterIndex())
        return QString(QChar(1));
    const QStringList names = printer.Printers();
    return index >= 0 && index < names.size() ? names.at(index) : QString();
}

// A bitmap file in a stream: its header gives its length.
QImage readBitmap(FrStream &stream)
{
    const qint64 start = stream.position();
    QByteArray header = stream.readBytes(6);
    if (header.at(0) != 'B' || header.at(1) != 'M')
        throw EFrStreamError(QStringLiteral("Image incorrecte"));
    const quint32 length = quint8(header[2]) | quint32(quint8(header[3])) << 8 |
                           quint32(quint8(header[4])) << 16 | quint32(quint8(header[5])) << 24;
    if (length < 6 || qint64(length) - 6 > stream.remaining())
        throw EFrStreamError(QStringLiteral("Image incorrecte"));
    stream.seek(start);
    const QByteArray bytes = stream.readBytes(length);
    QImage image;
    image.loadFromData(bytes, "BMP");
    return image;
}

QByteArray bitmapBytes(const QImage &picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    return bytes;
}

} // namespace

bool frTemplateMayLoad(QByteArrayView head)
{
    if (head.isEmpty())
        return true;
    const quint8 version = quint8(head.front());
    if (version > 24)
        return false;
    // Before version 21 the body starts at once.
    return version < 21 ? bodyMayLoad(head, 0, 21) : bodyMayLoad(head, 1, version);
}

// --- body of the template stream

void TfrPages::SaveToStream(FrStream &stream)
{
    TfrReport &report = *m_report;
    frWriteWord(stream, report.KeepPrinter);
    frWriteWord(stream, report.TwoPass);
    frWriteString(stream, storedPrinterName());
    for (const auto &page : m_pages) {
        frWriteByte(stream, kPageRecord);
        page->SaveToStream(stream);
    }
    for (int i = 0; i < Count(); ++i) {
        for (const auto &view : m_pages[size_t(i)]->Objects) {
            FrRestore<bool> prepared(view->Prepared, false);
            view->WriteTypeCode(stream);
            frWriteByte(stream, quint8(i));
            const qint64 offsetAt = stream.position();
            frWriteInteger(stream, 0);
            view->SaveToStream(stream);
            const qint64 end = stream.position();
            stream.seek(offsetAt);
            frWriteInteger(stream, qint32(end));
            stream.seek(end);
        }
    }
    frWriteByte(stream, kDictionaryRecord);
    report.Dictionary().SaveToStream(stream);
}

void TfrPages::LoadFromStream(FrStream &stream)
{
    TfrReport &report = *m_report;
    report.Clear();
    report.KeepPrinter = frReadWord(stream);
    report.TwoPass = frReadWord(stream);
    QString printer = frReadTemplateString(stream);
    if (printer == QString(QChar(1)))
        printer = frLoadString(55007);
    report.SelectReportPrinter(printer);

    FrObjectGlobals &g = frObjects();
    // Names generated for objects of old templates go through the names kept
    // here, not through a search of the whole report for each candidate.
    FrLoadNames names(&report);
    FrRestore<FrLoadNames *> loadNames(g.frLoadNames, &names);
    while (stream.position() < stream.size()) {
        const quint8 lead = frReadByte(stream);
        if (lead == kPageRecord) {
            TfrPage *page = Add();
            page->LoadFromStream(stream);
            names.pageAdded(page->Name);
        } else if (lead == kDictionaryRecord) {
            report.Dictionary().LoadFromStream(stream);
        } else if (lead == kExtensionRecord) {
            break; // no extension object is installed: nothing after it is read
        } else if (lead > otAddIn) {
            throw EFrFormatError();
        } else {
            try {
                readObject(stream, lead);
            } catch (const EClassNotFound &) {
                // Older records cannot be skipped: reading stops at a missing class.
                break;
            }
        }
    }
    if (g.frErrorOccurred)
        throw EClassNotFound(g.frErrorText);
    for (const auto &page : m_pages)
        for (const auto &view : page->Objects)
            view->AfterTemplateLoad();
}

void TfrPages::readObject(FrStream &stream, quint8 typ)
{
    const bool skippable = fr().frTemplateVersion > 23;
    qint64 end = -1;
    auto readEnd = [&stream, &end] {
        const qint32 offset = frReadInteger(stream);
        // The end lies after the offset field and within the stream.
        if (offset < stream.position() || offset > stream.size())
            throw EFrFormatError();
        end = offset;
    };
    try {
        QString className;
        bool framedMemo = false;
        if (typ == otAddIn) {
            className = frReadTemplateString(stream);
            const QString upper = frUpperCase(className);
            if (upper == QLatin1String("TFRBDELOOKUPCONTROL") ||
                upper == QLatin1String("TFRIBXLOOKUPCONTROL"))
                className = QStringLiteral("TfrDBLookupControl");
            else if (upper == QLatin1String("TFRFRAMEDMEMOVIEW")) {
                framedMemo = true;
                typ = otMemo;
            }
        }
        const quint8 pageIndex = frReadByte(stream);
        if (skippable)
            readEnd();
        TfrPage *page = GetPage(pageIndex);
        if (!page)
            throw EFrStreamError(QStringLiteral("Page d'objet inexistante"));
        frObjects().frCurrentPage = page;
        std::unique_ptr<TfrView> view = frCreateObject(typ, className);
        if (!view)
            throw EFrStreamError(QStringLiteral("Type d'objet inconnu"));
        view->LoadFromStream(stream);
        view->SetPropertyValue(QStringLiteral("Name"), view->Name);
        if (framedMemo)
            stream.readBytes(8);
        if (end >= 0)
            stream.seek(end);
        const TfrView *added = page->Add(std::move(view));
        if (FrLoadNames *names = frObjects().frLoadNames)
            names->objectAdded(added->Name);
    } catch (const EFrFormatError &) {
        throw;
    } catch (const EClassNotFound &) {
        if (!skippable)
            throw;
        if (end < 0)
            readEnd();
        stream.seek(end);
    } catch (const std::exception &) {
        // A record that fails is dropped; a version 24 record is skipped by its end.
        if (!skippable || end < 0)
            throw EFrFormatError();
        stream.seek(end);
    }
}

// --- the report's streams and files

void TfrReport::refuse(const QString &reason)
{
    showError(m_readingFile.isEmpty() ? reason : frFileNotReadText(m_readingFile, reason));
}

void TfrReport::readBody(FrStream &stream)
{
    FrObjectGlobals &g = frObjects();
    g.frErrorOccurred = false;
    g.frErrorText.clear();
    try {
        m_pages->LoadFromStream(stream);
        m_lastLoad = LoadOutcome::Loaded;
    } catch (const EClassNotFound &) {
        showError(QStringLiteral("Opened report contains the following non-plugged components:") +
                  QChar(13) + g.frErrorText +
                  QStringLiteral("Use appropriate component from FR component palette"));
        m_lastLoad = LoadOutcome::MissingClasses;
    } catch (...) {
        m_pages->Clear();
        m_pages->Add();
        refuse(frLoadString(55345));
        m_lastLoad = LoadOutcome::FormatError;
    }
    g.frErrorOccurred = false;
    g.frErrorText.clear();
}

void TfrReport::LoadFromStream(FrStream &stream)
{
    makeCurrent();
    if (stream.size() == 0) {
        m_lastLoad = LoadOutcome::Empty;
        return;
    }
    const qint64 start = stream.position();
    quint8 version = 0;
    try {
        version = frReadByte(stream);
    } catch (const EFrStreamError &) {
        m_lastLoad = LoadOutcome::Empty;
        return;
    }
    if (version < 21) {
        version = 21;
        stream.seek(start);
    }
    if (version > 24) {
        // Nothing is read, so nothing of the report changes.
        refuse(frLoadString(55345));
        m_lastLoad = LoadOutcome::Unsupported;
        return;
    }
    m_dictionary->Clear();
    fr().frTemplateVersion = version;
    readBody(stream);
}

void TfrReport::SaveToStream(FrStream &stream)
{
    makeCurrent();
    fr().frTemplateVersion = 24;
    frWriteByte(stream, 24);
    m_pages->SaveToStream(stream);
}

QString frFileNotReadText(const QString &fileName, const QString &reason)
{
    return QStringLiteral("Le fichier %1 n'a pas pu être lu.\n\n%2").arg(fileName, reason);
}

void TfrReport::takeTemplate(TfrReport &read)
{
    // The pages this report held go with the other report.
    m_pages->Swap(*read.m_pages);
    m_dictionary->Clear();
    const TfrDataDictionary &dict = *read.m_dictionary;
    m_dictionary->Variables.Assign(dict.Variables);
    m_dictionary->FieldAliases.Assign(dict.FieldAliases);
    m_dictionary->BandDataSources.Assign(dict.BandDataSources);
    KeepPrinter = read.KeepPrinter;
    TwoPass = read.TwoPass;
    PrinterName = read.PrinterName;
}

bool TfrReport::readAside(const QString &fileName, const std::function<void(TfrReport &)> &read)
{
    // What a read changes in the library, put back when it fails.
    FrLibrary &lib = fr();
    FrObjectGlobals &g = frObjects();
    const QPointer<TfrReport> current = lib.frCurrentReport;
    const QPointer<QObject> currentOwner = lib.frCurrentReportOwner();
    FrReportLink *const currentLink = g.frCurrentReport;
    FrPageLink *const currentPage = g.frCurrentPage;
    const int version = lib.frTemplateVersion;
    FrPrinterInfo &printer = g.frGlobalPrinter();
    const int printerIndex = printer.PrinterIndex();
    bool taken = false;
    {
        TfrReport aside(parent());
        aside.setObjectName(objectName());
        aside.m_readingFile = fileName;
        read(aside);
        m_lastLoad = aside.m_lastLoad;
        taken = m_lastLoad == LoadOutcome::Loaded || m_lastLoad == LoadOutcome::MissingClasses;
        if (taken)
            takeTemplate(aside);
    }
    if (taken) {
        makeCurrent();
        return true;
    }
    if (printer.PrinterIndex() != printerIndex)
        printer.SetPrinterIndex(printerIndex);
    lib.frTemplateVersion = version;
    // Only the report of the read has gone: what was current still exists.
    lib.setCurrentReport(current, currentOwner);
    g.frCurrentReport = currentLink;
    g.frCurrentPage = currentPage;
    return false;
}

bool TfrReport::LoadFromFile(const QString &fileName)
{
    if (!platform::LineFile::exists(fileName))
        return false;
    QByteArray bytes;
    try {
        bytes = readWholeFile(fileName, frTemplateMayLoad);
    } catch (const EFrWrongKind &) {
        // Refused from its first bytes: nothing of the report changes.
        showError(frFileNotReadText(fileName, frLoadString(55345)));
        m_lastLoad = LoadOutcome::Unsupported;
        return false;
    } catch (const EFrStreamError &e) {
        showError(e.Message());
        m_lastLoad = LoadOutcome::Unreadable;
        return false;
    }
    FrMemoryStream stream(bytes);
    if (readAside(fileName, [&stream](TfrReport &aside) { aside.LoadFromStream(stream); })) {
        FileName = fileName;
        return true;
    }
    // An empty file is no refusal of the reader's: its caller tells.
    return m_lastLoad == LoadOutcome::Empty;
}

bool TfrReport::SaveToFile(const QString &fileName)
{
    FrMemoryStream stream;
    SaveToStream(stream);
    return saveWholeFile(fileName, stream.data(), m_lastSaveError);
}

bool TfrReport::SaveTemplate(const QString &fileName, const QStringList &description,
                             const QImage &picture)
{
    makeCurrent();
    fr().frTemplateVersion = 24;
    FrMemoryStream stream;
    frWriteMemo(stream, description);
    const qint64 offsetAt = stream.position();
    frWriteInteger(stream, 0);
    if (picture.isNull()) {
        frWriteByte(stream, 0);
    } else {
        frWriteByte(stream, 1);
        stream.write(bitmapBytes(picture));
    }
    const qint64 body = stream.position();
    stream.seek(offsetAt);
    frWriteInteger(stream, qint32(body));
    stream.seek(body);
    m_pages->SaveToStream(stream);
    return saveWholeFile(fileName, stream.data(), m_lastSaveError);
}

namespace
{

// A model file's body offset, which follows its description; none where
// the two cannot be read.
std::optional<qint32> modelBodyOffset(FrStream &stream)
{
    try {
        QStringList dropped;
        frReadMemo(stream, dropped);
        return frReadInteger(stream);
    } catch (const platform::Exception &) {
        return std::nullopt;
    }
}

} // namespace

void TfrReport::LoadTemplate(const QString &fileName, QStringList &description, QImage &picture,
                             bool load)
{
    makeCurrent();
    const auto formatError = [this, &fileName] {
        showError(frFileNotReadText(fileName, frLoadString(55345)));
        m_lastLoad = LoadOutcome::FormatError;
    };
    // The description, the body's offset and the start of the body, as far
    // as the file's first bytes hold them: a file of another kind is refused
    // before the rest is read.
    qint64 size = 0;
    const auto mayLoad = [&size](QByteArrayView head) {
        FrMemoryStream stream(QByteArray(head.data(), head.size()));
        const std::optional<qint32> read = modelBodyOffset(stream);
        if (!read)
            return head.size() != size; // the head ends short of the file
        const qint32 body = *read;
        if (body < stream.position() || body > size)
            return false;
        return body >= head.size() || bodyMayLoad(head, body, 24);
    };
    QByteArray bytes;
    try {
        size = platform::LineFile::exists(fileName)
                   ? QFileInfo(platform::LineFile::resolve(fileName)).size()
                   : 0;
        bytes = readWholeFile(fileName, load ? std::function<bool(QByteArrayView)>(mayLoad)
                                             : std::function<bool(QByteArrayView)>());
    } catch (const EFrWrongKind &) {
        formatError();
        return;
    } catch (const EFrStreamError &e) {
        // The templates' list reads descriptions quietly; a template chosen
        // says why it cannot be read.
        if (load) {
            showError(e.Message());
            m_lastLoad = LoadOutcome::Unreadable;
        }
        return;
    }
    FrMemoryStream stream(bytes);
    fr().frTemplateVersion = 24;
    if (!load) {
        description.clear();
        picture = QImage();
        try {
            frReadMemo(stream, description);
            frReadInteger(stream);
            if (frReadByte(stream) == 1)
                picture = readBitmap(stream);
        } catch (const platform::Exception &) {
            // A damaged description shows what could be read.
        }
        return;
    }
    const qint32 body = modelBodyOffset(stream).value_or(-1);
    if (body < stream.position() || body > stream.size()) {
        formatError();
        return;
    }
    stream.seek(body);
    readAside(fileName, [&stream](TfrReport &aside) {
        aside.makeCurrent();
        fr().frTemplateVersion = 24;
        aside.m_dictionary->Clear();
        aside.readBody(stream);
    });
}

void TfrReport::WriteBinaryData(FrStream &stream)
{
    frWriteInteger(stream, 24);
    if (!StoreInDFM)
        return;
    FrMemoryStream inner;
    SaveToStream(inner);
    frWriteInteger(stream, qint32(inner.size()));
    stream.write(inner.data());
}

void TfrReport::ReadBinaryData(FrStream &stream)
{
    frReadInteger(stream);
    if (!StoreInDFM)
        return;
    const qint32 length = frReadInteger(stream);
    if (length < 0 || length > stream.remaining())
        throw EFrStreamError();
    FrMemoryStream inner(stream.readBytes(length));
    LoadFromStream(inner);
}

void TfrReport::LoadPreparedFile(const QString &fileName)
{
    FrMemoryStream stream(readWholeFile(fileName));
    try {
        // Every prepared report holds a page: a file that reads as none is
        // not one, and must not replace what is shown.
        m_emfPages->LoadFromStream(stream, true);
    } catch (const platform::Exception &e) {
        // A damaged file says which file it was, whatever its reader found.
        throw EFrStreamError(frFileNotReadText(fileName, e.Message()));
    }
    CanRebuild = false;
}

bool TfrReport::SavePreparedFile(const QString &fileName)
{
    FrMemoryStream stream;
    m_emfPages->SaveToStream(stream);
    return saveWholeFile(fileName, stream.data(), m_lastSaveError);
}

} // namespace report
