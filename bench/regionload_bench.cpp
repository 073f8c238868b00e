// A window shape from a saved region file against making it from the picture,
// side by side: the ticker's skin and a 562 x 520 skin-like picture. Both ways
// end with the shape a window would get (the region read back as a QRegion).
#include "graphics/dibsectionregion.h"
#include "graphics/platform/qt/qtgdi.h"
#include "graphics/stdpicture.h"
#include "skinlike.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Median milliseconds of each way, and whether both gave the same pixels.
bool compare(const char* name, const QImage& image, const QString& file, double* ratio) {
    gdi::qt::QtGdi gdi;
    const vell::StdPicture picture(image, gdi);
    vell::cDIBSection dib(gdi);
    dib.CreateFromPicture(picture);
    {
        vell::cDIBSectionRegion region(gdi);
        region.Create(dib, 0);
        region.Save(file);
    }
    std::vector<double> made, loaded;
    QRegion a, b;
    for (int i = 0; i < 300; ++i) { // interleaved: both see the same machine state
        QElapsedTimer t;
        t.start();
        {
            vell::cDIBSectionRegion region(gdi);
            region.Create(dib, 0);
            a = gdi.RegionPixels(region.hRgn());
        }
        made.push_back(double(t.nsecsElapsed()) / 1e6);
        t.restart();
        {
            vell::cDIBSectionRegion region(gdi);
            region.LoadFromFile(file);
            b = gdi.RegionPixels(region.hRgn());
        }
        loaded.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const double m = median(made), l = median(loaded);
    *ratio = m / l;
    std::printf("%s %dx%d, %d rectangles (median of 300)\n", name, image.width(), image.height(),
                int(a.rectCount()));
    std::printf("  from the picture: Create + shape read back : %8.3f ms\n", m);
    std::printf("  from the file: LoadFromFile + shape read back : %8.3f ms\n", l);
    std::printf("  loading is %.2fx faster; same pixels: %s\n", *ratio,
                a.xored(b).isEmpty() ? "yes" : "NO");
    return a.xored(b).isEmpty();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    double ticker = 0, panel = 0;
    const bool same =
        compare("ticker skin", vell::readImage(VELL_TICKER_SKIN), dir.filePath("ticker.rgn"),
                &ticker) &
        compare("skin-like picture", skinLikeImage(), dir.filePath("panel.rgn"), &panel);
    std::printf("goal: at least 3x faster: ticker %.2fx, 562x520 %.2fx: %s\n", ticker, panel,
                ticker >= 3 && panel >= 3 ? "met" : "NOT met");
    return same ? 0 : 1;
}
