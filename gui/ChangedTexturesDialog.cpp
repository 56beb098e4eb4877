#include "gui/ChangedTexturesDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "gui/AccessibleNames.h"
#include "gui/Translation.h"

namespace sc {

ChangedTexturesDialog::ChangedTexturesDialog(int count, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QTr("Changed Textures"));
    auto* icon = new QLabel;
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    auto* found = new QLabel(QTrN("%1 changed texture was found.", "%1 changed textures were found.", static_cast<unsigned long>(count)).arg(count));
    auto* explanation = new QLabel(QTr(
        "The declarations of these textures (or of the constants they use) have changed since their previews "
        "were rendered. They are now selected.\n\n"
        "\"Render Again\" renders their previews again. \"Mark as Unchanged\" keeps the previews and treats "
        "the textures as unchanged."));
    explanation->setWordWrap(true);
    auto* render = new QPushButton(QTr("&Render Again"));
    auto* mark = new QPushButton(QTr("&Mark as Unchanged"));
    auto* cancel = new QPushButton(QTr("Cancel"));
    render->setDefault(true);
    connect(render, &QPushButton::clicked, this, [this] { choice_ = Render, accept(); });
    connect(mark, &QPushButton::clicked, this, [this] { choice_ = MarkUnchanged, accept(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->addWidget(found);
    texts->addWidget(explanation);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(render);
    buttons->addWidget(mark);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setMinimumWidth(420);
    NameControls(this);
}

}  // namespace sc
