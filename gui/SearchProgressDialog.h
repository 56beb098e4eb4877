#pragma once
// The progress dialog of the texture search ("Searching for Textures"): an
// animation, four text lines, a progress bar and "Cancel". It is the
// search's user interface while the search runs: the search's texts land
// on their lines, its questions go on to the window's interface.
#include <QDialog>

#include <memory>

#include "gui/ProgressSteps.h"

#include "platform/UserInterface.h"

class QLabel;
class QProgressBar;

namespace sc {

class SearchAnimation;

class SearchProgressDialog : public QDialog, public UserInterface {
    Q_OBJECT
public:
    // `outer` answers the questions and messages; `parent` is the owner it is centred on.
    SearchProgressDialog(UserInterface& outer, QWidget* parent = nullptr);
    ~SearchProgressDialog() override;

    void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) override;
    Answer Ask(const std::string& text, QuestionButtons buttons, Answer defaultAnswer, MessageIcon icon,
               const std::string& title) override;
    int Choose(const std::string& text, const std::vector<std::string>& buttons, int defaultIndex, MessageIcon icon,
               const std::string& title) override;
    // The counting, the folder and the file being searched, and the result
    // go to their lines.
    void SetStatusText(const std::string& text) override;
    void SetProgressRange(int range) override;
    void SetProgressPosition(int position) override;
    void StepProgress() override;
    void HideProgress() override {}

    QString Line(int index) const;  // 0 to 3
    bool Searching() const { return searching_; }

protected:
    void reject() override;  // "Cancel" and Escape only ask the search to stop

private:
    void StartSearching();
    void Centre();

    UserInterface& outer_;
    SearchAnimation* animation_;
    QLabel* lines_[4];
    QProgressBar* progress_;
    std::unique_ptr<ProgressSteps> steps_;
    QString directory_;
    bool searching_ = false;
};

}  // namespace sc
