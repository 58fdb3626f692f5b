#include "platform/dialogs/dialogs.h"

#include "platform/canvas/colors.h"
#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "platform/text/linefile.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace platform
{

namespace
{

// Each file type of a "Description|pattern|..." filter: the text the dialog
// shows, and its patterns blank-separated.
QList<std::pair<QString, QString>> fileTypes(const QString &filter)
{
    static const QRegularExpression brackets(QStringLiteral("\\([^()]*\\)"));
    QList<std::pair<QString, QString>> types;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        QStringList list = parts.at(i + 1).split(QLatin1Char(';'));
        for (QString &p : list)
            p = p.trimmed();
        list.removeAll(QString());
        const QString patterns = list.join(QLatin1Char(' '));
        // The program's description is shown as written where it says what
        // it takes in brackets of its own ("au groupe (*.chr)", even
        // "Ventilation PP et PE (*.)"); a bare one ("Tous") gets its patterns.
        types.append(
            {description.contains(brackets)
                 ? description
                 : (description + QLatin1String(" (") + patterns + QLatin1Char(')')).trimmed(),
             patterns});
    }
    return types;
}

QString displayText(QString text)
{
    // Messages separate their lines with CR alone, as the platform's boxes
    // accepted; Qt wants line feeds.
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

struct ButtonMap {
    MsgDlgBtn button;
    QMessageBox::StandardButton standard;
    ModalResult result;
};

const ButtonMap kButtons[] = {
    {mbYes, QMessageBox::Yes, mrYes},
    {mbNo, QMessageBox::No, mrNo},
    {mbOK, QMessageBox::Ok, mrOk},
    {mbCancel, QMessageBox::Cancel, mrCancel},
    {mbAbort, QMessageBox::Abort, mrAbort},
    {mbRetry, QMessageBox::Retry, mrRetry},
    {mbIgnore, QMessageBox::Ignore, mrIgnore},
    {mbAll, QMessageBox::NoButton, mrAll},
    {mbNoToAll, QMessageBox::NoToAll, mrNoToAll},
    {mbYesToAll, QMessageBox::YesToAll, mrYesToAll},
    {mbHelp, QMessageBox::Help, mrNone},
};

// The answer when the box is closed without a button: its cancel button's.
int escapeResult(MsgDlgButtons buttons)
{
    if (buttons & mbCancel)
        return mrCancel;
    if (buttons & mbNo)
        return mrNo;
    if (buttons & mbOK)
        return mrOk;
    return mrCancel;
}

class QtDialogs : public Dialogs
{
public:
    int message(const MessageRequest &request, QWidget *parent) override
    {
        QMessageBox box(parent);
        box.setWindowTitle(request.caption.isEmpty() ? messageCaption(request.type)
                                                     : request.caption);
        box.setText(displayText(request.text));
        box.setTextFormat(Qt::PlainText);
        switch (request.type) {
        case mtWarning:
            box.setIcon(QMessageBox::Warning);
            break;
        case mtError:
            box.setIcon(QMessageBox::Critical);
            break;
        case mtInformation:
            box.setIcon(QMessageBox::Information);
            break;
        case mtConfirmation:
            box.setIcon(QMessageBox::Question);
            break;
        case mtCustom:
            break;
        }
        MsgDlgButtons buttons = request.buttons ? request.buttons : MsgDlgButtons(mbOK);
        QList<std::pair<QAbstractButton *, int>> made;
        for (const ButtonMap &b : kButtons) {
            if (!(buttons & b.button))
                continue;
            QAbstractButton *button = nullptr;
            if (b.standard != QMessageBox::NoButton)
                button = box.addButton(b.standard);
            else
                button = box.addButton(QStringLiteral("&Tout"), QMessageBox::AcceptRole);
            made.append({button, b.result});
        }
        // Default: the one asked for, else OK, else Yes, else Retry, as the
        // platform chose.
        for (const ButtonMap &b : kButtons)
            if ((request.defaultButton & buttons & b.button) && b.standard != QMessageBox::NoButton)
                box.setDefaultButton(b.standard);
        for (MsgDlgBtn preferred : {mbOK, mbYes, mbRetry}) {
            if (request.defaultButton & buttons)
                break;
            if (!(buttons & preferred))
                continue;
            for (const ButtonMap &b : kButtons)
                if (b.button == preferred)
                    box.setDefaultButton(b.standard);
            break;
        }
        if (!request.extraButton.isEmpty()) {
            QPushButton *extra = box.addButton(request.extraButton, QMessageBox::RejectRole);
            made.append({extra, mrExtra});
            box.setEscapeButton(extra);
        }
        box.exec();
        QAbstractButton *clicked = box.clickedButton();
        for (const auto &[button, result] : made)
            if (button == clicked)
                return result;
        return escapeResult(buttons);
    }

    std::optional<FileAnswer> openFile(const FileRequest &request, QWidget *parent) override
    {
        return run(request, parent, QFileDialog::AcceptOpen);
    }

    std::optional<FileAnswer> saveFile(const FileRequest &request, QWidget *parent) override
    {
        return run(request, parent, QFileDialog::AcceptSave);
    }

    std::optional<QString> selectDirectory(const QString &caption, const QString &root,
                                           QWidget *parent) override
    {
        QString dir = QFileDialog::getExistingDirectory(parent, caption, root);
        if (dir.isEmpty())
            return std::nullopt;
        while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
            dir.chop(1);
        return dir;
    }

    std::optional<QString> inputText(const QString &caption, const QString &prompt,
                                     const QString &text, QWidget *parent) override
    {
        bool ok = false;
        QString typed =
            QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, text, &ok);
        if (!ok)
            return std::nullopt;
        return typed;
    }

    InputBoxAnswer inputBox(const InputBoxRequest &request, QWidget *parent) override
    {
        if (request.extraButton.isEmpty())
            return Dialogs::inputBox(request, parent);
        QDialog dialog(parent);
        dialog.setWindowTitle(request.caption);
        auto *prompt = new QLabel(request.prompt, &dialog);
        auto *edit = new QLineEdit(request.text, &dialog);
        auto *buttons =
            new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
        QPushButton *extra = buttons->addButton(request.extraButton, QDialogButtonBox::ActionRole);
        auto *layout = new QVBoxLayout(&dialog);
        layout->addWidget(prompt);
        layout->addWidget(edit);
        layout->addWidget(buttons);
        // Escape and the close button reject the dialog: they answer as the
        // caller's own button does, "Annuler" is an answer of its own.
        constexpr int typed = 1, cancelled = 2;
        QObject::connect(buttons->button(QDialogButtonBox::Ok), &QPushButton::clicked, &dialog,
                         handler([&dialog] { dialog.done(typed); }));
        QObject::connect(buttons->button(QDialogButtonBox::Cancel), &QPushButton::clicked, &dialog,
                         handler([&dialog] { dialog.done(cancelled); }));
        QObject::connect(extra, &QPushButton::clicked, &dialog,
                         handler([&dialog] { dialog.reject(); }));
        switch (dialog.exec()) {
        case typed:
            return {edit->text(), false};
        case cancelled:
            return {std::nullopt, false};
        default:
            return {std::nullopt, true};
        }
    }

    std::optional<std::int32_t> chooseColor(std::int32_t start, QWidget *parent) override
    {
        QColorDialog dialog(toQColor(start == clNone ? clBlack : start), parent);
        // Opened in full: the custom colour part is shown at once.
        dialog.setOptions(QColorDialog::DontUseNativeDialog);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return fromQColor(dialog.selectedColor());
    }

    std::optional<FontChoice> chooseFont(const FontChoice &start, QWidget *parent) override
    {
        QFont font(start.name);
        font.setPointSize(std::max(1, start.size));
        font.setBold(start.bold);
        font.setItalic(start.italic);
        font.setUnderline(start.underline);
        font.setStrikeOut(start.strikeOut);
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, font, parent);
        if (!ok)
            return std::nullopt;
        FontChoice answer;
        answer.name = chosen.family();
        answer.size = chosen.pointSize();
        answer.bold = chosen.bold();
        answer.italic = chosen.italic();
        answer.underline = chosen.underline();
        answer.strikeOut = chosen.strikeOut();
        return answer;
    }

private:
    std::optional<FileAnswer> run(const FileRequest &request, QWidget *parent,
                                  QFileDialog::AcceptMode mode)
    {
        QFileDialog dialog(parent, request.title);
        dialog.setAcceptMode(mode);
        if (mode == QFileDialog::AcceptOpen)
            dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles
                                                   : QFileDialog::ExistingFile);
        else
            dialog.setFileMode(QFileDialog::AnyFile);
        if (!request.overwritePrompt)
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        // Qt takes a type's patterns from the last brackets of its name
        // filter and, told to hide them, shows the text before them: each
        // type shows its description and its patterns once.
        const QStringList filters = qtNameFilters(request.filter);
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        if (!filters.isEmpty()) {
            dialog.setNameFilters(filters);
            const int index = qBound(1, request.filterIndex, int(filters.size()));
            dialog.selectNameFilter(filters.at(index - 1));
        }
        if (!request.defaultExt.isEmpty())
            dialog.setDefaultSuffix(request.defaultExt);
        QString start = request.initialDir;
        QFileInfo proposed(request.fileName);
        if (!request.fileName.isEmpty() && proposed.isAbsolute() && start.isEmpty())
            start = proposed.absolutePath();
        if (!start.isEmpty())
            dialog.setDirectory(start);
        if (!request.fileName.isEmpty())
            dialog.selectFile(proposed.fileName());
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        FileAnswer answer;
        answer.files = dialog.selectedFiles();
        // The filter chosen comes back as shown, or whole.
        const QString chosen = dialog.selectedNameFilter();
        QStringList shown;
        for (const auto &type : fileTypes(request.filter))
            shown.append(type.first);
        answer.filterIndex =
            int(shown.contains(chosen) ? shown.indexOf(chosen) : filters.indexOf(chosen)) + 1;
        if (answer.filterIndex < 1)
            answer.filterIndex = 1;
        return answer;
    }
};

