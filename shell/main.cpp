#include "tumo.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Rollbox"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.50"));

    Tumo tumo;
    tumo.Form_Load();
    tumo.show();
    return app.exec();
}
