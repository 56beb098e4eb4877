#pragma once
// The main window's client area: the list area with the entry bar under it
// on the left, the preview pane on the right, and the splitter between them.
// Positions come from the window's layout rules; dragging the splitter moves
// a tracker bar and stores the new widths for the current window state.
#include <QWidget>

#include "ui/WindowLayout.h"

class QPushButton;
class QRubberBand;
class QToolButton;

namespace sc {

class DeclarationBox;
class EntryBar;
class PreviewWindow;

class MainArea : public QWidget {
    Q_OBJECT
public:
    MainArea(PaneWidths& widths, QWidget* parent = nullptr);

    // The widget shown in the list area (the views).
    void SetListWidget(QWidget* list);
    QWidget* ListWidget() const { return list_; }

    void SetPaneShown(bool shown);
    bool PaneShown() const { return paneShown_; }
    void SetSmallPicture(bool small);
    // The picture as large as the pane allows ("Preview | Large").
    void SetLargePicture(bool large);
    void SetMaximized(bool maximized);
    // The large picture's share of the pane's height (the split the user drags between picture and declaration box).
    void SetPictureShare(double share);
    double PictureShare() const { return pictureShare_; }
    // The heading of the only-selected mode (null or hidden: none).
    void SetHeading(QWidget* heading, QWidget* backButton);

    EntryBar* Bar() const { return bar_; }
    QWidget* Pane() const { return pane_; }
    PreviewWindow* Picture() const { return picture_; }
    QToolButton* ArrowButton() const { return arrow_; }
    QPushButton* ShowButton() const { return show_; }
    DeclarationBox* TextBox() const { return text_; }
    const Layout& CurrentLayout() const { return layout_; }

    // Lays the children out again (after a change of widths or modes).
    void Relayout();

signals:
    // The splitter was let go; the widths of the current window state changed.
    void splitterMoved();
    // The split between the large picture and the declaration box was let go.
    void pictureSplitMoved();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    PaneWidths& widths_;
    bool paneShown_ = true;
    bool small_ = false;
    bool large_ = false;
    bool maximized_ = false;
    bool dragging_ = false;
    bool draggingSplit_ = false;  // the split between the large picture and the declaration box
    int trackerLeft_ = 0;
    int trackerTop_ = 0;
    double pictureShare_ = kDefaultPictureShare;
    Layout layout_;
    QWidget* list_ = nullptr;
    QWidget* heading_ = nullptr;
    QWidget* back_ = nullptr;
    EntryBar* bar_;
    QWidget* pane_;
    PreviewWindow* picture_;
    QToolButton* arrow_;
    QPushButton* show_;
    DeclarationBox* text_;
    QRubberBand* tracker_;
};

}  // namespace sc
