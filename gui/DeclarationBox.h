#pragma once
// The declaration text box of the preview pane: the current entry's
// declaration in a fixed-pitch font, editable when there is one. The first
// change by the user marks it edited and draws it in the "changed" colour;
// a render then uses the edited text.
#include <QPlainTextEdit>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QMenu;

namespace sc {

class DeclarationBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit DeclarationBox(QWidget* parent = nullptr);

    // Shows a text (CR LF line ends); `editable` false makes it read-only
    // ("NOT AVAILABLE", or empty). Ends the edited state.
    void ShowText(const std::string& text, bool editable);
    // The RGB vector offered by the context menu; none for other kinds.
    void SetColorVector(std::optional<std::string> vector) { colorVector_ = std::move(vector); }

    bool Edited() const { return edited_; }
    bool HasDeclaration() const { return editable_; }
    // The box's lines as they stand (edits included), without line ends.
    std::vector<std::string> Lines() const;
    // The two colours of the text (normal, edited), as 0xBBGGRR.
    void SetColors(unsigned normal, unsigned changed);

    // Underlines line `line` (from 1) as the place of a fault; 0 removes the mark.
    void MarkFaultyLine(int line);

    // Puts the box's current text on the clipboard, each line ending in a line feed.
    void CopyText() const;
    void CopyColorVector() const;
    // The context menu: a text box's own items (undo, cut, copy, paste, select all), then the two copy items.
    std::unique_ptr<QMenu> ContextMenu();

signals:
    void editedChanged(bool edited);
    // The user changed the text (every change, not only the first).
    void textEdited();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void SetEditable(bool editable);
    void OnTextChanged();
    void ApplyColor();

    bool edited_ = false;
    bool editable_ = false;
    bool filling_ = false;
    unsigned normal_ = 0;
    unsigned changed_ = 0x0000ff;
    std::optional<std::string> colorVector_;
};

// Puts plain text on the clipboard; a clipboard that cannot take it is left alone.
void PutOnClipboard(const std::string& text);

}  // namespace sc
