#pragma once
// The alignment palette: lines up, centres and spaces the selected objects
// of the current page, or packs the objects of a selected band in a row.
namespace designer
{

class DesignerCore;

class AlignCommands
{
public:
    explicit AlignCommands(DesignerCore &core) : m_core(core) {}

    // Runs palette button n (1..10); false when it changed nothing (too few
    // objects selected, moving forbidden, n out of range).
    bool run(int n);

private:
    bool rowAlongBand(bool fromRight);
    DesignerCore &m_core;
};

} // namespace designer
