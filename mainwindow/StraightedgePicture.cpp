#include "mainwindow/StraightedgePicture.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zlm {

QPixmap DrawStraightedgePicture(const QSize& size)
{
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    const double w = size.width();
    const double h = size.height();

    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);

    // Sky fading into the pavement.
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0.0, QColor(214, 230, 245));
    sky.setColorAt(1.0, QColor(245, 248, 252));
    painter.setPen(Qt::NoPen);
    painter.setBrush(sky);
    painter.drawRoundedRect(QRectF(0, 0, w, h), h * 0.08, h * 0.08);

    // The road profile: two crests with a sag between them.
    auto surface = [&](double x) {
        const double t = x / w;
        return h * (0.55 + 0.10 * std::cos(t * 2.0 * std::numbers::pi * 1.5) +
                    0.03 * std::sin(t * 2.0 * std::numbers::pi * 5.0));
    };
    QPainterPath road;
    road.moveTo(0, h);
    for (int i = 0; i <= 96; ++i) {
        const double x = w * i / 96.0;
        road.lineTo(x, surface(x));
    }
    road.lineTo(w, h);
    road.closeSubpath();
    painter.setBrush(QColor(70, 70, 78));
    painter.drawPath(road);

    // The straightedge bridging the sag between the crests.
    double left = 0.0;
    double right = w;
    for (int i = 0; i <= 96; ++i) {
        const double x = w * i / 96.0;
        if (x < w * 0.5 && surface(x) < surface(left)) {
            left = x;
        }
        if (x >= w * 0.5 && surface(x) <= surface(right)) {
            right = x;
        }
    }
    const double yLeft = surface(left) - h * 0.03;
    const double yRight = surface(right) - h * 0.03;
    painter.setPen(QPen(QColor(230, 180, 20), std::max(2.0, h * 0.06), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(left - w * 0.05, yLeft), QPointF(right + w * 0.05, yRight));

    // The gap, measured at the deepest point of the sag.
    double deepest = left;
    for (int i = 0; i <= 96; ++i) {
        const double x = w * i / 96.0;
        if (x > left && x < right && surface(x) > surface(deepest)) {
            deepest = x;
        }
    }
    const double yEdge = yLeft + (yRight - yLeft) * (deepest - left) / std::max(right - left, 1.0);
    painter.setPen(QPen(QColor(210, 40, 40), std::max(1.0, h * 0.03)));
    painter.drawLine(QPointF(deepest, yEdge + h * 0.04), QPointF(deepest, surface(deepest) - h * 0.01));
    painter.end();
    return picture;
}

} // namespace zlm
