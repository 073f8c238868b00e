// Brambleview's 562 x 520 panel skin: a sheet of parchment in a frame of
// branches and ivy, with the hide and close buttons and the credit at the
// right. The rectangles below are where the panel's controls lie; the artwork
// keeps its lettering and foliage clear of them.
#include "artwork.h"
#include "foliage.h"
#include "noise.h"
#include "silhouette.h"
#include "wood.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

namespace skingen {
namespace {

const QSize SkinSize(562, 520);
const QRectF Sheet(113, 70, 355, 360); // its torn edge tucked under the frame
const QRectF LeftPanel(150.5, 150.5, 153, 245);
const QRectF RightPanel(307.5, 150.5, 140, 245);
// Controls and lettering that leaves must not cover.
const QRectF Lettered(146, 100, 306, 300);
const QPointF HideCentre(508.5, 368.5);             // under the hide hotspot (480, 344, 57 x 49)
const QPointF CloseCentre(504.5, 432.5);            // under the close hotspot (480, 408, 49 x 49)
const QRectF CountdownPlaque(403.5, 300.5, 35, 24); // under the countdown (408, 304, 25 x 17)
const QRectF ButtonBoard(475.5, 337.5, 66, 126);
const QRectF CreditPlank(433.5, 473.5, 95, 31); // under the credits (456, 480, 49 x 17)
const std::vector<QRectF> KeepClear{Lettered, ButtonBoard, CreditPlank};
const QColor Ink(62, 36, 18);
const QColor Rubric(146, 34, 22);

float smoothstep(float e0, float e1, float x) {
    const float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

int channel(float v) {
    return std::clamp(static_cast<int>(std::lround(v)), 0, 255);
}

// How far a point lies inside the sheet's torn edge (negative outside).
float sheetDepth(float x, float y) {
    const auto tear = [](float along, std::uint32_t seed) {
        return (fractalNoise(along / 7.0f, 0.5f, seed, 3) - 0.5f) * 9;
    };
    const float left = x - (static_cast<float>(Sheet.left()) + tear(y, 31));
    const float right = static_cast<float>(Sheet.right()) + tear(y, 32) - x;
    const float top = y - (static_cast<float>(Sheet.top()) + tear(x, 33));
    const float bottom = static_cast<float>(Sheet.bottom()) + tear(x, 34) - y;
    return std::min({left, right, top, bottom});
}

// Parchment colour: pale in the middle, browned towards the edges, mottled,
// with faint fibres and a few old stains.
QRgb parchment(float x, float y, float depth) {
    const float wander = 0.65f + 0.7f * fractalNoise(x / 45.0f, y / 45.0f, 41, 3);
    const float age = 1 - smoothstep(0, 46, depth * wander);
    const float mottle = fractalNoise(x / 18.0f, y / 18.0f, 42, 5);
    const float fibre = fractalNoise(x / 2.2f, y / 11.0f, 43, 2);
    const float stain = smoothstep(0.6f, 0.75f, fractalNoise(x / 60.0f, y / 60.0f, 44, 3));
    float r = 238 - 70 * age, g = 222 - 98 * age, b = 184 - 112 * age;
    const float burn = 1 - smoothstep(0, 4, depth);
    r -= 50 * burn;
    g -= 44 * burn;
    b -= 30 * burn;
    const float k = (0.92f + 0.12f * mottle) * (0.97f + 0.05f * fibre) * (1 - 0.08f * stain);
    return qRgb(channel(r * k), channel(g * k), channel(b * k));
}

void paintSheet(QImage& canvas) {
    for (int y = 0; y < canvas.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int x = 0; x < canvas.width(); ++x) {
            const float depth = sheetDepth(x + 0.5f, y + 0.5f);
            if (depth > -0.5f)
                line[x] = parchment(x + 0.5f, y + 0.5f, std::max(depth, 0.0f));
        }
    }
}

// The panels are stained darker than the sheet so that the indicators' bright
// green reads on them as well as their red and black.
void stainPanel(QImage& canvas, const QRectF& panel) {
    QPainterPath shape;
    shape.addRoundedRect(panel, 7, 7);
    const QRect area = panel.toAlignedRect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!shape.contains(QPointF(x + 0.5, y + 0.5)))
                continue;
            const float edge = static_cast<float>(std::min(
                {x - panel.left(), panel.right() - x, y - panel.top(), panel.bottom() - y}));
            const float inset = 1 - 0.2f * (1 - smoothstep(0, 5, edge));
            const float aged = 1 - 0.12f * (1 - smoothstep(0, 22, edge));
            const float cloud = fractalNoise(x / 26.0f, y / 26.0f, 52, 3);
            const float grain = fractalNoise(x / 7.0f, y / 7.0f, 51, 4);
            const float k = inset * aged * (0.86f + 0.24f * cloud) * (0.95f + 0.08f * grain);
            const QRgb c = line[x];
            line[x] = qRgb(channel(qRed(c) * 0.69f * k), channel(qGreen(c) * 0.57f * k),
                           channel(qBlue(c) * 0.44f * k));
        }
    }
}

