#pragma once
// The chart object's editor: its kind as six grouped buttons, its options,
// the memos it reads, the top-N group and the style of its marks.
#include "report/ui/frdialogform.h"

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace report
{

class TfrChartView;
class TfrSpeedButton;

class TfrChartForm : public TfrObjEditorForm
{
    Q_OBJECT
public:
    explicit TfrChartForm(QWidget *parent = nullptr);
    // Shows the view's chart; on OK writes it back. Answers the modal result.
    int ShowEditor(TfrView &view) override;

    // Fills the form from the chart, and back; Apply is false (nothing
    // changed) when the top count is not a whole number.
    void Load(const TfrChartView &view);
    bool Apply(TfrChartView &view);

    QTabWidget *Pages = nullptr;
    QGroupBox *GroupType = nullptr, *GroupOptions = nullptr, *GroupObjects = nullptr,
              *GroupTop = nullptr, *GroupStyle = nullptr;
    std::array<TfrSpeedButton *, 6> KindButtons{};
    QCheckBox *CB1 = nullptr, *CB2 = nullptr, *CB3 = nullptr, *CB4 = nullptr, *CB5 = nullptr,
              *CB6 = nullptr;
    QLineEdit *E1 = nullptr, *E2 = nullptr, *E3 = nullptr, *E4 = nullptr;
    QLabel *LabelTop = nullptr, *LabelTopUnit = nullptr, *LabelOthers = nullptr,
           *LabelLabels = nullptr, *LabelValues = nullptr;
    std::array<QRadioButton *, 5> MarkButtons{};
    QPushButton *OkBtn = nullptr, *CancelBtn = nullptr;

private:
    void setTexts();
    TfrChartView *m_view = nullptr;
};

// The chart object's editor from now on (created on first use).
void frInstallChartEditor();

} // namespace report
