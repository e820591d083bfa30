// The floor for the program's start-up: a Qt widget window shown and left
// open, as bench_startup starts and ends it.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal window"));
    window.resize(600, 400);
    window.show();
    return QApplication::exec();
}
