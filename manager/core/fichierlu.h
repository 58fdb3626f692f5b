#pragma once
// A file a window holds a copy of, and rewrites whole from that copy: noted
// when read or written, looked at again before it is written over, so that
// a change made on disk meanwhile (another program, a restored copy) is never
// replaced by what the window held before it.
#include "platform/text/exceptions.h"

#include <QHash>
#include <QString>

// What tells a file a window read from the same file rewritten since: its
// identity, size and time of change; empty when it is not there.
QString empreinteFichier(const QString &chemin);

// The refusal of a write over a file changed since it was read.
class EFichierChange : public platform::EFileError
{
public:
    explicit EFichierChange(const QString &chemin);
    const QString &chemin() const { return m_chemin; }

private:
    QString m_chemin;
};

class FichierLu
{
public:
    // The file as it is now on disk is the one the copy holds (just read or
    // just written).
    void noter(const QString &chemin);
    void oublier() { *this = FichierLu(); }
    const QString &chemin() const { return m_chemin; }
    bool note() const { return !m_chemin.isEmpty(); }
    // The file noted is no longer the one noted; false when none is noted.
    bool change() const;
    // Throws EFichierChange when the file at chemin is the one noted and has
    // changed since: nothing may then be written over it.
    void verifier(const QString &chemin) const;
    void verifier() const { verifier(m_chemin); }

private:
    QString m_chemin;
    QString m_empreinte;
};

// The same for a window that holds several files (a group's lists, tables
// and match sheets): each noted by its path when read or written.
class FichiersLus
{
public:
    void noter(const QString &chemin);
    // The same with what empreinteFichier gave just before the file was read.
    void noter(const QString &chemin, const QString &empreinte);
    void oublier() { m_empreintes.clear(); }
    // Throws EFichierChange when chemin was noted and has changed since; a
    // file never noted has nothing of the window's to be written over.
    void verifier(const QString &chemin) const;

private:
    QHash<QString, QString> m_empreintes;
};
