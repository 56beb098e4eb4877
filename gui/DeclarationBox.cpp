#include "gui/DeclarationBox.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QTextBlock>

#include <memory>

#include "gui/Translation.h"
#include "ui/ClipboardText.h"

namespace sc {
namespace {

QColor ColorOf(unsigned rgb) { return QColor(rgb & 0xff, (rgb >> 8) & 0xff, (rgb >> 16) & 0xff); }

}  // namespace

void PutOnClipboard(const std::string& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(QString::fromStdString(text), QClipboard::Clipboard);
}

DeclarationBox::DeclarationBox(QWidget* parent) : QPlainTextEdit(parent) {
    QFont font(QStringLiteral("Courier New"), 8);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    setFont(font);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setAccessibleName(QTr("Declaration"));
    SetEditable(false);
    // Tab leaves the box: keyboard users must not be caught in it, and POV-Ray
    // code is indented with blanks anyway.
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, &DeclarationBox::OnTextChanged);
    ApplyColor();
}

void DeclarationBox::ShowText(const std::string& text, bool editable) {
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    filling_ = true;
    setPlainText(shown);
    setExtraSelections({});
    filling_ = false;
    SetEditable(editable);
    setAccessibleDescription(shown);
    const bool wasEdited = edited_;
    edited_ = false;
    ApplyColor();
    if (wasEdited) emit editedChanged(false);
}

// A read-only declaration is still selected and copied with the mouse and
// the keys, but shows no caret that would suggest it can be typed into.
void DeclarationBox::SetEditable(bool editable) {
    editable_ = editable;
    setReadOnly(!editable);
    setTextInteractionFlags(editable ? Qt::TextEditorInteraction
                                     : Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setCursorWidth(editable ? 1 : 0);
}

void DeclarationBox::OnTextChanged() {
    if (filling_ || !editable_) return;
    emit textEdited();
    if (edited_) return;
    edited_ = true;
    ApplyColor();
    emit editedChanged(true);
}

void DeclarationBox::MarkFaultyLine(int line) {
    QList<QTextEdit::ExtraSelection> marks;
    const QTextBlock block = document()->findBlockByNumber(line - 1);
    if (line > 0 && block.isValid()) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(block);
        mark.cursor.select(QTextCursor::LineUnderCursor);
        mark.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        mark.format.setUnderlineColor(Qt::red);
        mark.format.setBackground(QColor(255, 230, 230));
        marks.append(mark);
    }
    setExtraSelections(marks);
}

void DeclarationBox::SetColors(unsigned normal, unsigned changed) {
    normal_ = normal;
    changed_ = changed;
    ApplyColor();
}

void DeclarationBox::ApplyColor() {
    QPalette p = palette();
    p.setColor(QPalette::Text, ColorOf(edited_ ? changed_ : normal_));
    setPalette(p);
    viewport()->update();
}

std::vector<std::string> DeclarationBox::Lines() const {
    std::vector<std::string> lines;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        lines.push_back(block.text().toStdString());
    return lines;
}

void DeclarationBox::CopyText() const { PutOnClipboard(ClipboardTextOfLines(Lines())); }

void DeclarationBox::CopyColorVector() const {
    if (colorVector_) PutOnClipboard(*colorVector_);
}

std::unique_ptr<QMenu> DeclarationBox::ContextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    const bool writable = !isReadOnly();
    const bool marked = textCursor().hasSelection();
    menu->addAction(QTr("&Undo"), QKeySequence::Undo, this, &QPlainTextEdit::undo)
        ->setEnabled(writable && document()->isUndoAvailable());
    menu->addSeparator();
    menu->addAction(QTr("Cu&t"), QKeySequence::Cut, this, &QPlainTextEdit::cut)
        ->setEnabled(writable && marked);
    menu->addAction(QTr("&Copy"), QKeySequence::Copy, this, &QPlainTextEdit::copy)->setEnabled(marked);
    menu->addAction(QTr("&Paste"), QKeySequence::Paste, this, &QPlainTextEdit::paste)
        ->setEnabled(writable && canPaste());
    menu->addSeparator();
    menu->addAction(QTr("Select &All"), QKeySequence::SelectAll, this, &QPlainTextEdit::selectAll)
        ->setEnabled(!document()->isEmpty());
    menu->addSeparator();
    QAction* copy = menu->addAction(QTr("Copy Te&xture"), this, &DeclarationBox::CopyText);
    QAction* rgb = menu->addAction(QTr("Copy &RGB Vector"), this, &DeclarationBox::CopyColorVector);
    copy->setEnabled(editable_);
    rgb->setEnabled(editable_ && colorVector_.has_value());
    return menu;
}

void DeclarationBox::contextMenuEvent(QContextMenuEvent* event) { ContextMenu()->exec(event->globalPos()); }

}  // namespace sc
