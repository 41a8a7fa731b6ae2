// The smallest Qt Widgets program with a window: what any Qt program pays to start and to idle,
// the baseline velk-pro is measured against.

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("baseline"));
    QLabel label(QStringLiteral("Qt Widgets baseline"), &window);
    label.move(20, 20);
    window.resize(320, 120);
    window.show();
    return QApplication::exec();
}
