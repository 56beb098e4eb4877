#pragma once
// The dialog "Farben": the colours of the declaration text, as shown
// ("&Normal:") and once edited ("&Changed:").
#include <QDialog>

#include "ui/Settings.h"

namespace sc {

class ColorButton;

class ColorsDialog : public QDialog {
    Q_OBJECT
public:
    ColorsDialog(RgbColor normal, RgbColor changed, QWidget* parent = nullptr);
    RgbColor Normal() const;
    RgbColor Changed() const;
    ColorButton* NormalButton() const { return normal_; }
    ColorButton* ChangedButton() const { return changed_; }

private:
    ColorButton* normal_;
    ColorButton* changed_;
};

}  // namespace sc
