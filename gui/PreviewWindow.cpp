#include "gui/PreviewWindow.h"

#include <QContextMenuEvent>
#include <QPainter>

#include "gui/PreviewPicture.h"
#include "gui/Translation.h"
#include "library/PreviewImage.h"
#include "preview/FrameBuffer.h"
#include "ui/WindowLayout.h"

namespace sc {

PreviewWindow::PreviewWindow(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setAccessibleName(QTr("Preview picture"));
    SetSmall(false);
}

void PreviewWindow::SetSmall(bool small) {
    const int outer = small ? kSmallPictureSize : kPictureSize;
    setFixedSize(outer, outer);
    ClearPicture();
}

QSize PreviewWindow::PictureSize() const { return size() - QSize(4, 4); }

void PreviewWindow::SetOuterSize(int outer) {
    if (outer == width() && outer == height()) return;
    setFixedSize(outer, outer);
}

void PreviewWindow::ClearPicture() {
    screen_ = QImage();
    SetFailure(QString());
    update();
}

void PreviewWindow::ShowPreview(const PreviewImage* image) {
    screen_ = image ? PreviewToImage(*image) : QImage();
    fillArea_ = false;
    SetFailure(QString());
    // Enlarging would blur it: a smaller picture keeps its size in the middle of the area.
    const QSize area = PictureSize();
    if (!screen_.isNull() && (screen_.width() > area.width() || screen_.height() > area.height()))
        screen_ = screen_.scaled(area, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    update();
}

void PreviewWindow::ShowFailure(const QString& text) {
    screen_ = QImage();
    SetFailure(text);
    update();
}

void PreviewWindow::SetFailure(const QString& text) {
    if (text == failure_) return;
    failure_ = text;
    setToolTip(text);
    setAccessibleDescription(text);
}

void PreviewWindow::BeginRender(QSize size) {
    screen_ = QImage(size.isEmpty() ? PictureSize() : size, QImage::Format_RGB888);
    fillArea_ = true;
    screen_.fill(Qt::white);
    SetFailure(QString());
    QPainter painter(&screen_);
    painter.fillRect(screen_.rect(), QBrush(Qt::black, Qt::DiagCrossPattern));
    update();
}

void PreviewWindow::ShowFrame(const FrameBuffer& frame) {
    BeginRender(QSize(frame.Width(), frame.Height()));
    for (int row = 0; row < frame.Height(); ++row) DrawRow(frame, row);
}

void PreviewWindow::SetDimmed(bool dimmed) {
    if (dimmed == dimmed_) return;
    dimmed_ = dimmed;
    update();
}

void PreviewWindow::SetMessage(const QString& message) {
    if (message == message_) return;
    message_ = message;
    setToolTip(message);
    update();
}

void PreviewWindow::DrawRow(const FrameBuffer& frame, int row) {
    if (screen_.size() != QSize(frame.Width(), frame.Height()) || row < 0 || row >= frame.Height()) return;
    const size_t rowBytes = static_cast<size_t>(frame.Width()) * 3;
    const unsigned char* source = frame.Pixels() + static_cast<size_t>(frame.Height() - 1 - row) * rowBytes;
    unsigned char* target = screen_.scanLine(row);
    for (int x = 0; x < frame.Width(); ++x) {
        target[3 * x] = source[3 * x + 2];
        target[3 * x + 1] = source[3 * x + 1];
        target[3 * x + 2] = source[3 * x];
    }
    const QRect shown = PictureRect();
    if (shown.size() == screen_.size())
        update(shown.left(), shown.top() + row, shown.width(), 1);
    else
        update();
}

QRect PreviewWindow::PictureRect() const {
    const QRect area = contentsRect();
    if (screen_.isNull()) return area;
    QSize size = screen_.size();
    if (fillArea_ || size.width() > area.width() || size.height() > area.height())
        size.scale(area.size(), Qt::KeepAspectRatio);
    return QRect(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2,
                 size.width(), size.height());
}

void PreviewWindow::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    if (!screen_.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(PictureRect(), screen_);
    } else if (!failure_.isEmpty()) {
        PaintFailure(painter);
    }
    if (dimmed_) painter.fillRect(PictureRect(), QColor(255, 255, 255, 160));
    if (message_.isEmpty()) return;
    painter.setFont(font());
    const QRect box = contentsRect().adjusted(4, 4, -4, -4);
    QRect textRect = painter.boundingRect(box, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, message_);
    painter.fillRect(textRect.adjusted(-2, -2, 2, 2), QColor(255, 255, 224, 230));
    painter.setPen(QColor(160, 0, 0));
    painter.drawText(box, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, message_);
}

void PreviewWindow::PaintFailure(QPainter& painter) {
    QFont font = painter.font();
    font.setPixelSize(9);
    painter.setFont(font);
    painter.setPen(palette().color(QPalette::WindowText));
    // A short report sits in the middle of the area; of a long one the start
    // shows, and the tooltip holds all of it.
    const QRect box = contentsRect().adjusted(2, 2, -2, -2);
    const int flags = Qt::TextWordWrap | Qt::AlignHCenter;
    const bool fits = painter.boundingRect(box, flags, failure_).height() <= box.height();
    painter.drawText(box, flags | (fits ? Qt::AlignVCenter : Qt::AlignTop), failure_);
}

void PreviewWindow::contextMenuEvent(QContextMenuEvent* event) { emit contextMenuRequested(event->globalPos()); }

}  // namespace sc
