#include "gui/SplashWindow.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>

#include "gui/Translation.h"

namespace sc {

SplashWindow::SplashWindow(int displayMs) : QSplashScreen(Picture(), Qt::WindowStaysOnTopHint) {
    setAccessibleName(QStringLiteral("Swatchcraft"));
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &SplashWindow::Finish);
    timer_.start(displayMs);
}

QPixmap SplashWindow::Picture() {
    // The bitmap and a 7-pixel border on each side.
    QPixmap picture(320 + 14, 180 + 14);
    picture.fill(Qt::lightGray);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, 320, 180);
    gradient.setColorAt(0, QColor(40, 60, 120));
    gradient.setColorAt(1, QColor(200, 120, 40));
    painter.fillRect(7, 7, 320, 180, gradient);
    for (int i = 0; i < 6; ++i)
        painter.fillRect(22 + i * 48, 120, 40, 40, QColor::fromHsv(i * 55, 180, 230));
    painter.setPen(Qt::white);
    QFont font(QStringLiteral("Sans Serif"), 26, QFont::Bold);
    painter.setFont(font);
    painter.drawText(QRect(7, 30, 320, 60), Qt::AlignCenter, QStringLiteral("Swatchcraft"));
    painter.setFont(QFont(QStringLiteral("Sans Serif"), 10));
    painter.drawText(QRect(7, 80, 320, 30), Qt::AlignCenter, QTrC("splash screen", "Texture library for POV-Ray"));
    return picture;
}

void SplashWindow::Finish() {
    if (finished_) return;
    finished_ = true;
    timer_.stop();
    close();
    emit closed();
}

void SplashWindow::keyPressEvent(QKeyEvent*) { Finish(); }

void SplashWindow::mousePressEvent(QMouseEvent*) { Finish(); }

bool SplashWindow::event(QEvent* event) {
    if (event->type() == QEvent::NonClientAreaMouseButtonPress) Finish();
    return QSplashScreen::event(event);
}

}  // namespace sc
