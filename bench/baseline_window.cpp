// The baseline of bench/run-frame: a plain Qt window of a few lines. After
// the frame's opening timer period (one second) it shows a box titled as
// the reminder window that the frame's first tick opens for a due task.
// Usage: bench_baseline_window [--idle]

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Baseline Window"));
    window.resize(640, 400);
    window.show();
    if (argc < 2 || std::strcmp(argv[1], "--idle") != 0) {
        QTimer::singleShot(1000, &window, [&window] {
            QMessageBox::information(&window, QStringLiteral("Message"), QStringLiteral("Bench first tick"));
        });
    }
    return QApplication::exec();
}
