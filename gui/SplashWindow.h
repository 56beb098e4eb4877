#pragma once
// The splash shown while the window starts: a picture with the program's
// name, centred on the screen; it closes after three seconds or at once on
// any key or mouse button, and then says so.
#include <QSplashScreen>
#include <QTimer>

namespace sc {

class SplashWindow : public QSplashScreen {
    Q_OBJECT
public:
    explicit SplashWindow(int displayMs = 3000);
    // Closes the splash (once) and emits Closed.
    void Finish();

signals:
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    static QPixmap Picture();
    QTimer timer_;
    bool finished_ = false;
};

}  // namespace sc
