#include "silhouette.h"

#include <algorithm>
#include <vector>

namespace skingen {
namespace {

const QRgb Black = qRgb(0, 0, 0);

bool isBlack(QRgb c) {
    return (c & 0xFFFFFFu) == 0;
}

QImage threshold(const QImage& canvas) {
    QImage out(canvas.size(), QImage::Format_RGB32);
    for (int y = 0; y < canvas.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < canvas.width(); ++x) {
            const int a = qAlpha(in[x]);
            if (a < 128) {
                line[x] = Black;
                continue;
            }
            const auto un = [a](int v) { return std::min(255, v * 255 / a); };
            const QRgb c = qRgb(un(qRed(in[x])), un(qGreen(in[x])), un(qBlue(in[x])));
            line[x] = isBlack(c) ? qRgb(12, 8, 4) : c;
        }
    }
    return out;
}

// Marks the black pixels reachable from the image's border.
std::vector<char> outside(const QImage& img) {
    const int w = img.width(), h = img.height();
    std::vector<char> seen(static_cast<size_t>(w * h), 0);
    std::vector<QPoint> stack;
    for (int x = 0; x < w; ++x)
        stack.insert(stack.end(), {QPoint(x, 0), QPoint(x, h - 1)});
    for (int y = 0; y < h; ++y)
        stack.insert(stack.end(), {QPoint(0, y), QPoint(w - 1, y)});
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        if (p.x() < 0 || p.y() < 0 || p.x() >= w || p.y() >= h)
            continue;
        const auto i = static_cast<size_t>(p.y() * w + p.x());
        if (seen[i] || !isBlack(img.pixel(p)))
            continue;
        seen[i] = 1;
        stack.insert(stack.end(),
                     {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
    }
    return seen;
}

// One pass of filling: each pocket pixel next to artwork takes its
// neighbours' mean, shaded as a crevice. Returns whether any pocket is left.
bool fillStep(QImage& img, const std::vector<char>& out) {
    const int w = img.width(), h = img.height();
    const QImage before = img.copy();
    bool left = false;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (out[static_cast<size_t>(y * w + x)] || !isBlack(before.pixel(x, y)))
                continue;
            int r = 0, g = 0, b = 0, n = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int xx = x + dx, yy = y + dy;
                    if (xx < 0 || yy < 0 || xx >= w || yy >= h || isBlack(before.pixel(xx, yy)))
                        continue;
                    const QRgb c = before.pixel(xx, yy);
                    r += qRed(c), g += qGreen(c), b += qBlue(c), ++n;
                }
            if (n == 0) {
                left = true;
                continue;
            }
            const auto shade = [n](int sum) { return std::max(12, sum * 7 / (10 * n)); };
            img.setPixel(x, y, qRgb(shade(r), shade(g), shade(b)));
        }
    return left;
}

} // namespace

QImage sealedSilhouette(const QImage& premultiplied) {
    QImage img = threshold(premultiplied);
    const std::vector<char> out = outside(img);
    while (fillStep(img, out)) {
    }
    return img;
}

} // namespace skingen
