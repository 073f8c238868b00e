// The smallest program that shows what the panel shows of the web: a 562 x 520
// window with a 271 x 207 web view at (165, 177) loading one page. The
// yardstick for the panel's start-up, memory and wake-ups.
//   minimal_webview URL
#include <QApplication>
#include <QWebEngineView>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("minimal");
    window.resize(562, 520);
    QWebEngineView view(&window);
    view.setGeometry(165, 177, 271, 207);
    view.load(QUrl(app.arguments().value(1)));
    window.show();
    return app.exec();
}
