#pragma once
// The dialog "Einstellungen für POV-Ray": the five render host settings the
// bridge needs, each with a box to keep the change after the program ends.
#include <QDialog>
#include <array>

#include "povray/PovConfiguration.h"

class QCheckBox;
class QLabel;

namespace sc {

class PovConfigurationDialog : public QDialog {
    Q_OBJECT
public:
    PovConfigurationDialog(const PovSettingFlags& right, const PovSettingFlags& keep, QWidget* parent = nullptr);
    PovSettingFlags Keep() const;

private:
    std::array<QLabel*, kPovSettingCount> labels_{};
    std::array<QCheckBox*, kPovSettingCount> keep_{};
};

// Shows the dialog for the configuration's check before a render run.
class PovConfigurationDialogRunner : public PovSettingsDialog {
public:
    explicit PovConfigurationDialogRunner(QWidget* parent) : parent_(parent) {}
    bool Run(const PovSettingFlags& right, PovSettingFlags& keep) override;

private:
    QWidget* parent_;
};

}  // namespace sc
