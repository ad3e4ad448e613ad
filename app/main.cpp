#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("LERTA Kvaro"));
    QLabel window(QStringLiteral("lerta Kvaro v. 1.3.1"));
    window.resize(1117, 830);
    window.show();
    return app.exec();
}
