#include "wood.h"

#include "noise.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace skingen {
namespace {

QPointF bezier(const Branch& b, float t) {
    const float u = 1 - t;
    return b.from * (u * u * u) + b.control1 * (3 * u * u * t) + b.control2 * (3 * u * t * t) +
           b.to * (t * t * t);
}

struct Sampled {
    std::vector<QPointF> points;
    std::vector<float> lengths; // arc length at each point
};

Sampled sample(const Branch& b) {
    Sampled s;
    const int n = 240;
    float length = 0;
    for (int i = 0; i <= n; ++i) {
        const QPointF p = bezier(b, static_cast<float>(i) / n);
        if (i > 0) {
            const QPointF d = p - s.points.back();
            length += static_cast<float>(std::hypot(d.x(), d.y()));
        }
        s.points.push_back(p);
        s.lengths.push_back(length);
    }
    return s;
}

// Where a pixel lies relative to the centreline.
struct Nearest {
    float distance = 1e9f, signedDistance = 0, along = 0;
    QPointF normal;
};

Nearest nearest(const Sampled& s, QPointF p) {
    Nearest best;
    for (size_t i = 0; i + 1 < s.points.size(); ++i) {
        const QPointF a = s.points[i], d = s.points[i + 1] - a;
        const double len2 = QPointF::dotProduct(d, d);
        const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / len2, 0.0, 1.0) : 0;
        const QPointF q = a + d * t, off = p - q;
        const float dist = static_cast<float>(std::hypot(off.x(), off.y()));
        if (dist < best.distance) {
            const double len = std::sqrt(len2);
            best.distance = dist;
            best.normal = len > 0 ? QPointF(-d.y() / len, d.x() / len) : QPointF(0, 1);
            best.signedDistance = QPointF::dotProduct(off, best.normal) < 0 ? -dist : dist;
            best.along = s.lengths[i] + static_cast<float>(t * std::sqrt(len2));
        }
    }
    return best;
}

float radiusAt(const Branch& b, float along, float total) {
    const float t = total > 0 ? along / total : 0;
    const float bump = (valueNoise(along / 22.0f, 0.5f, b.seed) - 0.5f) * 2.2f;
    return b.startRadius + (b.endRadius - b.startRadius) * t + bump;
}

float smoothstep(float e0, float e1, float x) {
    const float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

// Bark brightness at a point of the surface: furrows along the length, fine
// grain, and a few knots.
float barkRelief(const Branch& b, float along, float around, float total) {
    const float furrow = fractalNoise(along * 0.045f, around * 0.5f, b.seed + 11, 3);
    const float grain = fractalNoise(along * 0.16f, around * 1.7f, b.seed + 23, 2);
    float relief = 0.5f + 0.5f * smoothstep(0.02f, 0.2f, std::abs(furrow - 0.5f));
    relief *= 0.82f + 0.36f * grain;
    for (int k = 0; k < 3; ++k) {
        const float ka = total * (0.2f + 0.3f * static_cast<float>(k)) +
                         (valueNoise(static_cast<float>(k) * 3.1f, 9.5f, b.seed) - 0.5f) * 40;
        const float kb = (valueNoise(static_cast<float>(k) * 5.7f, 2.5f, b.seed) - 0.5f) * 10;
        const float dx = (along - ka) / 6.5f, dy = (around - kb) / 4.0f;
        const float d = std::sqrt(dx * dx + dy * dy);
        if (d < 1.0f)
            relief *= 0.55f + 0.35f * (0.5f + 0.5f * std::cos(d * 14.0f)) * d;
    }
    return relief;
}

QRgb barkColour(const Branch& b, const Nearest& n, float radius, float total) {
    const float u = std::clamp(n.signedDistance / radius, -1.0f, 1.0f);
    const float nz = std::sqrt(std::max(0.0f, 1 - u * u));
    const float nx = static_cast<float>(n.normal.x()) * u,
                ny = static_cast<float>(n.normal.y()) * u;
    const float lx = -0.42f, ly = -0.62f, lz = 0.66f; // light from the top left, in front
    const float diffuse = std::max(0.0f, nx * lx + ny * ly + nz * lz);
    const float around = std::asin(u) * radius;
    const float relief = barkRelief(b, n.along, around, total);
    const float tone = fractalNoise(n.along * 0.015f, around * 0.08f, b.seed + 5, 2);
    float r = 84 + 52 * tone, g = 56 + 38 * tone, bl = 34 + 24 * tone;
    // Kept above a floor so the shadowed side stays brown, never a black rim.
    const float light =
        std::max(0.45f, (0.4f + 0.85f * diffuse) * relief * (1 - 0.2f * (1 - nz) * (1 - nz)));
    const float shine = std::pow(diffuse, 7.0f) * 46 * relief;
    auto channel = [&](float c) { return std::clamp(static_cast<int>(c * light + shine), 1, 255); };
    return qRgb(channel(r), channel(g), channel(bl));
}

} // namespace

BranchFrame frameAt(const Branch& b, float t) {
    const float dt = 0.002f;
    const QPointF a = bezier(b, std::max(0.0f, t - dt)), c = bezier(b, std::min(1.0f, t + dt));
    QPointF tangent = c - a;
    const double len = std::hypot(tangent.x(), tangent.y());
    tangent /= len > 0 ? len : 1;
    return {bezier(b, t), QPointF(-tangent.y(), tangent.x()), tangent,
            b.startRadius + (b.endRadius - b.startRadius) * t};
}

