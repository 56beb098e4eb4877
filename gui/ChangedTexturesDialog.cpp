#include "gui/ChangedTexturesDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "gui/AccessibleNames.h"

namespace sc {

ChangedTexturesDialog::ChangedTexturesDialog(int count, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Geänderte Texturen"));
    auto* icon = new QLabel;
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    auto* found = new QLabel(QStringLiteral("Es wurden %1 geänderte Texturen gefunden.").arg(count));
    auto* explanation = new QLabel(QStringLiteral(
        "Die Deklarationen dieser Texturen (oder der Konstanten, die sie benutzen) wurden geändert, "
        "seit ihre Vorschaubilder berechnet wurden. Sie sind nun ausgewählt.\n\n"
        "\"Neu Berechnen\" erzeugt ihre Vorschaubilder neu. \"Als ungeändert markieren\" behält die "
        "Vorschaubilder und betrachtet die Texturen wieder als ungeändert."));
    explanation->setWordWrap(true);
    auto* render = new QPushButton(QStringLiteral("Neu &Berechnen"));
    auto* mark = new QPushButton(QStringLiteral("Als ungeändert &markieren"));
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"));
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