void inkBorder(QPainter& p, const QRectF& panel) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Ink, 1.6));
    p.drawRoundedRect(panel, 7, 7);
    p.setPen(QPen(QColor(Ink.red(), Ink.green(), Ink.blue(), 120), 0.8));
    p.drawRoundedRect(panel.adjusted(3, 3, -3, -3), 5, 5);
    // A small red lozenge in each corner, between the two rules.
    for (const QPointF& c :
         {panel.topLeft() + QPointF(6, 6), panel.topRight() + QPointF(-6, 6),
          panel.bottomLeft() + QPointF(6, -6), panel.bottomRight() + QPointF(-6, -6)}) {
        QPolygonF lozenge;
        lozenge << c + QPointF(-2.5, 0) << c + QPointF(0, -2.5) << c + QPointF(2.5, 0)
                << c + QPointF(0, 2.5);
        p.setPen(QPen(Ink, 0.6));
        p.setBrush(Rubric);
        p.drawPolygon(lozenge);
    }
}

// A heading in a calligraphic hand: the initial in red, the rest in ink.
void heading(QPainter& p, const QString& text, qreal centreX, qreal baseline) {
    QFont font("Z003");
    font.setPixelSize(28);
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(text);
    QPainterPath initial, rest;
    const qreal left = centreX - width / 2;
    initial.addText(left, baseline, font, text.left(1));
    rest.addText(left + metrics.horizontalAdvance(text.left(1)), baseline, font, text.mid(1));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 244, 214, 90)); // a faint lighter edge, as ink dries
    p.drawPath(initial.translated(0.7, 0.8));
    p.drawPath(rest.translated(0.7, 0.8));
    p.setBrush(Rubric);
    p.setPen(QPen(Rubric.darker(140), 0.6));
    p.drawPath(initial);
    p.setBrush(Ink);
    p.setPen(QPen(Ink, 0.4));
    p.drawPath(rest);
}

