#pragma once
// Shared set-up of the report file fuzz targets: a fresh library, a
// fixed-advance measurer and message boxes that answer without showing; the
// add-in objects a program registers, for the targets that read templates.
#include "platform/canvas/textmeasurer.h"
#include "platform/dialogs/dialogs.h"
#include "report/core/frlibrary.h"
#include "report/objects/frchartview.h"
#include "report/objects/frcheckboxview.h"
#include "report/objects/frdialogcontrols.h"
#include "report/objects/frglobals.h"

#include <QApplication>
#include <QLineEdit>
#include <memory>

namespace report::fuzz
{

// The file a save dialog answers; none (the default) cancels it.
inline QString &savedFileAnswer()
{
    static QString name;
    return name;
}

class SilentDialogs : public platform::Dialogs
{
public:
    int message(const platform::MessageRequest &, QWidget *) override { return platform::mrOk; }
    std::optional<platform::FileAnswer> openFile(const platform::FileRequest &, QWidget *) override
    {
        return std::nullopt;
    }
    std::optional<platform::FileAnswer> saveFile(const platform::FileRequest &, QWidget *) override
    {
        if (savedFileAnswer().isEmpty())
            return std::nullopt;
        return platform::FileAnswer{{savedFileAnswer()}, 1};
    }
    std::optional<QString> selectDirectory(const QString &, const QString &, QWidget *) override
    {
        return std::nullopt;
    }
    std::optional<QString> inputText(const QString &, const QString &, const QString &,
                                     QWidget *) override
    {
        return std::nullopt;
    }
};

inline void freshLibrary()
{
    static platform::FixedAdvanceMeasurer measurer(7, 4);
    static bool installed = false;
    if (!installed) {
        platform::setDialogs(std::make_unique<SilentDialogs>());
        installed = true;
    }
    fr().resetForTests();
    fr().start();
    frObjects().setMeasurer(&measurer);
}

// A dialog control as the concrete ones are made: a widget of the dialog
// form, which the object paints and places.
class EditControl : public TfrControl
{
public:
    EditControl()
    {
        BaseName = QStringLiteral("Edit");
        auto *edit = new QLineEdit(frObjects().frDialogForm());
        edit->setText(QStringLiteral("Saisie"));
        Control = edit;
    }
    std::unique_ptr<TfrView> Create() const override { return std::make_unique<EditControl>(); }
    QString ClassName() const override { return QStringLiteral("TfrEditControl"); }
};

// The check box, the chart and a dialog control, registered after
// freshLibrary() as a program registers its add-ins; controls are widgets,
// so the application is made once.
inline void registerAddIns()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    if (!QApplication::instance())
        new QApplication(argc, argv);
    frRegisterCheckBoxView();
    frRegisterChartView();
    frRegisterObject(
        QStringLiteral("TfrEditControl"), [] { return std::make_unique<EditControl>(); }, QImage(),
        QStringLiteral("Edit"));
}

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

} // namespace report::fuzz
