#pragma once
// The dialog "Language": the window's language as the system's, German or
// English, taken at the next start.
#include <QDialog>
#include <string>

class QRadioButton;

namespace sc {

class LanguageDialog : public QDialog {
    Q_OBJECT
public:
    // `choice` as the settings keep it: "" (as the system), "de", "en".
    explicit LanguageDialog(const std::string& choice, QWidget* parent = nullptr);
    std::string Choice() const;

private:
    QRadioButton* system_;
    QRadioButton* german_;
    QRadioButton* english_;
};

}  // namespace sc
