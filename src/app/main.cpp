#include "support/version.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Quirlanto ") + quirlanto::versionText(257));
    window.show();
    return app.exec();
}
