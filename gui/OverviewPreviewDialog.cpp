#include "gui/OverviewPreviewDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <QVBoxLayout>

#include "bridge/BridgeConnection.h"
#include "gui/AccessibleNames.h"
#include "gui/Translation.h"
#include "library/TextureEntry.h"
#include "preview/PreviewCodec.h"
#include "preview/PreviewRenderer.h"

namespace sc {
namespace {

// The pages' own button, whose mnemonic differs from the pane's.
QString RenderLabel() { return QTrC("overview pages", "&Render"); }

// Pictures are kept as the preview window keeps them: rows bottom-up, each
// pixel blue, green, red.
QImage ToImage(const std::uint8_t* pixels, std::size_t size, int width, int height) {
    if (width <= 0 || height <= 0 || size < static_cast<std::size_t>(width) * height * 3) return {};
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = pixels + static_cast<std::size_t>(height - 1 - y) * width * 3;
        uchar* dst = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            dst[3 * x] = src[3 * x + 2];
            dst[3 * x + 1] = src[3 * x + 1];
            dst[3 * x + 2] = src[3 * x];
        }
    }
    return image;
}

}  // namespace

// The picture area: the page picture, or the sample count without one, with
// the samples of the selected textures framed.
class PagePicture : public QWidget {
public:
    PagePicture(QSize size, int columns, int rows, QWidget* parent) : QWidget(parent), columns_(columns), rows_(rows) {
        setFixedSize(size);
        setAccessibleName(QTr("Page picture"));
    }
    std::function<void(int, Qt::KeyboardModifiers)> clicked;
    QImage image;
    QString placeholder;
    std::vector<int> marks;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        if (!image.isNull()) p.drawImage(rect(), image);
        else p.drawText(rect(), Qt::AlignCenter, placeholder);
        p.setPen(QPen(palette().highlight().color(), 2));
        for (int index : marks) p.drawRect(Cell(index).adjusted(1, 1, -1, -1));
        p.setPen(palette().dark().color());
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (columns_ <= 0 || !clicked) return;
        const int c = static_cast<int>(event->position().x() * columns_ / width());
        const int r = static_cast<int>(event->position().y() * rows_ / height());
        clicked(r * columns_ + c, event->modifiers());
    }

private:
    QRect Cell(int index) const {
        if (columns_ <= 0) return rect();
        const int c = index % columns_, r = index / columns_;
        return QRect(c * width() / columns_, r * height() / rows_, width() / columns_, height() / rows_);
    }
    int columns_;
    int rows_;
};

OverviewPreviewDialog::OverviewPreviewDialog(std::string iniPath, std::vector<TextureEntry*> entries,
                                             std::uint32_t samplesPerPage, double aspect, bool useTemplate,
                                             UserInterface& ui, PovLauncher* launcher, QWidget* parent)
    : QDialog(parent), pages_(BuildPages(entries, samplesPerPage)), ui_(ui) {
    setWindowTitle(QTr("Texture Overview - Preview"));
    auto* pageLabel = new QLabel(QTr("&Page:"));
    pageList_ = new QListWidget;
    pageList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    pageLabel->setBuddy(pageList_);
    for (size_t i = 0; i < pages_.size(); ++i) pageList_->addItem(QString::number(i + 1));
    auto* textureLabel = new QLabel(QTr("&Textures:"));
    textureList_ = new QListWidget;
    textureList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    textureList_->installEventFilter(this);
    textureLabel->setBuddy(textureList_);
    pageList_->setFixedHeight(200);

    int columns = 0, rows = 0;
    SampleGrid(samplesPerPage, useTemplate, columns, rows);
    const PictureArea area = PagePictureArea(pageList_->height(), aspect);
    picture_ = new PagePicture(QSize(area.width, area.height), columns, rows, this);
    picture_->clicked = [this](int index, Qt::KeyboardModifiers m) { SampleClicked(index, m); };

    render_ = new QPushButton(RenderLabel());
    render_->setAutoDefault(false);
    progress_ = new QProgressBar;
    progress_->setAccessibleName(QTr("Progress"));
    progress_->setTextVisible(false);
    progress_->hide();
    ok_ = new QPushButton(QTr("&OK"));
    ok_->setAutoDefault(false);
    auto* help = new QPushButton(QTrC("button", "&Help"));
    help->setAutoDefault(false);
    help->setEnabled(false);  // no help topic is written for this dialog yet

    auto* grid = new QGridLayout(this);
    grid->addWidget(picture_, 0, 0, 4, 1, Qt::AlignTop);
    grid->addWidget(pageLabel, 0, 1);
    grid->addWidget(textureLabel, 0, 2);
    grid->addWidget(pageList_, 1, 1, 3, 1);
    grid->addWidget(textureList_, 1, 2, 3, 1);
    grid->addWidget(render_, 4, 0);
    grid->addWidget(progress_, 5, 0);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(ok_);
    bottom->addWidget(help);
    bottom->addStretch();
    grid->addLayout(bottom, 6, 0, 1, 3);

    PovBridge& bridge = bridge::Connection();
    renderer_ = std::make_unique<PreviewRenderer>(ui, bridge, launcher);
    renderer_->SetPictureSize(area.width, area.height);
    run_ = std::make_unique<PagePreviewRun>(*renderer_, static_cast<PagePreviewWindow&>(*this), ui, std::move(iniPath));
    renderer_->SetListener(run_.get());
    // Rows arrive at this process's bridge window; while the dialog is open they are this dialog's.
    if (const int fd = bridge.ClientDescriptor(); fd >= 0) {
        notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] {
            if (renderer_->DeliverMessages() > 0 && run_->Rendering()) {
                picture_->image = ShownPicture();
                picture_->update();
            }
        });
    }
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] { run_->OnTimer(); });

    connect(pageList_, &QListWidget::currentRowChanged, this, [this] { PageChanged(); });
    connect(textureList_, &QListWidget::itemSelectionChanged, this, &OverviewPreviewDialog::MarksFromTextureList);
    connect(render_, &QPushButton::clicked, this, &OverviewPreviewDialog::PressRender);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    if (!pages_.empty()) pageList_->setCurrentRow(0);
    NameControls(this);
}

