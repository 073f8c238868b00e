// The smallest Qt program that shows a 240 x 89 window: the start-up yardstick.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("minimal");
    window.resize(240, 89);
    window.show();
    return app.exec();
}