// An inked swash with a lozenge in the middle, over the indicator rows.
void swash(QPainter& p, QPointF centre, qreal half) {
    QPainterPath path;
    for (int side : {-1, 1}) {
        const qreal s = side;
        path.moveTo(centre + QPointF(s * 7, 0));
        path.cubicTo(centre + QPointF(s * half * 0.35, -7), centre + QPointF(s * half * 0.6, 6),
                     centre + QPointF(s * half, -1));
        path.moveTo(centre + QPointF(s * half, -1));
        path.cubicTo(centre + QPointF(s * (half + 5), -4), centre + QPointF(s * (half + 2), -8),
                     centre + QPointF(s * (half - 3), -5));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Ink, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
    QPolygonF lozenge;
    lozenge << centre + QPointF(-5, 0) << centre + QPointF(0, -4) << centre + QPointF(5, 0)
            << centre + QPointF(0, 4);
    p.setBrush(Rubric);
    p.setPen(QPen(Ink, 0.8));
    p.drawPolygon(lozenge);
}

// A red wax seal stamped with the game's initial, below the Refresh row.
void waxSeal(QPainter& p, QPointF centre) {
    QPainterPath blob;
    const int lobes = 14;
    for (int i = 0; i <= lobes * 4; ++i) {
        const qreal a = i * 6.28318530718 / (lobes * 4);
        const qreal r = 15 + 1.2 * std::sin(a * lobes) + 0.8 * std::sin(a * 3 + 1);
        const QPointF pt = centre + QPointF(std::cos(a) * r, std::sin(a) * r);
        i == 0 ? blob.moveTo(pt) : blob.lineTo(pt);
    }
    blob.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 20, 8, 90));
    p.drawPath(blob.translated(1.5, 2));
    QRadialGradient wax(centre + QPointF(-5, -6), 22);
    wax.setColorAt(0, QColor(206, 62, 44));
    wax.setColorAt(0.6, QColor(150, 26, 18));
    wax.setColorAt(1, QColor(96, 12, 8));
    p.setBrush(wax);
    p.setPen(QPen(QColor(86, 12, 8), 0.8));
    p.drawPath(blob);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(98, 14, 10), 1.4));
    p.drawEllipse(centre, 10.5, 10.5);
    p.setPen(QPen(QColor(230, 120, 100, 120), 0.8));
    p.drawArc(QRectF(centre - QPointF(11.5, 11.5), QSizeF(23, 23)), 60 * 16, 120 * 16);
    QFont font("Z003");
    font.setPixelSize(20);
    QPainterPath letter;
    const qreal w = QFontMetricsF(font).horizontalAdvance("V");
    letter.addText(centre.x() - w / 2, centre.y() + 7, font, "V");
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(236, 130, 110, 150));
    p.drawPath(letter.translated(0.7, 0.8));
    p.setBrush(QColor(92, 10, 6));
    p.drawPath(letter);
}

// A dark wooden inset under the countdown, whose text is yellow.
void countdownPlaque(QPainter& p) {
    QLinearGradient wood(CountdownPlaque.topLeft(), CountdownPlaque.bottomLeft());
    wood.setColorAt(0, QColor(70, 46, 26));
    wood.setColorAt(1, QColor(38, 24, 13));
    p.setBrush(wood);
    p.setPen(QPen(QColor(28, 16, 8), 1));
    p.drawRoundedRect(CountdownPlaque, 4, 4);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(150, 108, 64, 160), 0.8));
    p.drawRoundedRect(CountdownPlaque.adjusted(1.2, 1.2, -1.2, -1.2), 3, 3);
}

void paintLettering(QImage& canvas) {
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    inkBorder(p, LeftPanel);
    inkBorder(p, RightPanel);
    heading(p, "Other Crap", LeftPanel.center().x(), 138);
    heading(p, "Server INFO", RightPanel.center().x(), 138);
    swash(p, QPointF(RightPanel.center().x(), 178), 52);
    swash(p, QPointF(LeftPanel.center().x(), 250), 52);
    waxSeal(p, QPointF(RightPanel.center().x(), 360));
    countdownPlaque(p);
}

void addWood(QImage& canvas, const QImage& layer, float shadow = 0.5f) {
    castShadow(canvas, layer, QPoint(3, 4), shadow);
    QPainter p(&canvas);
    p.drawImage(0, 0, layer);
}

// The frame's branches, in the order they overlap, with the twigs that stick
// out of it.
std::vector<Branch> frameBranches() {
    return {
        {{470, 28}, {478, 170}, {457, 330}, {467, 500}, 10, 12.5f, 101}, // right, a post
        {{112, 32}, {103, 160}, {126, 330}, {113, 472}, 11.5f, 10, 102}, // left
        {{78, 71}, {200, 58}, {340, 84}, {500, 63}, 11.5f, 9, 103},      // top
        {{82, 430}, {200, 440}, {360, 418}, {498, 432}, 12, 10, 104},    // bottom
    };
}