OverviewPreviewDialog::~OverviewPreviewDialog() {
    run_->Stop();
}

QStringList OverviewPreviewDialog::TexturesShown() const {
    QStringList names;
    for (int i = 0; i < textureList_->count(); ++i) names << textureList_->item(i)->text();
    return names;
}

void OverviewPreviewDialog::SelectPages(const std::vector<int>& pages) {
    pageList_->clearSelection();
    for (int page : pages)
        if (QListWidgetItem* item = pageList_->item(page)) item->setSelected(true);
}

void OverviewPreviewDialog::PressRender() {
    std::vector<int> selected;
    for (int i = 0; i < pageList_->count(); ++i)
        if (pageList_->item(i)->isSelected()) selected.push_back(i);
    if (selected.empty() && pageList_->currentRow() >= 0) selected.push_back(pageList_->currentRow());
    run_->Press(selected);
}

QImage OverviewPreviewDialog::ShownPicture() const {
    if (run_->Rendering() && run_->CurrentPage() == shownPage_) {
        const FrameBuffer& frame = renderer_->Frame();
        return ToImage(frame.Pixels(), frame.Size(), frame.Width(), frame.Height());
    }
    const PreviewImage* stored = run_->Picture(shownPage_);
    if (!stored) return {};
    DecodedPicture decoded;
    if (!Decode(*stored, decoded, &ui_)) return {};
    return ToImage(decoded.pixels.data(), decoded.pixels.size(), decoded.width, decoded.height);
}

void OverviewPreviewDialog::ShowPage(int page) {
    if (pageList_->currentRow() != page) {
        const QSignalBlocker block(pageList_);
        pageList_->setCurrentRow(page, QItemSelectionModel::ClearAndSelect);
        pageList_->scrollToItem(pageList_->item(page));
    }
    shownPage_ = page;
    {
        const QSignalBlocker block(textureList_);
        textureList_->clear();
        for (const TextureEntry* e : pages_[static_cast<size_t>(page)])
            textureList_->addItem(QString::fromStdString(e->name));
        if (textureList_->count() > 0) textureList_->setCurrentRow(0);
    }
    picture_->image = ShownPicture();
    picture_->placeholder = QTrN("%1 sample", "%1 samples", pages_[static_cast<size_t>(page)].size())
                               .arg(pages_[static_cast<size_t>(page)].size());
    MarksFromTextureList();
}

void OverviewPreviewDialog::PageChanged() {
    const int row = pageList_->currentRow();
    if (row >= 0 && row != shownPage_) ShowPage(row);
}

void OverviewPreviewDialog::MarksFromTextureList() {
    picture_->marks.clear();
    for (int i = 0; i < textureList_->count(); ++i)
        if (textureList_->item(i)->isSelected()) picture_->marks.push_back(i);
    picture_->update();
}

void OverviewPreviewDialog::SampleClicked(int index, Qt::KeyboardModifiers modifiers) {
    if (index < 0 || index >= textureList_->count() || run_->Rendering()) return;
    if (modifiers & Qt::ControlModifier) {
        textureList_->item(index)->setSelected(!textureList_->item(index)->isSelected());
    } else if ((modifiers & Qt::ShiftModifier) && anchor_ >= 0) {
        textureList_->clearSelection();
        for (int i = std::min(anchor_, index); i <= std::max(anchor_, index); ++i)
            textureList_->item(i)->setSelected(true);
        return;
    } else {
        textureList_->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    }
    anchor_ = index;
}

void OverviewPreviewDialog::SetRendering(bool rendering) {
    pageList_->setEnabled(!rendering);
    textureList_->setEnabled(!rendering);
    ok_->setEnabled(!rendering);
    render_->setText(rendering ? QTr("&Stop") : RenderLabel());
    render_->setAccessibleName(PlainText(render_->text()));
    if (rendering) render_->setFocus();
    else textureList_->setFocus();
}

void OverviewPreviewDialog::SetProgress(int range, int position) {
    progress_->setRange(0, std::max(range, 1));
    progress_->setValue(position);
    progress_->show();
}

void OverviewPreviewDialog::HideProgress() { progress_->hide(); }

void OverviewPreviewDialog::StartTimer(int milliseconds) { timer_->start(milliseconds); }

void OverviewPreviewDialog::StopTimer() { timer_->stop(); }

void OverviewPreviewDialog::reject() {
    // The close box and Escape stop a running render instead of closing.
    if (run_->Rendering()) {
        run_->Stop();
        return;
    }
    QDialog::reject();
}

void OverviewPreviewDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
    QDialog::keyPressEvent(event);
}

bool OverviewPreviewDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched != textureList_ || event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const int row = textureList_->currentRow();
    if (key == Qt::Key_Up && row == 0 && shownPage_ > 0) {
        ShowPage(shownPage_ - 1);
        textureList_->setCurrentRow(textureList_->count() - 1, QItemSelectionModel::ClearAndSelect);
        return true;
    }
    if (key == Qt::Key_Down && row == textureList_->count() - 1 && shownPage_ + 1 < PageCount()) {
        ShowPage(shownPage_ + 1);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace sc
