#pragma once
// The designer's small modal dialogs: picture editor, the two template
// dialogs, designer options, insert fields, object restrictions and the
// about box. Each is filled from plain values and hands plain values back;
// designer/ui/dialogparts.cpp connects them to the designer window.
#include "designer/core/dialogrules.h"
#include "designer/core/requestslots.h"
#include "report/objects/frpictureview.h"
#include "report/ui/frdialogform.h"

#include <QDialog>
#include <QImage>
#include <QStringList>
#include <QWidget>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;

namespace report
{
class TfrReport;
class TfrView;
} // namespace report

namespace designer
{

// A box showing a picture (centred when it fits, stretched otherwise) on the
// window colour; metafiles show a framed placeholder.
class TfrPicturePreview : public QWidget
{
    Q_OBJECT
public:
    explicit TfrPicturePreview(QWidget *parent);
    const report::FrPicture *picture = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A plain image drawn centred in its box (template pictures).
class TfrCentredImage : public QWidget
{
    Q_OBJECT
public:
    explicit TfrCentredImage(QWidget *parent);
    void setImage(const QImage &image);
    const QImage &image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
};

class TfrGEditorForm : public report::TfrObjEditorForm
{
    Q_OBJECT
public:
    explicit TfrGEditorForm(QWidget *parent = nullptr);
    // Edits the picture of a picture object; on OK the open designer is told
    // before the object takes the working copy.
    int ShowEditor(report::TfrView &view) override;

    // The working copy.
    report::FrPicture Image1;
    TfrPicturePreview *PB1;
    QScrollArea *ScrollBox1;
    QPushButton *Button3; // open
    QPushButton *Button4; // clear
    QPushButton *Button1; // OK
    QPushButton *Button2; // Cancel

    void loadPicture();
    void clearPicture();
    // The clipboard's image, when it holds one.
    void pastePicture();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool handleKey(QKeyEvent *event);
};

class TfrTemplNewForm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrTemplNewForm(QWidget *parent = nullptr);
    NewTemplateChoice choice() const;

    QLabel *Label1;
    QPlainTextEdit *Memo1;
    QGroupBox *GroupBox1;
    TfrCentredImage *Image1;
    QPushButton *Button3; // file
    QPushButton *Button1;
    QPushButton *Button2;

    void loadBitmap();

protected:
    void showEvent(QShowEvent *event) override;
};

class TfrTemplForm : public QDialog
{
    Q_OBJECT
public:
    // report: the designer's report, which reads the templates' headers.
    TfrTemplForm(report::TfrReport *report, QWidget *parent = nullptr);

    QListWidget *LB1;
    QGroupBox *GroupBox1;
    QPlainTextEdit *Memo1;
    TfrCentredImage *Image1;
    QPushButton *Button1;
    QPushButton *Button2;
    // The chosen template's full file name (after OK).
    QString TemplName;
    QString folder() const { return m_folder; }

    // Lists the templates of the folder again.
    void fill();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void itemChosen();
    report::TfrReport *m_report;
    QString m_folder;
    std::vector<TemplateEntry> m_entries;
};

class TfrDesOptionsForm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrDesOptionsForm(QWidget *parent = nullptr);

    void setChoice(const DesignerOptionsChoice &choice);
    DesignerOptionsChoice choice() const;

    QTabWidget *PageControl1;
    QWidget *Tab1, *Tab2;
    QGroupBox *GroupBox1, *GroupBox2, *GroupBox3, *GroupBox4, *GroupBox5, *GroupBox6, *GroupBox7,
        *GroupBox8;
    QCheckBox *CB1, *CB2, *CB3, *CB4, *CB5, *CB6, *CB7;
    QLabel *Label1;
    QRadioButton *RB1, *RB2, *RB3, *RB6, *RB7, *RB8, *RB9, *RB10, *RB11;
    QRadioButton *ERB1, *ERB2;
    QLabel *Label2, *Label3, *Label4, *Label5;
    QComboBox *TextFontNameCB, *TextFontSizeCB, *ScriptFontNameCB, *ScriptFontSizeCB;
    QLabel *SampleTextPanel, *SampleScriptPanel;
    QPushButton *Button1, *Button2;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void enableFontControls();
    void updateSamples();
    bool m_fontsWritten = false;
};

class TfrInsertFieldsForm : public QDialog
{
    Q_OBJECT
public:
    TfrInsertFieldsForm(report::TfrReport *report, QWidget *parent = nullptr);
    InsertFieldsChoice choice() const;

    QLabel *Label1;
    QComboBox *DatasetCB;
    QListWidget *FieldsL;
    QGroupBox *GroupBox1;
    QRadioButton *HorzRB, *VertRB;
    QCheckBox *HeaderCB, *BandCB;
    QPushButton *Button1, *Button2;
    // The data set behind the chosen entry.
    report::FrDataSet *DataSet = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void dataSetChosen();
    report::TfrReport *m_report;
};

class TfrRestrictionsForm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrRestrictionsForm(QWidget *parent = nullptr);
    void setBoxes(const RestrictionBoxes &boxes);
    RestrictionBoxes boxes() const;

    std::array<QCheckBox *, 7> Boxes{}; // CB1, CB2, Cb3, CB4, CB5, CB6, CB7
    QPushButton *Button1, *Button2;
};

class TfrAboutForm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrAboutForm(QWidget *parent = nullptr);
    QWidget *PaintBox1;
    QLabel *Label1;
    QPushButton *Button1;
};

// The open dialog filter of pictures and of bitmaps.
QString pictureFileFilter();
QString bitmapFileFilter();
// Shows "Format d'image non reconnu." captioned "Erreur".
void showPictureError();
// The about box's picture (ours), drawn once.
QImage aboutPicture();

} // namespace designer
