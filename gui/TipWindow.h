#pragma once
// The tip window ("Tip of the Day"): one tip from tips.txt at a time, and the
// box that decides whether it opens at start-up.
#include <QDialog>

#include <string>

class QCheckBox;
class QLabel;

namespace sc {

class TipWindow : public QDialog {
    Q_OBJECT
public:
    TipWindow(std::string tipsPath, std::string settingsPath, QWidget* parent = nullptr);
    QString Tip() const;
    void done(int result) override;

private:
    void ShowNext();

    std::string tipsPath_;
    std::string settingsPath_;
    QLabel* tip_;
    QCheckBox* atStart_;
};

}  // namespace sc