std::vector<Branch> twigs() {
    return {
        {{96, 66}, {88, 56}, {78, 48}, {66, 36}, 4, 1.5f, 201},
        {{300, 70}, {306, 58}, {312, 48}, {324, 38}, 3.5f, 1.2f, 202},
        {{108, 250}, {98, 244}, {90, 236}, {80, 226}, 3.5f, 1.2f, 203},
        {{210, 432}, {204, 444}, {196, 452}, {184, 460}, 3.5f, 1.2f, 204},
        {{470, 48}, {482, 40}, {492, 30}, {506, 24}, 3.5f, 1.2f, 205},
    };
}

void paintFrame(QImage& canvas) {
    for (const Branch& b : frameBranches())
        addWood(canvas, woodLayer(b, canvas.size()));
    for (const Branch& b : twigs())
        addWood(canvas, woodLayer(b, canvas.size()), 0.35f);
    addWood(canvas, woodPlank(ButtonBoard, 9, true, 303, canvas.size()));
    addWood(canvas, woodRing(HideCentre, 21, 27, 301, canvas.size()), 0.4f);
    addWood(canvas, woodRing(CloseCentre, 21, 27, 302, canvas.size()), 0.4f);
}

void paintIvy(QImage& canvas, QRandomGenerator& rng) {
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    const std::vector<Branch> frame = frameBranches();
    drawVine(p, frame[0], 0.02f, 0.95f, 10, rng, KeepClear);
    drawVine(p, frame[1], 0.05f, 0.95f, 9, rng, KeepClear);
    drawVine(p, frame[2], 0.02f, 0.55f, 6, rng, KeepClear);
    drawVine(p, frame[2], 0.7f, 0.98f, 3, rng, KeepClear);
    drawVine(p, frame[3], 0.04f, 0.45f, 5, rng, KeepClear);
    drawVine(p, frame[3], 0.6f, 0.9f, 3, rng, KeepClear);
    // Tufts at the twigs' tips and where the branches cross.
    for (const Branch& b : twigs()) {
        const BranchFrame tip = frameAt(b, 1);
        const qreal angle = std::atan2(tip.tangent.y(), tip.tangent.x()) * 180 / 3.14159265;
        for (int i = 0; i < 3; ++i)
            drawLeaf(p, randomLeaf(rng, tip.point, angle + (i - 1) * 50, 8, 15));
    }
    for (const QPointF& corner :
         {QPointF(110, 68), QPointF(468, 64), QPointF(112, 432), QPointF(470, 432)}) {
        for (int i = 0; i < 6; ++i) {
            const qreal angle = rng.generateDouble() * 360;
            const QPointF at =
                corner + QPointF(rng.generateDouble() * 12 - 6, rng.generateDouble() * 12 - 6);
            const Leaf leaf = randomLeaf(rng, at, angle, 10, 19);
            if (clearOf(leaf, KeepClear))
                drawLeaf(p, leaf);
        }
    }
}

// A cluster of brambles' berries.
void berries(QPainter& p, QPointF at, QRandomGenerator& rng) {
    for (int i = 0; i < 6; ++i) {
        const QPointF c = at + QPointF(rng.generateDouble() * 8 - 4, rng.generateDouble() * 8 - 4);
        QRadialGradient g(c + QPointF(-0.8, -0.8), 2.6);
        g.setColorAt(0, QColor(170, 70, 120));
        g.setColorAt(1, QColor(58, 14, 40));
        p.setBrush(g);
        p.setPen(QPen(QColor(40, 10, 28), 0.5));
        p.drawEllipse(c, 2.3, 2.3);
    }
}

void paintBerries(QImage& canvas, QRandomGenerator& rng) {
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    for (const QPointF& at : {QPointF(96, 84), QPointF(470, 80), QPointF(100, 420),
                              QPointF(300, 430), QPointF(122, 300), QPointF(240, 58)})
        berries(p, at, rng);
}

