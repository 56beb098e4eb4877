#pragma once
// Shared pieces of the dialog tests: one application object per test, and
// a way to act on a modal dialog once it is open.
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>

namespace sc::test {

// Creates the application object for a test unless one exists.
class ApplicationScope {
public:
    ApplicationScope() {
        if (QApplication::instance()) return;
        static int argc = 1;
        static char name[] = "test_gui";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }

private:
    std::unique_ptr<QApplication> app_;
};

// Runs `action` on the next modal dialog that opens (checked every 20 ms).
inline void WhenModalOpens(std::function<void(QDialog*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(dialog);
        }
    });
    timer->start();
}

}  // namespace sc::test
