#pragma once
// Helpers of the file-format tests: golden files, byte builders and a
// temporary folder. VORN_UPDATE_GOLDEN=1 rewrites the golden files.
#include "report/core/frlibrary.h"
#include "report/core/frstream.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace report::test
{

inline QString goldenPath(const QString &name)
{
    return QStringLiteral(VORN_TEST_DATA) + QStringLiteral("/report/") + name;
}

inline QByteArray readFileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// With a size, the file is then cut or grown (with zeros taking no room on
// the disk) to that size.
inline void writeFileBytes(const QString &path, const QByteArray &bytes, qint64 size = -1)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
    ASSERT_TRUE(size < 0 || file.resize(size)) << path.toStdString();
}

// Compares bytes with the golden file of that name.
inline void expectGolden(const QString &name, const QByteArray &actual)
{
    const QString path = goldenPath(name);
    if (qEnvironmentVariableIntValue("VORN_UPDATE_GOLDEN") == 1)
        writeFileBytes(path, actual);
    const QByteArray expected = readFileBytes(path);
    ASSERT_FALSE(expected.isEmpty()) << "missing golden " << path.toStdString();
    if (expected == actual)
        return;
    qsizetype at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
        ++at;
    ADD_FAILURE() << name.toStdString() << ": first difference at byte " << at << " (golden "
                  << expected.size() << " bytes, actual " << actual.size() << ")";
}

// Little-endian byte building for hand-made streams.
struct Bytes {
    QByteArray data;
    Bytes &byte(int v)
    {
        data.append(char(quint8(v)));
        return *this;
    }
    Bytes &word(int v)
    {
        byte(v & 0xFF);
        return byte((v >> 8) & 0xFF);
    }
    Bytes &int32(qint32 v)
    {
        const quint32 u = quint32(v);
        for (int i = 0; i < 4; ++i)
            byte(int((u >> (8 * i)) & 0xFF));
        return *this;
    }
    // Counted string: length, Windows-1252 bytes, 0.
    Bytes &str(const QByteArray &s)
    {
        word(int(s.size()));
        data.append(s);
        return byte(0);
    }
    // Zero-terminated string of versions 21 and 22.
    Bytes &strz(const QByteArray &s)
    {
        data.append(s);
        return byte(0);
    }
    // One length byte, then the bytes.
    Bytes &shortStr(const QByteArray &s)
    {
        byte(int(s.size()));
        data.append(s);
        return *this;
    }
    Bytes &memo(const QList<QByteArray> &lines)
    {
        word(int(lines.size()));
        for (int i = 0; i < lines.size(); ++i) {
            word(int(lines[i].size()));
            data.append(lines[i]);
            if (i + 1 < lines.size())
                byte(13);
        }
        return byte(0);
    }
    Bytes &raw(const QByteArray &b)
    {
        data.append(b);
        return *this;
    }
};

class ReportLibraryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fr().resetForTests();
        fr().start();
        ASSERT_TRUE(m_dir.isValid());
    }
    void TearDown() override { fr().resetForTests(); }
    QString tempPath(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

} // namespace report::test
