#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Vorlyn Player"));
    window.resize(640, 480);
    window.show();
    return app.exec();
}
