#include "manager/core/majuscules.h"

QString Majuscules1252(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        const ushort u = c.unicode();
        if (u >= 'a' && u <= 'z')
            c = QChar(ushort(u - 0x20));
        else if (u >= 0xE0 && u <= 0xFE && u != 0xF7)
            c = QChar(ushort(u - 0x20));
        else if (u == 0x0153) // œ
            c = QChar(0x0152);
        else if (u == 0x0161) // š
            c = QChar(0x0160);
        else if (u == 0x017E) // ž
            c = QChar(0x017D);
        else if (u == 0xFF) // ÿ
            c = QChar(0x0178);
    }
    return out;
}
