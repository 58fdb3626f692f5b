#include "designer/core/surfacerenderer.h"

#include "designer/core/designerstate.h"

#include <QPainter>

namespace designer
{

SurfaceRenderer::SurfaceRenderer(DesignerState &state) : m_state(state) {}
QRect SurfaceRenderer::layout(int, int) const { return {}; }
QSize SurfaceRenderer::surfaceSize() const { return {}; }
void SurfaceRenderer::Draw(int, std::optional<QRegion>) {}
void SurfaceRenderer::drawSelection(int) {}
void SurfaceRenderer::xorRect(const QRect &) {}
void SurfaceRenderer::xorLine(const QRect &) {}
void SurfaceRenderer::rubberLine(const QRect &) {}
void SurfaceRenderer::paint(QPainter &, const QRegion &) const {}
void SurfaceRenderer::invalidate() {}
void SurfaceRenderer::toggle(const XorMark &) {}

} // namespace designer
