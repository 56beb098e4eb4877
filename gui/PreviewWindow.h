#pragma once
// The preview window of the preview pane: a sunken frame around a 116 x 116
// (small: 56 x 56, large: up to 512 x 512) picture area. It shows an entry's
// stored preview, or the rows of a render as they arrive over a
// cross-hatched background, or why the entry's render failed. A stored
// picture stays crisp at its own size in the middle of the area (only one
// larger than the area is made smaller); a render's rows fill the area (a
// draft at part of its side is followed by the whole picture). Over the
// picture the window can dim it and show a message.
#include <QFrame>
#include <QImage>

class QPainter;

namespace sc {

class FrameBuffer;
class PreviewImage;

class PreviewWindow : public QFrame {
    Q_OBJECT
public:
    explicit PreviewWindow(QWidget* parent = nullptr);

    // Outer size 120 or 60; the picture area is 4 pixels smaller.
    void SetSmall(bool small);
    QSize PictureSize() const;
    // The frame's outer side, for the large picture area.
    void SetOuterSize(int outer);

    // Shows a stored preview at its own size (made smaller only when larger than the picture area); null or empty
    // clears the picture.
    void ShowPreview(const PreviewImage* image);
    void ClearPicture();
    // Shows why the entry has no picture (POV-Ray's report) in the picture's
    // place, and the whole text as the tooltip; any picture goes.
    void ShowFailure(const QString& text);
    // The failure shown, or empty while a picture (or nothing) is shown.
    const QString& FailureText() const { return failure_; }
    // Before a render of a `size` picture (empty: the picture area's): the cross-hatch the rows are drawn over.
    void BeginRender(QSize size = {});
    // Shows the frame buffer's whole picture.
    void ShowFrame(const FrameBuffer& frame);
    // The picture drawn pale (it shows a text that is gone) and a message over it (empty: none).
    void SetDimmed(bool dimmed);
    void SetMessage(const QString& message);
    bool Dimmed() const { return dimmed_; }
    const QString& Message() const { return message_; }
    // Draws picture row `row` (0 = top) from the frame buffer.
    void DrawRow(const FrameBuffer& frame, int row);

    const QImage& ScreenCopy() const { return screen_; }
    // Where the picture shown lies in the window: in the middle of the picture area.
    QRect PictureRect() const;

signals:
    void contextMenuRequested(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void SetFailure(const QString& text);
    void PaintFailure(QPainter& painter);

    QImage screen_;
    bool fillArea_ = false;  // a render's picture, drawn as large as the area
    QString failure_;
    bool dimmed_ = false;
    QString message_;
};

}  // namespace sc