std::unique_ptr<Dialogs> &currentDialogs()
{
    static std::unique_ptr<Dialogs> dialogs = std::make_unique<QtDialogs>();
    return dialogs;
}

} // namespace

Dialogs &dialogs()
{
    return *currentDialogs();
}

std::unique_ptr<Dialogs> setDialogs(std::unique_ptr<Dialogs> dialogs)
{
    if (!dialogs)
        dialogs = std::make_unique<QtDialogs>();
    currentDialogs().swap(dialogs);
    return dialogs;
}

QString messageCaption(MsgDlgType type)
{
    switch (type) {
    case mtWarning:
        return QStringLiteral("Avertissement");
    case mtError:
        return QStringLiteral("Erreur");
    case mtInformation:
        return QStringLiteral("Information");
    case mtConfirmation:
        return QStringLiteral("Confirmation");
    case mtCustom:
        break;
    }
    return ApplicationTitle();
}

int MessageDlgWithCaption(const QString &caption, const QString &text, MsgDlgType type,
                          MsgDlgButtons buttons)
{
    ModalScope scope;
    return dialogs().message({text, type, buttons, caption}, scope.parentWidget());
}

int MessageDlg(const QString &text, MsgDlgType type, MsgDlgButtons buttons, int)
{
    return MessageDlgWithCaption(QString(), text, type, buttons);
}

