#include "gui/AccessibleNames.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

namespace sc {
namespace {

QString OwnText(QWidget* w) {
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return PlainText(button->text());
    if (auto* group = qobject_cast<QGroupBox*>(w)) return PlainText(group->title());
    return {};
}

constexpr char kReadable[] = "swatchcraftReadableText";

// A readable label's accessible side: static text whose name is its text,
// with the text interface screen readers use to read and re-read it.
class ReadableLabel : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ReadableLabel(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name || t == QAccessible::Value) return Label()->text();
        return QAccessibleWidget::text(t);
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The text is read-only and has no caret or selection.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return Label()->text().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(Label()->text().size()); }
    QRect characterRect(int offset) const override {
        const QFontMetrics metrics(Label()->font());
        const QString t = Label()->text();
        const int x = metrics.horizontalAdvance(t.left(offset));
        const QPoint origin = Label()->mapToGlobal(QPoint(0, 0));
        return {origin.x() + x, origin.y(), metrics.horizontalAdvance(t.mid(offset, 1)), metrics.height()};
    }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    QLabel* Label() const { return static_cast<QLabel*>(widget()); }
};

QAccessibleInterface* ReadableFactory(const QString&, QObject* object) {
    auto* label = qobject_cast<QLabel*>(object);
    if (label && label->property(kReadable).toBool()) return new ReadableLabel(label);
    return nullptr;
}

}  // namespace

QString PlainText(const QString& text) {
    QString plain = text;
    plain.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    plain.remove(QLatin1Char('&'));
    plain.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return plain.trimmed();
}

void NameControls(QWidget* dialog) {
    for (QLabel* label : dialog->findChildren<QLabel*>())
        if (QWidget* buddy = label->buddy(); buddy && buddy->accessibleName().isEmpty())
            buddy->setAccessibleName(PlainText(label->text()).remove(QLatin1Char(':')));
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (!w->accessibleName().isEmpty()) continue;
        QString name = OwnText(w);
        if (name.isEmpty()) name = w->toolTip();
        if (!name.isEmpty()) w->setAccessibleName(name);
    }
}

void MakeTextReadable(QLabel* label, const QString& role) {
    static const bool installed = [] {
        QAccessible::installFactory(ReadableFactory);
        return true;
    }();
    (void)installed;
    label->setProperty(kReadable, true);
    label->setAccessibleName({});
    label->setAccessibleDescription(role);
}

void SetReadableText(QLabel* label, const QString& text) {
    const QString old = label->text();
    if (old == text) return;
    label->setText(text);
    if (!QAccessible::isActive()) return;
    QAccessibleTextUpdateEvent update(label, 0, old, text);
    QAccessible::updateAccessibility(&update);
}

QStringList UnnamedControls(QWidget* dialog) {
    QStringList unnamed;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (w->focusPolicy() == Qt::NoFocus || !w->accessibleName().isEmpty()) continue;
        // Popups (a combo box's list) are windows of their own, named by the control that opens them.
        if (w->window() != dialog) continue;
        // Parts of composite controls (a combo box's view, a scroll area's viewport) are named by their owner.
        if (w->parentWidget() && w->parentWidget() != dialog && !w->parentWidget()->accessibleName().isEmpty() &&
            !qobject_cast<QAbstractButton*>(w) && w->parentWidget()->focusPolicy() != Qt::NoFocus)
            continue;
        unnamed << (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName());
    }
    return unnamed;
}

}  // namespace sc
