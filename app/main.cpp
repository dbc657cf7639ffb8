// pyxo: the desktop program.

#include <QApplication>

#include "app/result_view.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Vellmora");
    return QApplication::exec();
}
