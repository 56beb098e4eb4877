#pragma once
// The dialog "Set Editor": files are opened in POV-Ray's editor (through
// the render host) or with a command line of the user's choice.
#include <QDialog>
#include <functional>

class QLineEdit;
class QRadioButton;

namespace sc {

class Settings;

class EditorDialog : public QDialog {
    Q_OBJECT
public:
    EditorDialog(bool editWithPov, const QString& editorCommand, QWidget* parent = nullptr);

    bool EditWithPov() const;
    QString EditorCommand() const;

    // The menu command "Edi&tor...": the hint first (while "Info"/"SetEditor"
    // is not 0), then the dialog; OK stores "Tools"/"Editor" and "EditWithPov"
    // in `settings` (kept in memory; the settings are written at exit).
    // `hint` shows the hint and returns whether it is to be suppressed.
    static bool Run(Settings& settings, QWidget* parent,
                    const std::function<bool(const QString&)>& hint);

private:
    void Browse();
    void UpdateEnables();

    QRadioButton* pov_;
    QRadioButton* other_;
    QLineEdit* command_;
};

}  // namespace sc
