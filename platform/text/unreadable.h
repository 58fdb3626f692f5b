#pragma once
// Why a file cannot be read, said to the user after the reader's own message.
#include <QString>

namespace platform
{

// What the name stands for when it is no file to read ("C'est un dossier,
// pas un fichier."), or that it is missing or may not be read; an empty
// text when it is a file this user may read (the read itself failed).
QString unreadableReason(const QString &path);

} // namespace platform