void ShowMessage(const QString &text)
{
    MessageDlgWithCaption(ApplicationTitle(), text, mtCustom, mbOK);
}

QString InputBox(const QString &caption, const QString &prompt, const QString &defaultText)
{
    ModalScope scope;
    std::optional<QString> typed =
        dialogs().inputText(caption, prompt, defaultText, scope.parentWidget());
    return typed ? *typed : defaultText;
}

int MessageDlgWithExtra(const MessageRequest &request)
{
    ModalScope scope;
    return dialogs().message(request, scope.parentWidget());
}

InputBoxAnswer InputBoxWithExtra(const InputBoxRequest &request)
{
    ModalScope scope;
    return dialogs().inputBox(request, scope.parentWidget());
}

bool SelectDirectory(const QString &caption, const QString &root, QString &directory)
{
    ModalScope scope;
    std::optional<QString> chosen = dialogs().selectDirectory(caption, root, scope.parentWidget());
    if (!chosen)
        return false;
    directory = *chosen;
    return true;
}

FileRequest TOpenDialog::request() const
{
    FileRequest r;
    r.title = Title;
    r.filter = Filter;
    r.filterIndex = FilterIndex;
    r.fileName = FileName;
    r.initialDir = InitialDir;
    r.defaultExt = DefaultExt;
    r.multiSelect = MultiSelect;
    return r;
}

