#pragma once
// The texts a view draws, as drawn: a label the view had to shorten comes
// with its "..." or "…", so tests can tell whole labels from cut ones.
#include <QString>
#include <QStringList>

class QGraphicsView;

namespace vorn_test
{

// Every text the view's scene draws over the view's visible area with a
// visible pen.
QStringList drawnTexts(QGraphicsView *view);

// True when the text was shortened to fit ("...", "…").
bool isElided(const QString &text);

} // namespace vorn_test
