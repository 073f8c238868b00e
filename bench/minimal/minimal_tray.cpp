// The smallest useful Qt tray program: a 240 x 89 window showing a line of
// text, and a tray icon with a tooltip. The memory and wake-up yardstick.
#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QSystemTrayIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel window("Servers: Y, Y, Y, Y, Y, Y");
    window.setWindowTitle("minimal");
    window.resize(240, 89);
    window.show();
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::darkMagenta);
    QSystemTrayIcon tray{QIcon(pixmap)};
    tray.setToolTip("minimal");
    tray.show();
    return app.exec();
}
