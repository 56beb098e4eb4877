#include "gui/EntryBar.h"

#include <QHBoxLayout>
#include <QLabel>

#include "gui/Translation.h"

namespace sc {

EntryBar::EntryBar(QWidget* parent) : QWidget(parent) {
    row_ = new QHBoxLayout(this);
    row_->setContentsMargins(0, 1, 0, 1);
    row_->setSpacing(2);
    setAccessibleName(QTr("Current texture"));
    SetParts({std::string()});
}

QSize EntryBar::sizeHint() const {
    QLabel line(QStringLiteral("Xg"));
    line.setFrameStyle(QFrame::Panel | QFrame::Sunken);
    line.setFont(font());
    const QMargins m = row_->contentsMargins();
    return {QWidget::sizeHint().width(), line.sizeHint().height() + m.top() + m.bottom()};
}

void EntryBar::SetParts(const std::vector<std::string>& given) {
    for (QLabel* label : labels_) delete label;
    labels_.clear();
    // No entry still shows one empty part, so the bar keeps its place under the list.
    const std::vector<std::string> parts = given.empty() ? std::vector<std::string>{std::string()} : given;
    QStringList texts;
    for (size_t i = 0; i < parts.size(); ++i) {
        const QString text = QString::fromStdString(parts[i]);
        auto* label = new QLabel(text, this);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAccessibleName(text);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        const bool last = i + 1 == parts.size();
        label->setSizePolicy(last ? QSizePolicy::Expanding : QSizePolicy::Fixed, QSizePolicy::Preferred);
        row_->addWidget(label, last ? 1 : 0);
        labels_.push_back(label);
        texts << text;
    }
    setAccessibleDescription(texts.join(QStringLiteral(", ")));
}

QStringList EntryBar::Parts() const {
    QStringList texts;
    for (const QLabel* label : labels_) texts << label->text();
    return texts;
}

}  // namespace sc
