// Prints the centre, in pixels from the window's top-left corner, of a control
// of a program's main window, so scripts click where the definition puts it:
//   formquery tallowbar|brambleview ROLE|CONTROL
// ROLE is what the control does: refresh, search, search-box, hide, close,
// log-toggle, countdown, picture; shown-page is the embedded page where it
// shows. The layout's own 15 twips a pixel (96 dpi).
#include "forms/brambleview/brambleview.h"
#include "forms/tallowbar/tallowbar.h"

#include <cstdio>
#include <map>

namespace {

QString controlFor(const forms::Program& program, const QString& asked) {
    const forms::Roles& r = program.roles;
    const std::map<QString, QString> roles = {
        {"refresh", r.refresh},     {"search", r.search},   {"search-box", r.searchBox},
        {"hide", r.hide},           {"close", r.close},     {"log-toggle", r.logToggle},
        {"countdown", r.countdown}, {"picture", r.picture},
    };
    const auto it = roles.find(asked);
    return it == roles.end() ? asked : it->second;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: formquery tallowbar|brambleview ROLE|CONTROL\n");
        return 2;
    }
    const QString name = QString::fromLocal8Bit(argv[1]);
    const forms::Program program = name == "tallowbar"     ? forms::tallowbar()
                                   : name == "brambleview" ? forms::brambleview()
                                                           : forms::Program{};
    if (program.name.isEmpty()) {
        std::fprintf(stderr, "formquery: no program %s\n", argv[1]);
        return 2;
    }
    const QString asked = QString::fromLocal8Bit(argv[2]);
    const bool shownPage = asked == "shown-page";
    const forms::Control* control =
        program.form1.find(shownPage ? program.page.browser : controlFor(program, asked));
    if (!control) {
        std::fprintf(stderr, "formquery: %s has no control %s\n", argv[1], argv[2]);
        return 1;
    }
    QPoint centre = control->centre();
    if (shownPage)
        centre.rx() += program.page.shownLeft - control->pixelRect().left();
    std::printf("%d %d\n", centre.x(), centre.y());
    return 0;
}
