#pragma once
// A horizontal or vertical line: one frame edge of a rectangle of zero
// thickness, able to stretch with its band.
#include "report/objects/frview.h"

namespace report
{

class TfrLineView : public TfrStretcheable
{
public:
    TfrLineView();
    std::unique_ptr<TfrView> Create() const override { return std::make_unique<TfrLineView>(); }
    void DefinePropertyList() override;
    void Draw(platform::Canvas &canvas) override;
    void WriteToPreparedPage(FrStream &stream) override;
    QRegion GetClipRegion(bool inflate) override;
    int ContentHeight() override;
    int MinSplitHeight() override { return 1; }
    int HeightLeftToPrint() override { return RemainingHeight; }
    QString ClassName() const override { return QStringLiteral("TfrLineView"); }

    // Horizontal when wider than high: height 0 and top edge; otherwise width
    // 0 and left edge. The change stays in the object.
    void Orient();

    qint32 RemainingHeight = 0;
};

} // namespace report
