// Leaves and the ivy that winds round the branches.
#pragma once

#include "wood.h"

#include <QColor>
#include <QPainter>
#include <QRandomGenerator>

#include <vector>

namespace skingen {

enum class LeafShape { Lance, Round, Ivy, Serrated };

struct Leaf {
    QPointF base;
    qreal angle;  // degrees, the direction from stalk to tip
    qreal length; // pixels
    LeafShape shape;
    QColor tone;
};

void drawLeaf(QPainter& p, const Leaf& leaf);

// A leaf of random shape, size and green, pointing roughly along `angle`.
Leaf randomLeaf(QRandomGenerator& rng, QPointF base, qreal angle, qreal minLength, qreal maxLength);

// Ivy wound round the stretch [t0, t1] of a branch: the stem shows where it
// passes in front, and leaves sprout mostly where it turns at the edges. No
// leaf reaches into any of the `keepClear` rectangles.
void drawVine(QPainter& p, const Branch& branch, float t0, float t1, float turns,
              QRandomGenerator& rng, const std::vector<QRectF>& keepClear);

// Whether a leaf stays out of all the rectangles.
bool clearOf(const Leaf& leaf, const std::vector<QRectF>& keepClear);

} // namespace skingen
