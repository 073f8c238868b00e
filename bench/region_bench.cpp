// Building a window shape from a 562 x 520 skin-like picture, side by side on
// the same picture: our region class (one create, one XOR and one delete a
// run, combined lazily), alone and with the shape read back as the window
// gets it, against Qt's QRegion(QBitmap) with the bitmap made beforehand and
// Qt's whole path from the image; eager per-run XORs once, for scale.
#include "graphics/dibsectionregion.h"
#include "graphics/platform/qt/qtgdi.h"
#include "skinlike.h"

#include <QBitmap>
#include <QElapsedTimer>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double fastest(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

// Counts the runs Create removes, with a layer that only counts.
int countRuns(const vell::cDIBSection& dib) {
    int runs = 0;
    const auto bits = dib.Bits();
    for (int x = 0; x < dib.Width(); ++x) {
        bool open = false;
        for (int y = 0; y < dib.Height(); ++y) {
            const int row = dib.Height() - 1 - y;
            const bool t = !bits(3 * x, row) && !bits(3 * x + 1, row) && !bits(3 * x + 2, row);
            if (t && !open)
                ++runs;
            open = t;
        }
    }
    return runs;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QImage image = skinLikeImage();
    gdi::qt::QtGdi gdi;
    const vell::StdPicture picture(image, gdi);
    vell::cDIBSection dib(gdi);
    dib.CreateFromPicture(picture);
    const QBitmap bitmap =
        QBitmap::fromImage(image.createMaskFromColor(qRgb(0, 0, 0), Qt::MaskInColor));

    const int rounds = 300;
    std::vector<double> ours, oursCreate, qt, qtFromImage;
    QRegion ourRegion, qtRegion;
    for (int i = 0; i < rounds; ++i) { // interleaved: both see the same machine state
        QElapsedTimer t;
        t.start();
        vell::cDIBSectionRegion region(gdi);
        region.Create(dib, 0);
        oursCreate.push_back(double(t.nsecsElapsed()) / 1e6);
        ourRegion = gdi.RegionPixels(region.hRgn()); // the shape a window would get
        ours.push_back(double(t.nsecsElapsed()) / 1e6);

        t.restart();
        qtRegion = QRegion(bitmap);
        qt.push_back(double(t.nsecsElapsed()) / 1e6);

        t.restart();
        const QRegion fromImage(
            QBitmap::fromImage(image.createMaskFromColor(qRgb(0, 0, 0), Qt::MaskInColor)));
        qtFromImage.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const bool same = ourRegion.xored(qtRegion).isEmpty();

    // For scale: the same runs XORed eagerly into a QRegion, once.
    QElapsedTimer t;
    t.start();
    QRegion eager(0, 0, dib.Width(), dib.Height());
    {
        const auto bits = dib.Bits();
        for (int x = 0; x < dib.Width(); ++x) {
            int top = -1;
            for (int y = 0; y <= dib.Height(); ++y) {
                const int row = dib.Height() - 1 - y;
                const bool tr = y < dib.Height() && !bits(3 * x, row) && !bits(3 * x + 1, row) &&
                                !bits(3 * x + 2, row);
                if (tr && top < 0)
                    top = y;
                else if (!tr && top >= 0) {
                    eager = eager.xored(QRegion(x, top, 1, y - top));
                    top = -1;
                }
            }
        }
    }
    const double eagerMs = double(t.nsecsElapsed()) / 1e6;

    const double create = median(oursCreate), a = median(ours), b = median(qt),
                 c = median(qtFromImage);
    std::printf("window shape from a %dx%d skin-like picture, %d runs, %d rounds (median ms)\n",
                dib.Width(), dib.Height(), countRuns(dib), rounds);
    std::printf("  ours: cDIBSectionRegion::Create                  : %8.3f ms\n", create);
    std::printf("  ours: Create + shape read back as a QRegion      : %8.3f ms\n", a);
    std::printf("  Qt:   QRegion(QBitmap), bitmap already made      : %8.3f ms\n", b);
    std::printf("  Qt:   mask + QBitmap + QRegion from the image    : %8.3f ms\n", c);
    std::printf("  eager QRegion::xored per run (once, for scale)   : %8.1f ms\n", eagerMs);
    std::printf("  Create vs QRegion(QBitmap)                        : %.2fx faster (fastest "
                "runs: %.2fx)\n",
                b / create, fastest(qt) / fastest(oursCreate));
    std::printf("  Create + read back vs QRegion(QBitmap)            : %.2fx faster\n", b / a);
    std::printf("  Create + read back vs Qt from the image           : %.2fx faster\n", c / a);
    std::printf("  same pixels as QRegion(QBitmap)       : %s (%d rectangles)\n",
                same ? "yes" : "NO", int(ourRegion.rectCount()));
    return same ? 0 : 1;
}
