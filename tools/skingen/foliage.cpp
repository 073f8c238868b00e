#include "foliage.h"

#include "noise.h"

#include <QLinearGradient>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace skingen {
namespace {

// Outlines in leaf space: stalk at (0, 0), tip at (1, 0).
// A leaf mirrored about its midrib, its upper edge bulging through c1 and c2.
QPainterPath symmetricLeaf(QPointF c1, QPointF c2) {
    QPainterPath path;
    path.moveTo(0, 0);
    path.cubicTo(c1.x(), -c1.y(), c2.x(), -c2.y(), 1, 0);
    path.cubicTo(c2.x(), c2.y(), c1.x(), c1.y(), 0, 0);
    return path;
}

QPainterPath lance() {
    return symmetricLeaf({0.22, 0.36}, {0.68, 0.3});
}

QPainterPath roundLeaf() {
    return symmetricLeaf({0.02, 0.6}, {0.8, 0.58});
}

QPainterPath ivy() {
    QPainterPath path;
    path.moveTo(0.06, 0);
    path.cubicTo(-0.1, -0.3, 0.1, -0.55, 0.32, -0.5);
    path.cubicTo(0.4, -0.3, 0.48, -0.32, 0.56, -0.34);
    path.cubicTo(0.72, -0.22, 0.86, -0.12, 1, 0);
    path.cubicTo(0.86, 0.12, 0.72, 0.22, 0.56, 0.34);
    path.cubicTo(0.48, 0.32, 0.4, 0.3, 0.32, 0.5);
    path.cubicTo(0.1, 0.55, -0.1, 0.3, 0.06, 0);
    return path;
}

QPainterPath serrated() {
    // The lance outline with small teeth along both edges.
    const QPainterPath smooth = lance();
    QPolygonF poly;
    const int teeth = 18;
    for (int i = 0; i <= 2 * teeth; ++i) {
        const qreal t = static_cast<qreal>(i) / (2 * teeth);
        const QPointF pt = smooth.pointAtPercent(t);
        const qreal bulge = (i % 2 == 0 ? 1.0 : 0.82);
        poly << QPointF(pt.x(), pt.y() * bulge);
    }
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    return path;
}

QPainterPath outline(LeafShape shape) {
    switch (shape) {
    case LeafShape::Lance:
        return lance();
    case LeafShape::Round:
        return roundLeaf();
    case LeafShape::Ivy:
        return ivy();
    case LeafShape::Serrated:
        return serrated();
    }
    return lance();
}

qreal widthFactor(LeafShape shape) {
    return shape == LeafShape::Ivy ? 0.95 : 0.85;
}

QPen cosmetic(const QColor& c, qreal width) {
    QPen pen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    pen.setCosmetic(true);
    return pen;
}

} // namespace

void drawLeaf(QPainter& p, const Leaf& leaf) {
    const QPainterPath path = outline(leaf.shape);
    p.save();
    p.translate(leaf.base);
    p.rotate(leaf.angle);
    p.scale(leaf.length, leaf.length * widthFactor(leaf.shape));
    // A soft shadow on whatever lies beneath, never on the empty background.
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 14, 6, 90));
    p.translate(1.6 / leaf.length, 2.2 / leaf.length);
    p.drawPath(path);
    p.restore();

    QLinearGradient shade(0, -0.5, 0.3, 0.5);
    shade.setColorAt(0, leaf.tone.lighter(135));
    shade.setColorAt(0.5, leaf.tone);
    shade.setColorAt(1, leaf.tone.darker(150));
    p.setBrush(shade);
    p.setPen(cosmetic(leaf.tone.darker(175), 0.8));
    p.drawPath(path);
    // Midrib and a few veins.
    p.setPen(cosmetic(leaf.tone.lighter(150), leaf.length > 12 ? 0.9 : 0.6));
    p.drawLine(QPointF(0.04, 0), QPointF(0.86, 0));
    if (leaf.length > 11) {
        p.setPen(cosmetic(leaf.tone.lighter(125), 0.5));
        for (qreal x : {0.25, 0.45, 0.65}) {
            p.drawLine(QPointF(x, 0), QPointF(x + 0.14, -0.2 * (1 - x)));
            p.drawLine(QPointF(x, 0), QPointF(x + 0.14, 0.2 * (1 - x)));
        }
    }
    p.restore();
}

Leaf randomLeaf(QRandomGenerator& rng, QPointF base, qreal angle, qreal minLength,
                qreal maxLength) {
    static const QColor greens[] = {{46, 96, 36},  {68, 118, 42},  {92, 138, 50}, {118, 150, 58},
                                    {56, 108, 64}, {132, 140, 54}, {78, 128, 38}};
    const int shapes = 4;
    Leaf leaf;
    leaf.base = base;
    leaf.angle = angle + (rng.generateDouble() - 0.5) * 60;
    leaf.length = minLength + rng.generateDouble() * (maxLength - minLength);
    leaf.shape = static_cast<LeafShape>(rng.bounded(shapes));
    leaf.tone = greens[rng.bounded(static_cast<int>(std::size(greens)))];
    return leaf;
}

