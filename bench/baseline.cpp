// The yardstick for start-up time and memory: a bare Qt Widgets program that shows one frameless
// 783x590 window with a picture, nothing else. bench/startup runs it beside the trainer.
//   qxo-baseline <picture.png> [text]
// With a text, one line of it is drawn over the picture: the same program plus Qt's font system,
// which any window with text pays for at start-up (the bare picture never loads a font).
#include <QApplication>
#include <QLabel>
#include <QPixmap>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel window;
    window.setWindowFlags(Qt::FramelessWindowHint);
    window.setWindowTitle(QStringLiteral("baseline"));
    window.setPixmap(QPixmap(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString()));
    window.setFixedSize(783, 590);
    if (argc > 2) {
        auto *text = new QLabel(QString::fromLocal8Bit(argv[2]), &window);
        text->setGeometry(20, 20, 740, 30);
    }
    window.show();
    return app.exec();
}
