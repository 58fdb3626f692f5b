#pragma once
// The rules behind the designer's small dialogs that hold no widget: where a
// picture lies in a preview box, where templates are found, how the options
// and restriction boxes map to their values, and the text a field dragged
// from the DB fields window carries.
#include "report/objects/frpictureview.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace report
{
class TfrView;
}

namespace designer
{

class DesignerCore;
class DesignerState;

// The rectangle a picture of that size takes in a preview box: centred when
// it fits (halves rounded toward zero), stretched over the box otherwise;
// empty for an empty picture. A picture of unknown size fills the box.
QRect picturePreviewRect(const QSize &box, const QSize &picture);

// A picture file read whole: nothing when no reader takes it (unknown or
// damaged format, a size beyond the image allocation limit, an empty file),
// so the caller keeps its picture untouched; EFileError, with its reason,
// for a file that cannot be read (a folder, a pipe, a file too large).
std::optional<report::FrPicture> readPictureFile(const QString &path);
// The same over a file's bytes.
std::optional<report::FrPicture> readPictureData(const QByteArray &bytes);

// The folder new reports are made from: the library's template folder
// setting, else the program's folder; "/"-separated with a trailing "/".
QString templateFolder();

struct TemplateEntry {
    QString caption;  // the file name without its extension
    QString fileName; // the full name of the file as it lies in the folder
};
// The template files of a folder (names ending in ".frt" in any letter
// case, files only), sorted by caption.
std::vector<TemplateEntry> listTemplates(const QString &folder);

// Radio rows of the options dialog: grid size 4, 8, 18 and page position
// centre (5), left (3), right (4); a value of neither list takes row 0.
int gridSizeRow(int gridSize);
int gridSizeOfRow(int row);
int pagePositionRow(int position);
int pagePositionOfRow(int row);

// The seven boxes of the restrictions dialog, in order, and their bits.
constexpr std::array<quint16, 7> kRestrictionBits{1, 2, 4, 8, 16, 32, 64};
using RestrictionBoxes = std::array<bool, 7>;
RestrictionBoxes restrictionBoxes(quint16 restrictions);
// The word with the seven bits set from the boxes, other bits kept.
quint16 withRestrictionBoxes(quint16 restrictions, const RestrictionBoxes &boxes);
// The object the dialog is filled from: the top-most selected one on the
// current page, else the object the editor was opened on.
report::TfrView *restrictionsSource(const DesignerState &state, report::TfrView *openedOn);
// Writes the boxes into every selected object (or only the object the
// editor was opened on when nothing is selected), as one undo entry.
void applyRestrictions(DesignerCore &core, report::TfrView *openedOn,
                       const RestrictionBoxes &boxes);

// The text a dragged entry of the DB fields window carries: the variable's
// bare name, or data set + "." + the field name in double quotes.
QString dbFieldText(const QString &dataSet, const QString &entry, bool variable);

} // namespace designer
