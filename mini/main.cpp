#include "mini.h"
#include "single_instance.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("MiniTumo"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.50"));
    QCoreApplication::setOrganizationName(QStringLiteral("The Rollbox project"));

    // A second copy ends silently; the running one keeps its window and its last roll.
    const SingleInstance instance(QStringLiteral("minitumo"));
    if (!instance.failure().isEmpty()) {
        QMessageBox::critical(nullptr, QStringLiteral("Quorvane's Mini Dice Roller"),
                              instance.failure());
        return 1;
    }
    if (instance.anotherIsRunning())
        return 0;

    Mini mini;
    mini.Form_Load();
    mini.show();
    return app.exec();
}
