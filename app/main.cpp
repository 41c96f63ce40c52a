#include <QApplication>
#include <QCommandLineParser>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Konfidor");
    QApplication::setApplicationVersion(KONFIDOR_VERSION);

    QCommandLineParser parser;
    parser.setApplicationDescription("Configuration client for network converters");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);

    QWidget window;
    window.setWindowTitle("Konfidor");
    window.show();
    return app.exec();
}