void nailHead(QPainter& p, QPointF at) {
    QRadialGradient iron(at + QPointF(-0.6, -0.6), 2.4);
    iron.setColorAt(0, QColor(196, 190, 180));
    iron.setColorAt(1, QColor(76, 70, 64));
    p.setPen(QPen(QColor(40, 34, 30), 0.7));
    p.setBrush(iron);
    p.drawEllipse(at, 2, 2);
}

// A round glassy button, to sit in a wooden ring.
void roundButton(QPainter& p, QPointF centre, QColor light, QColor mid, QColor dark) {
    QRadialGradient face(centre + QPointF(-7, -8), 28);
    face.setColorAt(0, light);
    face.setColorAt(0.45, mid);
    face.setColorAt(1, dark);
    p.setBrush(face);
    p.setPen(QPen(dark.darker(160), 1.2));
    p.drawEllipse(centre, 21.5, 21.5);
    QLinearGradient gloss(centre + QPointF(0, -20), centre + QPointF(0, -2));
    gloss.setColorAt(0, QColor(255, 255, 255, 150));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(gloss);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(centre.x() - 14, centre.y() - 19, 28, 17));
}

// The button's sign: white bars at the given angles, over their shadow.
void sign(QPainter& p, QPointF centre, std::initializer_list<qreal> angles, QColor shadow) {
    QPainterPath bars;
    for (qreal angle : angles) {
        QPainterPath bar;
        bar.addRoundedRect(QRectF(-11, -3, 22, 6), 3, 3);
        bars = bars.united(QTransform().rotate(angle).map(bar));
    }
    bars.translate(centre);
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawPath(bars.translated(1, 1.4));
    p.setBrush(QColor(246, 250, 240));
    p.drawPath(bars);
}

void paintButtons(QImage& canvas) {
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    roundButton(p, HideCentre, QColor(170, 250, 150), QColor(52, 168, 48), QColor(16, 78, 22));
    sign(p, HideCentre, {0}, QColor(10, 60, 14, 170));
    roundButton(p, CloseCentre, QColor(170, 215, 255), QColor(44, 110, 210), QColor(14, 38, 112));
    sign(p, CloseCentre, {45, -45}, QColor(8, 24, 80, 170));
    for (const QPointF& nail :
         {ButtonBoard.topLeft() + QPointF(6, 6), ButtonBoard.topRight() + QPointF(-6, 6),
          ButtonBoard.bottomLeft() + QPointF(6, -6), ButtonBoard.bottomRight() + QPointF(-6, -6)})
        nailHead(p, nail);
}

// The credit, burnt into a small plank nailed to the post.
void paintCredit(QImage& canvas) {
    addWood(canvas, woodPlank(CreditPlank, 4, false, 61, canvas.size()), 0.45f);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(74, 46, 22), 1));
    p.drawRoundedRect(CreditPlank, 4, 4);
    for (qreal x : {CreditPlank.left() + 5, CreditPlank.right() - 5})
        nailHead(p, QPointF(x, CreditPlank.center().y()));
    QFont font("Z003");
    font.setPixelSize(15);
    p.setFont(font);
    const QRectF text = QRectF(456, 479, 49, 19).adjusted(-22, 0, 22, 0); // the credits, widened
    p.setPen(QColor(255, 230, 180, 110));
    p.drawText(text.translated(0.6, 0.7), Qt::AlignCenter, "coded by Tib");
    p.setPen(QColor(54, 28, 12));
    p.drawText(text, Qt::AlignCenter, "coded by Tib");
}

} // namespace

QImage panelSkin() {
    QImage canvas(SkinSize, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QRandomGenerator rng(20240611u);
    paintSheet(canvas);
    stainPanel(canvas, LeftPanel);
    stainPanel(canvas, RightPanel);
    paintLettering(canvas);
    paintFrame(canvas);
    paintIvy(canvas, rng);
    paintBerries(canvas, rng);
    paintButtons(canvas);
    paintCredit(canvas);
    return sealedSilhouette(canvas);
}

} // namespace skingen