QImage woodLayer(const Branch& b, QSize size) {
    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    const Sampled s = sample(b);
    const float total = s.lengths.back();
    const float reach = std::max(b.startRadius, b.endRadius) + 3;
    QRectF box;
    for (const QPointF& p : s.points)
        box = box.united(QRectF(p - QPointF(reach, reach), QSizeF(2 * reach, 2 * reach)));
    const QRect area = box.toAlignedRect().intersected(layer.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            const Nearest n = nearest(s, QPointF(x + 0.5, y + 0.5));
            const float radius = radiusAt(b, n.along, total);
            const float cover = std::clamp(radius + 0.5f - n.distance, 0.0f, 1.0f);
            if (cover <= 0)
                continue;
            const QRgb c = barkColour(b, n, radius, total);
            const auto k = [cover](int v) { return static_cast<int>(std::lround(v * cover)); };
            line[x] = qRgba(k(qRed(c)), k(qGreen(c)), k(qBlue(c)), k(255));
        }
    }
    return layer;
}

QImage woodRing(QPointF centre, float innerRadius, float outerRadius, std::uint32_t seed,
                QSize size) {
    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    const float mid = (innerRadius + outerRadius) / 2, half = (outerRadius - innerRadius) / 2;
    const Branch b{centre, centre, centre, centre, half, half, seed};
    const QRect area = QRectF(centre - QPointF(outerRadius + 1, outerRadius + 1),
                              QSizeF(2 * outerRadius + 2, 2 * outerRadius + 2))
                           .toAlignedRect()
                           .intersected(layer.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            const QPointF off = QPointF(x + 0.5, y + 0.5) - centre;
            const float d = static_cast<float>(std::hypot(off.x(), off.y()));
            const float cover = std::clamp(half + 0.5f - std::abs(d - mid), 0.0f, 1.0f);
            if (cover <= 0 || d <= 0)
                continue;
            Nearest n;
            n.distance = std::abs(d - mid);
            n.signedDistance = d - mid;
            n.normal = off / d;
            n.along = static_cast<float>(std::atan2(off.y(), off.x())) * mid;
            const QRgb c = barkColour(b, n, half, 6.2832f * mid);
            const auto k = [cover](int v) { return static_cast<int>(std::lround(v * cover)); };
            line[x] = qRgba(k(qRed(c)), k(qGreen(c)), k(qBlue(c)), k(255));
        }
    }
    return layer;
}

QImage woodPlank(const QRectF& board, qreal cornerRadius, bool vertical, std::uint32_t seed,
                 QSize size) {
    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainterPath shape;
    shape.addRoundedRect(board, cornerRadius, cornerRadius);
    const QRect area = board.toAlignedRect().intersected(layer.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!shape.contains(QPointF(x + 0.5, y + 0.5)))
                continue;
            const float along = static_cast<float>(vertical ? y : x);
            const float across = static_cast<float>(vertical ? x : y);
            const float grain = fractalNoise(along * 0.03f, across * 0.6f, seed, 4);
            const float ring = 0.5f + 0.5f * std::sin(grain * 30);
            // Lit from the top left: the edge facing the light is paler.
            const float fromTop = static_cast<float>((y - board.top()) / board.height());
            const float fromLeft = static_cast<float>((x - board.left()) / board.width());
            const float edge =
                static_cast<float>(std::min({x + 0.5 - board.left(), board.right() - x - 0.5,
                                             y + 0.5 - board.top(), board.bottom() - y - 0.5}));
            const float bevel = edge < 2.5f ? (fromTop + fromLeft < 1 ? 1.18f : 0.7f) : 1.0f;
            const float k = (0.8f + 0.2f * ring) * (1.1f - 0.2f * fromTop) * bevel;
            const auto c = [k](float v) { return std::clamp(static_cast<int>(v * k), 0, 255); };
            line[x] = qRgb(c(176), c(126), c(78));
        }
    }
    return layer;
}

void castShadow(QImage& canvas, const QImage& layer, QPoint offset, float strength) {
    const int w = layer.width(), h = layer.height(), radius = 2;
    std::vector<float> alpha(static_cast<size_t>(w * h)), blurred(alpha.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            alpha[static_cast<size_t>(y * w + x)] = qAlpha(layer.pixel(x, y)) / 255.0f;
    // A box blur across, then down: a soft edge is all a shadow needs.
    for (int pass = 0; pass < 2; ++pass) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                float sum = 0;
                for (int k = -radius; k <= radius; ++k) {
                    const int xx = pass == 0 ? std::clamp(x + k, 0, w - 1) : x;
                    const int yy = pass == 0 ? y : std::clamp(y + k, 0, h - 1);
                    sum += alpha[static_cast<size_t>(yy * w + xx)];
                }
                blurred[static_cast<size_t>(y * w + x)] = sum / (2 * radius + 1);
            }
        alpha.swap(blurred);
    }
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        const int sy = y - offset.y();
        for (int x = 0; x < w; ++x) {
            const int sx = x - offset.x();
            if (sx < 0 || sy < 0 || sx >= w || sy >= h || qAlpha(line[x]) == 0)
                continue;
            const float f = 1 - strength * alpha[static_cast<size_t>(sy * w + sx)];
            const QRgb c = line[x];
            line[x] = qRgba(static_cast<int>(qRed(c) * f), static_cast<int>(qGreen(c) * f),
                            static_cast<int>(qBlue(c) * f), qAlpha(c));
        }
    }
}

} // namespace skingen
