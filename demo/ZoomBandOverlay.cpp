#include "ZoomBandOverlay.h"

#include <QEvent>
#include <QPainter>
#include <QPen>

namespace orvex::demo {

TZoomBandOverlay::TZoomBandOverlay(QWidget* Surface) : QWidget(Surface)
{
    setObjectName(QStringLiteral("ZoomBand"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(Surface->rect());
    Surface->installEventFilter(this);
    raise();
}

void TZoomBandOverlay::ShowOutline(int X1, int Y1, int X2, int Y2)
{
    const QRect previous = outline_.normalized();
    outline_ = QRect(QPoint(X1, Y1), QPoint(X2, Y2));
    // Only the two outlines' areas are painted again.
    if (shown_)
        update(previous.adjusted(-1, -1, 1, 1));
    shown_ = true;
    raise();
    update(outline_.normalized().adjusted(-1, -1, 1, 1));
}

void TZoomBandOverlay::HideOutline()
{
    if (!shown_)
        return;
    shown_ = false;
    update(outline_.normalized().adjusted(-1, -1, 1, 1));
}

void TZoomBandOverlay::paintEvent(QPaintEvent*)
{
    if (!shown_)
        return;
    QPainter painter(this);
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
    // Corner to corner inclusive, whichever way the mouse went.
    painter.drawRect(QRectF(outline_.normalized().topLeft(), outline_.normalized().bottomRight()));
}

bool TZoomBandOverlay::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == parentWidget() && Event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(Watched, Event);
}

} // namespace orvex::demo
