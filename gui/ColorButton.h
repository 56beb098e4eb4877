#pragma once
// A push button showing a colour swatch (cross-hatched without a colour); a
// click opens the colour chooser preset with it, and OK keeps the choice.
#include <QPushButton>

#include <optional>

namespace sc {

class ColorButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColorButton(QWidget* parent = nullptr);
    void SetColor(std::optional<QColor> color);
    std::optional<QColor> Color() const { return color_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Choose();
    std::optional<QColor> color_;
};

}  // namespace sc
