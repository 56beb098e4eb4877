#include "gui/SearchProgressDialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "gui/AccessibleNames.h"
#include "gui/Translation.h"

namespace sc {
namespace {

// A catalogue pattern's fixed text before its first value.
QString PatternHead(const char* pattern) {
    const QString text = QString::fromUtf8(pattern);
    return text.left(text.indexOf(QLatin1String("%1")));
}

}  // namespace

// A magnifying glass sweeping over a page of lines while the search runs.
class SearchAnimation : public QWidget {
public:
    explicit SearchAnimation(QWidget* parent) : QWidget(parent) {
        setFixedSize(48, 48);
        setAccessibleName(QTr("Search animation"));
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this] {
            step_ = (step_ + 1) % 24;
            update();
        });
        timer->start(80);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(QRect(6, 4, 30, 40), palette().base());
        p.setPen(palette().text().color());
        p.drawRect(QRect(6, 4, 30, 40));
        for (int y = 10; y < 40; y += 6) p.drawLine(10, y, 32, y);
        const int t = step_ < 12 ? step_ : 24 - step_;
        const QPointF centre(14 + t * 1.4, 16 + (t % 6) * 2.5);
        p.setPen(QPen(palette().highlight().color(), 3));
        p.drawEllipse(centre, 7, 7);
        p.drawLine(centre + QPointF(5, 5), centre + QPointF(11, 11));
    }

private:
    int step_ = 0;
};

SearchProgressDialog::SearchProgressDialog(UserInterface& outer, QWidget* parent) : QDialog(parent), outer_(outer) {
    setWindowTitle(QTr("Searching for Textures"));
    setModal(true);
    animation_ = new SearchAnimation(this);
    auto* grid = new QGridLayout(this);
    grid->addWidget(animation_, 0, 0, 4, 1, Qt::AlignTop);
    for (int i = 0; i < 4; ++i) {
        lines_[i] = new QLabel(this);
        lines_[i]->setMinimumWidth(360);
        lines_[i]->setVisible(i == 0);
        grid->addWidget(lines_[i], i, 1);
    }
    progress_ = new QProgressBar(this);
    steps_ = std::make_unique<ProgressSteps>(progress_);
    progress_->setAccessibleName(QTr("Progress"));
    progress_->setTextVisible(false);
    progress_->setVisible(false);
    grid->addWidget(progress_, 4, 0, 1, 2);
    auto* cancel = new QPushButton(QTr("Cancel"), this);
    connect(cancel, &QPushButton::clicked, this, &SearchProgressDialog::reject);
    grid->addWidget(cancel, 5, 0, 1, 2, Qt::AlignHCenter);
    NameControls(this);
    Centre();
}

SearchProgressDialog::~SearchProgressDialog() = default;

void SearchProgressDialog::Centre() {
    adjustSize();
    const QRect owner = parentWidget() ? parentWidget()->frameGeometry()
                                       : (screen() ? screen()->availableGeometry() : QRect(0, 0, 800, 600));
    move(owner.center() - rect().center());
}

void SearchProgressDialog::StartSearching() {
    searching_ = true;
    for (QLabel* line : lines_) line->setVisible(true);
    progress_->setVisible(true);
    lines_[0]->setText(PatternHead(Tr("Searching folder: %1")).trimmed());
    Centre();
}

void SearchProgressDialog::SetStatusText(const std::string& text) {
    const QString t = QString::fromStdString(text);
    // The search words its steps through the catalogue; their fixed heads tell them apart.
    const QString directoryPrefix = PatternHead(Tr("Searching folder: %1"));
    const QString filePrefix = PatternHead(Tr("Searching file: %1"));
    if (t.startsWith(PatternHead(Tr("Counting %1 in %2.")))) {
        lines_[0]->setText(t);
    } else if (t.startsWith(directoryPrefix)) {
        if (!searching_) StartSearching();
        directory_ = t.mid(directoryPrefix.size());
        lines_[1]->setText(lines_[1]->fontMetrics().elidedText(directory_, Qt::ElideMiddle, lines_[1]->width()));
        lines_[1]->setToolTip(directory_);
    } else if (t.startsWith(filePrefix)) {
        if (!searching_) StartSearching();
        lines_[2]->setText(t);
    } else if (!t.isEmpty()) {
        lines_[3]->setText(t);
    }
}

QString SearchProgressDialog::Line(int index) const { return lines_[index]->text(); }

void SearchProgressDialog::SetProgressRange(int range) {
    steps_->SetRange(range);
}

void SearchProgressDialog::SetProgressPosition(int position) { steps_->SetPosition(position); }

void SearchProgressDialog::StepProgress() {
    steps_->Step();
    lines_[2]->clear();  // between files
}

void SearchProgressDialog::reject() { SetCancelled(true); }

void SearchProgressDialog::ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) {
    outer_.ShowMessage(text, icon, title);
}

Answer SearchProgressDialog::Ask(const std::string& text, QuestionButtons buttons, Answer defaultAnswer,
                                 MessageIcon icon, const std::string& title) {
    return outer_.Ask(text, buttons, defaultAnswer, icon, title);
}

int SearchProgressDialog::Choose(const std::string& text, const std::vector<std::string>& buttons, int defaultIndex,
                                 MessageIcon icon, const std::string& title) {
    return outer_.Choose(text, buttons, defaultIndex, icon, title);
}

}  // namespace sc
