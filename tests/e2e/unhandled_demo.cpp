// A program on the programs' application object whose event handler raises an
// error it does not handle, as a probe handler might: the application must
// show the error and end with a failure status. The box is written to stdout.
#include "monitor/application.h"
#include "runtime/runtimeerror.h"

#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    monitor::Application app(argc, argv);
    app.setErrorBox([](const QString& title, const QString& text) {
        std::printf("box [%s]: %s\n", qPrintable(title),
                    qPrintable(QString(text).replace('\n', ' ')));
        std::fflush(stdout);
    });
    QTimer::singleShot(0, [] { throw vell::RuntimeError(vell::InvalidOperation, "Winsock"); });
    QTimer::singleShot(5000, [] { std::printf("still running\n"); });
    return app.exec();
}
