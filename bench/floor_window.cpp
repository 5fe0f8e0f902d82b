// The floor the window is measured against: a bare Qt window of the same size with
// 300 plain labels, nothing drawn by hand, linked with Qt Widgets only.
//
//   bench_floor           stays open (start-up, memory and idle CPU, timed from the
//                         outside by first_frame)
//   bench_floor --pulse   times re-captioning 20 labels and repainting them
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Floor"));
    window.setFixedSize(1024, 715);
    std::vector<QLabel*> labels;
    for (int i = 0; i < 300; ++i) {
        auto* label = new QLabel(QStringLiteral("Label %1").arg(i), &window);
        label->setGeometry(8 + (i % 10) * 100, 8 + (i / 10) * 23, 96, 20);
        label->setAutoFillBackground(true);
        labels.push_back(label);
    }

    const bool pulse = argc > 1 && std::strcmp(argv[1], "--pulse") == 0;
    window.show();
    if (!pulse) return app.exec();

    QElapsedTimer waited;
    waited.start();
    while (!window.windowHandle()->isExposed()) {
        if (waited.elapsed() > 30000) return 1;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    QCoreApplication::sendPostedEvents();
    constexpr int kPulses = 2000;
    std::vector<qint64> ns;
    ns.reserve(kPulses);
    QElapsedTimer t;
    for (int i = 0; i < kPulses; ++i) {
        t.start();
        for (int k = 0; k < 20; ++k) labels[std::size_t(k * 15)]->setText(QString::number(i + k));
        QCoreApplication::sendPostedEvents(&window, QEvent::UpdateRequest);
        ns.push_back(t.nsecsElapsed());
    }
    std::sort(ns.begin(), ns.end());
    std::printf("%.1f\n", double(ns[ns.size() / 2]) / 1000.0);
    return 0;
}
