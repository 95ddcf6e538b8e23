// The floor for the start-up benchmark: a Qt widgets program that shows one plain window.
#include "app/firstpaintprobe.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.setCentralWidget(new QLabel(QStringLiteral("bare"), &window));
    window.resize(760, 560);
    quirlanto::installFirstPaintProbe(&window);
    window.show();
    return app.exec();
}