namespace {

struct StemPoint {
    QPointF at, normal, tangent;
    float side; // -1 or 1 at the branch's edges, 0 over its middle
    bool front; // the stem passes in front of the wood here
};

std::vector<StemPoint> windStem(const Branch& branch, float t0, float t1, float turns,
                                QRandomGenerator& rng) {
    const int steps = 220;
    const float phase0 = static_cast<float>(rng.generateDouble()) * 6.28f;
    std::vector<StemPoint> stem;
    for (int i = 0; i <= steps; ++i) {
        const float t = t0 + (t1 - t0) * static_cast<float>(i) / steps;
        const float wobble = (valueNoise(t * 30, 0.5f, branch.seed + 77) - 0.5f) * 1.6f;
        const float phase =
            phase0 + 2 * std::numbers::pi_v<float> * turns * (t - t0) / (t1 - t0) + wobble;
        const BranchFrame f = frameAt(branch, t);
        const float side = std::sin(phase);
        stem.push_back({f.point + f.normal * ((f.radius + 1.2f) * side), f.normal, f.tangent, side,
                        std::cos(phase) > -0.15f});
    }
    return stem;
}

void drawStem(QPainter& p, const std::vector<StemPoint>& stem) {
    for (int pass = 0; pass < 2; ++pass) {
        p.setPen(pass == 0 ? QPen(QColor(58, 72, 28), 2.6, Qt::SolidLine, Qt::RoundCap)
                           : QPen(QColor(122, 140, 64), 0.9, Qt::SolidLine, Qt::RoundCap));
        const QPointF lift = pass == 0 ? QPointF() : QPointF(-0.5, -0.6);
        for (size_t i = 1; i < stem.size(); ++i)
            if (stem[i].front && stem[i - 1].front)
                p.drawLine(stem[i - 1].at + lift, stem[i].at + lift);
    }
}

qreal degrees(QPointF v) {
    return std::atan2(v.y(), v.x()) * 180 / std::numbers::pi;
}

// A curl of tendril springing from the stem.
void tendril(QPainter& p, QPointF from, QPointF out, QRandomGenerator& rng) {
    QPainterPath path(from);
    const qreal turn = rng.bounded(2) ? 1 : -1;
    QPointF at = from, dir = out;
    qreal step = 1.6;
    for (int i = 0; i < 16; ++i) {
        const qreal a = 0.32 * turn * (1 + i * 0.06);
        dir = QPointF(dir.x() * std::cos(a) - dir.y() * std::sin(a),
                      dir.x() * std::sin(a) + dir.y() * std::cos(a));
        at += dir * step;
        step *= 0.93;
        path.lineTo(at);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(96, 118, 46), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
}

} // namespace

void drawVine(QPainter& p, const Branch& branch, float t0, float t1, float turns,
              QRandomGenerator& rng, const std::vector<QRectF>& keepClear) {
    const std::vector<StemPoint> stem = windStem(branch, t0, t1, turns, rng);
    drawStem(p, stem);
    std::vector<Leaf> leaves;
    // Walk the stem, dropping leaves at uneven gaps: out from the edges, or
    // lying across the wood where the stem is in front.
    qreal gap = 3 + rng.generateDouble() * 6, walked = 0;
    for (size_t i = 1; i < stem.size(); ++i) {
        const QPointF d = stem[i].at - stem[i - 1].at;
        walked += std::hypot(d.x(), d.y());
        if (walked < gap)
            continue;
        walked = 0;
        gap = 4 + rng.generateDouble() * 8;
        const StemPoint& s = stem[i];
        const QPointF out = s.normal * (s.side > 0 ? 1.0 : -1.0);
        if (std::abs(s.side) > 0.7f) {
            leaves.push_back(randomLeaf(rng, s.at, degrees(out + s.tangent * 0.4), 9, 19));
            if (rng.bounded(2) == 0)
                leaves.push_back(randomLeaf(rng, s.at, degrees(out - s.tangent * 0.6), 6, 13));
            if (rng.bounded(6) == 0)
                tendril(p, s.at, out, rng);
        } else if (s.front) {
            const QPointF along = s.tangent * (rng.bounded(2) ? 1.0 : -1.0);
            leaves.push_back(randomLeaf(rng, s.at, degrees(along + out * 0.8), 6, 12));
        }
    }
    for (const Leaf& leaf : leaves)
        if (clearOf(leaf, keepClear))
            drawLeaf(p, leaf);
}

bool clearOf(const Leaf& leaf, const std::vector<QRectF>& keepClear) {
    const QRectF reach(leaf.base - QPointF(leaf.length, leaf.length),
                       QSizeF(2 * leaf.length, 2 * leaf.length));
    return std::none_of(keepClear.begin(), keepClear.end(),
                        [&](const QRectF& r) { return reach.intersects(r); });
}

} // namespace skingen
