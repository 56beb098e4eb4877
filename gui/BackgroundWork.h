#pragma once
// Long work off the window's thread: the work runs on a worker with data it
// owns, its progress reaches the window through a WorkerInterface, and its
// end is handed to the window's thread, which applies the result in one step.
// Destroying a BackgroundWork (the window closing) stops the worker, waits
// for it and drops the result, so nothing the work holds outlives the window.
#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <stop_token>
#include <string>
#include <thread>

#include "platform/UserInterface.h"
#include "ui/LongWork.h"

namespace sc {

// What long work sees of the user on a worker thread: its texts and progress
// go, in order, to `target` on the window's thread; it is cancelled by its
// own flag or by `target`'s (Escape). It asks nothing: questions get their
// default answer (the work run on workers has none) and messages are shown
// by `target` later.
class WorkerInterface : public UserInterface {
public:
    // `context` lives on the window's thread; calls reach `target` only while it exists.
    WorkerInterface(UserInterface& target, QObject* context);

    void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) override;
    Answer Ask(const std::string&, QuestionButtons, Answer defaultAnswer, MessageIcon, const std::string&) override {
        return defaultAnswer;
    }
    int Choose(const std::string&, const std::vector<std::string>&, int defaultIndex, MessageIcon,
               const std::string&) override {
        return defaultIndex;
    }
    void SetStatusText(const std::string& text) override;
    void SetProgressRange(int range) override;
    void SetProgressPosition(int position) override;
    void StepProgress() override;
    void HideProgress() override;
    bool IsCancelled() const override {
        return stop_.stop_requested() || UserInterface::IsCancelled() || target_.IsCancelled();
    }
    // The worker's token: the work also ends when the worker is told to stop.
    // Set on the worker before the work starts.
    void SetStopToken(std::stop_token stop) { stop_ = std::move(stop); }

protected:
    void Post(std::function<void(UserInterface&)> call);
    // Runs `call` on the window's thread and waits for its result; `fallback`
    // when the worker is told to stop first or the window is gone.
    template <class Result>
    Result WaitFor(std::function<Result(UserInterface&)> call, Result fallback);

private:
    // The worker's own count of its steps: the window hears of it only when
    // the bar would move, not once per step.
    int range_ = 0;
    int position_ = 0;
    int shownPosition_ = -1;

    UserInterface& target_;
    QPointer<QObject> context_;
    std::stop_token stop_;
};

// What work that asks while it runs (the overview writer) sees of the user:
// each message and question is shown on the window's thread, in order with
// the progress, and the worker waits until the user has answered. Told to
// stop meanwhile, it goes on with the question's default answer.
class AskingWorkerInterface : public WorkerInterface {
public:
    using WorkerInterface::WorkerInterface;

    void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) override;
    Answer Ask(const std::string& text, QuestionButtons buttons, Answer defaultAnswer, MessageIcon icon,
               const std::string& title) override;
    int Choose(const std::string& text, const std::vector<std::string>& buttons, int defaultIndex, MessageIcon icon,
               const std::string& title) override;
};

class BackgroundWork : public QObject {
    Q_OBJECT
public:
    explicit BackgroundWork(QObject* parent = nullptr);
    ~BackgroundWork() override;

    // Runs `work` on a worker thread, then `done` on this object's thread,
    // unless Stop() came first. One piece of work at a time.
    void Start(std::function<void(std::stop_token)> work, std::function<void()> done);
    // Tells the work to stop and drops its end; returns at once.
    void Stop();
    bool Running() const { return running_; }

private:
    std::jthread worker_;
    std::function<void()> done_;
    quint64 serial_ = 0;
    bool running_ = false;
};

// The window's LongWork: the work runs on a worker and reports to `target`;
// its end comes back on the window's thread. Destroying it stops the work
// and drops its end.
class BackgroundLongWork : public LongWork {
public:
    BackgroundLongWork(UserInterface& target, QObject* context) : target_(target), context_(context) {}
    void Run(std::function<void(UserInterface&)> work, std::function<void()> done) override;
    bool Running() const { return work_.Running(); }

private:
    UserInterface& target_;
    QObject* context_;
    BackgroundWork work_;
};

}  // namespace sc