void TOpenDialog::take(const FileAnswer &answer)
{
    Files = answer.files;
    FileName = answer.files.value(0);
    FilterIndex = answer.filterIndex;
}

bool TOpenDialog::Execute()
{
    ModalScope scope(m_owner);
    std::optional<FileAnswer> answer = dialogs().openFile(request(), scope.parentWidget());
    if (!answer || answer->files.isEmpty())
        return false;
    take(*answer);
    return true;
}

QString overwriteQuestion(const QString &fileName)
{
    return QStringLiteral("Le fichier %1 existe déjà\nVoulez-vous l'écraser ?").arg(fileName);
}

namespace
{

bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return fa.absoluteFilePath() == fb.absoluteFilePath();
}

} // namespace

bool TSaveDialog::Execute()
{
    ModalScope scope(m_owner);
    // The question is asked here rather than by the dialog: the file is
    // written under the name it already has in another letter case, and the
    // window's own file is saved again without a question.
    FileRequest r = request();
    for (;;) {
        std::optional<FileAnswer> answer = dialogs().saveFile(r, scope.parentWidget());
        if (!answer || answer->files.isEmpty())
            return false;
        const QString chosen = answer->files.first();
        const QString existing =
            LineFile::resolve(WrittenName ? WrittenName(chosen, answer->filterIndex) : chosen);
        if (OverwritePrompt && QFileInfo(existing).isFile() &&
            (CurrentFile.isEmpty() || !sameFile(existing, LineFile::resolve(CurrentFile)))) {
            const QString caption =
                r.title.isEmpty() ? QStringLiteral("Enregistrer sous") : r.title;
            // "Non" by default, as the file dialogs ask: Enter keeps the file.
            if (dialogs().message({overwriteQuestion(QFileInfo(existing).fileName()), mtWarning,
                                   mbYes | mbNo, caption, mbNo},
                                  scope.parentWidget()) != mrYes) {
                // Back to the dialog, on the name chosen.
                r.fileName = chosen;
                r.filterIndex = answer->filterIndex;
                continue;
            }
        }
        take(*answer);
        return true;
    }
}

QStringList qtNameFilters(const QString &filter)
{
    QStringList result;
    for (const auto &[shown, patterns] : fileTypes(filter))
        result.append(shown + QLatin1String(" (") + patterns + QLatin1Char(')'));
    return result;
}

QStringList filterPatterns(const QString &filter, int index)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    const qsizetype at = qsizetype(index) * 2 - 1;
    if (index < 1 || at >= parts.size())
        return {};
    QStringList patterns = parts.at(at).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString &p : patterns)
        p = p.trimmed();
    return patterns;
}

} // namespace platform
