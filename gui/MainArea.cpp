#include "gui/MainArea.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QRubberBand>
#include <QToolButton>

#include "gui/DeclarationBox.h"
#include "gui/EntryBar.h"
#include "gui/PreviewWindow.h"
#include "gui/Translation.h"

namespace sc {
namespace {

QRect ToQRect(const Rect& r) { return QRect(r.x, r.y, r.width, r.height); }

}  // namespace

MainArea::MainArea(PaneWidths& widths, QWidget* parent) : QWidget(parent), widths_(widths) {
    setMouseTracking(true);
    bar_ = new EntryBar(this);
    pane_ = new QWidget(this);
    pane_->setAccessibleName(QTr("Preview pane"));
    picture_ = new PreviewWindow(pane_);
    arrow_ = new QToolButton(pane_);
    arrow_->setArrowType(Qt::LeftArrow);
    arrow_->setToolTip(QTr("Keep the preview"));
    arrow_->setAccessibleName(QTr("Keep the preview"));
    arrow_->setEnabled(false);
    show_ = new QPushButton(QTr("&Render"), pane_);
    show_->setAccessibleName(QTr("Render"));
    show_->setEnabled(false);
    text_ = new DeclarationBox(pane_);
    tracker_ = new QRubberBand(QRubberBand::Line, this);
}

void MainArea::SetListWidget(QWidget* list) {
    list_ = list;
    list_->setParent(this);
    list_->show();
    Relayout();
}

void MainArea::SetPaneShown(bool shown) {
    paneShown_ = shown;
    pane_->setVisible(shown);
    Relayout();
}

void MainArea::SetSmallPicture(bool small) {
    small_ = small;
    picture_->SetSmall(small);
    Relayout();
}

void MainArea::SetLargePicture(bool large) {
    large_ = large;
    Relayout();
}

void MainArea::SetMaximized(bool maximized) {
    maximized_ = maximized;
    Relayout();
}

void MainArea::SetPictureShare(double share) {
    pictureShare_ = share;
    Relayout();
}

void MainArea::SetHeading(QWidget* heading, QWidget* backButton) {
    heading_ = heading;
    back_ = backButton;
    Relayout();
}

void MainArea::Relayout() {
    LayoutInput in;
    in.clientWidth = width();
    in.clientHeight = height();
    in.paneWidth = widths_.For(maximized_).pane;
    in.paneShown = paneShown_;
    in.smallPicture = small_;
    in.largePicture = large_;
    in.entryBarHeight = bar_->sizeHint().height();
    in.arrowWidth = 24;
    in.buttonHeight = show_->sizeHint().height();
    const bool headingShown = heading_ && heading_->isVisible();
    in.headingHeight = headingShown ? heading_->sizeHint().height() : 0;
    in.pictureShare = pictureShare_;
    layout_ = ComputeLayout(in);
    if (headingShown) {
        const int buttonWidth = back_ ? back_->sizeHint().width() : 0;
        heading_->setGeometry(2, 2, std::max(0, layout_.widths.list - buttonWidth - 8), in.headingHeight);
        if (back_) back_->setGeometry(heading_->geometry().right() + 9, 2, buttonWidth, back_->sizeHint().height());
    }
    if (list_) list_->setGeometry(ToQRect(layout_.listArea));
    bar_->setGeometry(ToQRect(layout_.entryBar));
    if (!paneShown_) return;
    const int paneLeft = width() - layout_.widths.pane;
    pane_->setGeometry(paneLeft, 0, layout_.widths.pane, height());
    const auto local = [paneLeft](const Rect& r) { return QRect(r.x - paneLeft, r.y, r.width, r.height); };
    picture_->SetOuterSize(layout_.picture.width);
    picture_->setGeometry(local(layout_.picture));
    arrow_->setGeometry(local(layout_.arrowButton));
    show_->setGeometry(local(layout_.showButton));
    text_->setGeometry(local(layout_.textBox));
}

void MainArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Relayout();
}

void MainArea::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton && paneShown_ && layout_.pictureSplit.Contains(p.x(), p.y())) {
        draggingSplit_ = true;
        grabMouse();
        trackerTop_ = p.y();
        tracker_->setGeometry(layout_.pictureSplit.x, trackerTop_ - 3, layout_.pictureSplit.width, 6);
        tracker_->show();
        return;
    }
    if (event->button() != Qt::LeftButton || !paneShown_ || !layout_.splitter.Contains(p.x(), p.y())) {
        QWidget::mousePressEvent(event);
        return;
    }
    dragging_ = true;
    grabMouse();
    trackerLeft_ = TrackerLeft(p.x(), width());
    tracker_->setGeometry(trackerLeft_, layout_.splitter.y, 6, layout_.splitter.height);
    tracker_->show();
}

void MainArea::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (draggingSplit_) {
        trackerTop_ = p.y();
        tracker_->setGeometry(layout_.pictureSplit.x, trackerTop_ - 3, layout_.pictureSplit.width, 6);
        return;
    }
    if (dragging_) {
        trackerLeft_ = TrackerLeft(p.x(), width());
        tracker_->setGeometry(trackerLeft_, layout_.splitter.y, 6, layout_.splitter.height);
        return;
    }
    const bool over = paneShown_ && layout_.splitter.Contains(p.x(), p.y());
    const bool overSplit = paneShown_ && layout_.pictureSplit.Contains(p.x(), p.y());
    setCursor(over ? Qt::SplitHCursor : overSplit ? Qt::SplitVCursor : Qt::ArrowCursor);
}

void MainArea::mouseReleaseEvent(QMouseEvent* event) {
    if (draggingSplit_) {
        draggingSplit_ = false;
        releaseMouse();
        tracker_->hide();
        // The band ends where the buttons under the picture begin.
        const int top = layout_.splitter.y;
        const int band = trackerTop_ - layout_.showButton.height - top;
        pictureShare_ = PictureShareAt(band, layout_.splitter.height);
        Relayout();
        emit pictureSplitMoved();
        return;
    }
    if (!dragging_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
    releaseMouse();
    tracker_->hide();
    widths_.For(maximized_) = ReleasedWidths(trackerLeft_, width());
    Relayout();
    emit splitterMoved();
}

}  // namespace sc
