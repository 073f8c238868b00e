// Branches of shaded bark, painted pixel by pixel along a curved centreline so
// the light, the furrows and the knots follow the wood's round surface.
#pragma once

#include <QImage>
#include <QPointF>

#include <cstdint>
#include <vector>

namespace skingen {

struct Branch {
    QPointF from, control1, control2, to; // a cubic centreline
    float startRadius, endRadius;
    std::uint32_t seed;
};

// A point on the centreline with its unit normal and the wood's radius there.
struct BranchFrame {
    QPointF point, normal, tangent;
    float radius;
};

BranchFrame frameAt(const Branch& branch, float t);

// The branch alone on a transparent premultiplied layer of the canvas's size.
QImage woodLayer(const Branch& branch, QSize size);

// A round wooden frame (a ring of bark) on a layer of the given size.
QImage woodRing(QPointF centre, float innerRadius, float outerRadius, std::uint32_t seed,
                QSize size);

// A planed board with rounded corners; `vertical` runs the grain downwards.
QImage woodPlank(const QRectF& board, qreal cornerRadius, bool vertical, std::uint32_t seed,
                 QSize size);

// Darkens what the canvas already holds where the layer's shadow falls.
void castShadow(QImage& canvas, const QImage& layer, QPoint offset, float strength);

} // namespace skingen
