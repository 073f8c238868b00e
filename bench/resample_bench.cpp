// Resampling a 562 x 520 skin-like surface: Resample (vector form, exact to
// the surface's arithmetic) against QImage::scaled with smooth transformation
// on the same 24-bit pixels, measured side by side, growing and shrinking.
#include "graphics/bilinear.h"
#include "graphics/dibsection.h"
#include "graphics/platform/qt/qtgdi.h"
#include "skinlike.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QThreadPool>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

bool sameBytes(const vell::cDIBSection& a, const vell::cDIBSection& b) {
    const auto n = std::size_t(a.BytesPerScanLine()) * std::size_t(a.Height());
    return a.BytesPerScanLine() == b.BytesPerScanLine() && a.Height() == b.Height() &&
           std::memcmp(reinterpret_cast<const void*>(a.DIBSectionBitsPtr()),
                       reinterpret_cast<const void*>(b.DIBSectionBitsPtr()), n) == 0;
}

double msSince(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

// Returns false when the result is not byte-exact.
bool compare(gdi::qt::QtGdi& gdi, const vell::cDIBSection& dib, const QImage& rgb888, int width,
             int height, int rounds) {
    std::vector<double> ours, qt, qtOne;
    QThreadPool* pool = QThreadPool::globalInstance();
    const int threads = pool->maxThreadCount();
    std::unique_ptr<vell::cDIBSection> made;
    QImage scaled;
    for (int i = 0; i < rounds; ++i) { // interleaved: both see the same machine state
        QElapsedTimer t;
        t.start();
        made = dib.Resample(height, width);
        ours.push_back(msSince(t));
        t.restart();
        scaled = rgb888.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        qt.push_back(msSince(t));
        // Qt spreads the work over the pool's threads; ours runs on the
        // caller's thread alone, as everything in the programs does.
        pool->setMaxThreadCount(1);
        t.restart();
        scaled = rgb888.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        qtOne.push_back(msSince(t));
        pool->setMaxThreadCount(threads);
    }
    // The checked one-pixel-at-a-time form and the scalar rows, for exactness and scale.
    vell::cDIBSection checked(gdi), scalar(gdi);
    checked.Create(width, height);
    scalar.Create(width, height);
    QElapsedTimer t;
    t.start();
    vell::detail::interpolateChecked(dib.Bits(), dib.Width(), dib.Height(), checked.Bits(), width,
                                     height);
    const double checkedMs = msSince(t);
    t.restart();
    vell::detail::interpolateUsing(vell::detail::interpolateRowScalar, dib.Bits(), dib.Width(),
                                   dib.Height(), scalar.Bits(), width, height);
    const double scalarMs = msSince(t);
    const bool exact = made && sameBytes(*made, checked) && sameBytes(scalar, checked);
    const double a = median(ours), b = median(qt), c = median(qtOne);
    std::printf("%dx%d to %dx%d, %d rounds (median ms)\n", dib.Width(), dib.Height(), width, height,
                rounds);
    std::printf("  ours: Resample (new surface included)   : %8.3f ms\n", a);
    std::printf("  Qt:   QImage::scaled, smooth, RGB888    : %8.3f ms (%d threads)\n", b, threads);
    std::printf("  Qt:   the same on one thread            : %8.3f ms\n", c);
    std::printf("  ours: scalar rows (once, for scale)     : %8.3f ms\n", scalarMs);
    std::printf("  ours: checked form (once, for scale)    : %8.3f ms\n", checkedMs);
    std::printf("  Resample vs Qt                          : %.2fx %s\n", b / a,
                b >= a ? "faster" : "(slower)");
    std::printf("  Resample vs Qt on one thread            : %.2fx %s\n", c / a,
                c >= a ? "faster" : "(slower)");
    std::printf("  byte-exact to the checked form          : %s\n", exact ? "yes" : "NO");
    return exact;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    gdi::qt::QtGdi gdi;
    const QImage image = skinLikeImage();
    const vell::StdPicture picture(image, gdi);
    vell::cDIBSection dib(gdi);
    dib.CreateFromPicture(picture);
    // The very same 24-bit pixels for Qt, rows top down.
    QImage rgb888(dib.Width(), dib.Height(), QImage::Format_RGB888);
    for (int y = 0; y < dib.Height(); ++y) {
        const auto row = dib.Bits().row(dib.Height() - 1 - y);
        auto* out = rgb888.scanLine(y);
        for (int x = 0; x < dib.Width(); ++x) {
            out[3 * x] = row[std::size_t(3 * x + 2)];
            out[3 * x + 1] = row[std::size_t(3 * x + 1)];
            out[3 * x + 2] = row[std::size_t(3 * x)];
        }
    }
    std::printf("vector form: %s\n", vell::detail::haveAvx2() ? "AVX2" : "none (scalar)");
    const bool grow = compare(gdi, dib, rgb888, 1124, 1040, 200);
    const bool shrink = compare(gdi, dib, rgb888, 281, 260, 400);
    return grow && shrink ? 0 : 1;
}
