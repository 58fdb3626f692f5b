#pragma once
// The about box: version, author, contact address with its mail link, and
// the history of versions that "Historique" scrolls upward.
#include "platform/forms/form.h"
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QWidget;

class TApropos : public platform::TForm
{
    Q_OBJECT

public:
    explicit TApropos(QWidget *parent = nullptr);
    ~TApropos() override;

    QLabel *Image2;
    QLabel *nom;
    QLabel *Label1;
    QLabel *Version;
    QLabel *Label2;
    QLabel *Label3;
    QPlainTextEdit *Memo1;
    QPushButton *Button1;
    QWidget *Panel1;
    QWidget *PaintBox1;

    void FormCreate();
    void Button1Click();
    void Label3Click();
    void Label3MouseEnter();
    void Label3MouseLeave();

    const QStringList &historique() const { return m_historique; }
    // The scroll: steps in all, the step shown, and whether it runs.
    int pasTotal() const { return m_pasTotal; }
    int pas() const { return m_pas; }
    int hauteurLigne() const { return m_hauteurLigne; }
    bool defilementEnCours() const;
    // Moves the scroll one step on, as its timer does.
    void pasSuivant();
    // The end of the wait after the last step: the panel goes.
    void finDefilement();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    friend class PaintBoxApropos;
    void arreteDefilement();

    QStringList m_historique;
    int m_hauteurLigne = 0;
    int m_pasTotal = 0;
    int m_pas = 0;
    QTimer *m_pasTimer;
    QTimer *m_attente;
};
