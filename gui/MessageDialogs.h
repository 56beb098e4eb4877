#pragma once
// The two message dialogs whose box suppresses them next time: the hint
// ("OK", "Do not show this &again") and the question ("&Yes", "&No" as the
// default, "Nicht &erneut fragen"). The caller reads the box afterwards.
#include <QDialog>

#include <functional>
#include <string>

class QCheckBox;

namespace sc {

class HintDialog : public QDialog {
    Q_OBJECT
public:
    explicit HintDialog(const QString& text, QWidget* parent = nullptr);
    bool DontShowAgain() const;

protected:
    QCheckBox* box_;
};

class AskDialog : public QDialog {
    Q_OBJECT
public:
    explicit AskDialog(const QString& text, QWidget* parent = nullptr);
    bool DontAskAgain() const;
    // True when "&Yes" ended the dialog.
    bool Yes() const { return result() == QDialog::Accepted; }

private:
    QCheckBox* box_;
};

// The message when the settings could not be stored in the file at `path`.
std::string SettingsNotWrittenText(const std::string& path);

// Runs a dialog modally, or through the test hook when one is set.
int ExecDialog(QDialog& dialog);
using DialogHook = std::function<void(QDialog&)>;
void SetDialogHook(DialogHook hook);

}  // namespace sc
