// The yardstick for the program's idle cost: a Qt Widgets program with one small window and one
// 1 Hz timer that changes a label, as the program's status does while it runs.
#include <QApplication>
#include <QLabel>
#include <QTime>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("00:00:00"));
    label.setWindowTitle(QStringLiteral("Minimal"));
    label.resize(200, 60);
    label.show();
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout,
                     [&label] { label.setText(QTime::currentTime().toString(QStringLiteral("hh:mm:ss"))); });
    timer.start(1000);
    return QApplication::exec();
}
