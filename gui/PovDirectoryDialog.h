#pragma once
// The dialog "Change POV-Ray Folder": a folder with a "Dir" browse
// button, the two version radios and the list of installed versions. The
// decisions are PovDirectoryChoice's; the dialog mirrors its state.
#include <QDialog>

#include "povray/PovDirectoryChoice.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace sc {

class PovDirectoryDialog : public QDialog {
    Q_OBJECT
public:
    PovDirectoryDialog(const PovInstallation& record, const PovInstallationRecords& records, UserInterface& ui,
                       QWidget* parent = nullptr);
    const PovInstallation& Result() const { return choice_.Result(); }
    PovDirectoryChoice& Choice() { return choice_; }

    QLineEdit* HomeEdit() const { return home_; }
    QListWidget* VersionList() const { return list_; }
    QRadioButton* Radio30() const { return radio30_; }
    QRadioButton* Radio31() const { return radio31_; }

    void accept() override;

private:
    void Mirror();
    void Browse();

    PovDirectoryChoice choice_;
    QLineEdit* home_;
    QPushButton* browse_;
    QRadioButton* radio30_;
    QRadioButton* radio31_;
    QListWidget* list_;
    bool mirroring_ = false;
};

}  // namespace sc
