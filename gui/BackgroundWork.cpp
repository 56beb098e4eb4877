#include "gui/BackgroundWork.h"

#include <QMetaObject>

#include <chrono>
#include <future>
#include <memory>

namespace sc {

namespace {
constexpr int kMaxMoves = 400;
}  // namespace

WorkerInterface::WorkerInterface(UserInterface& target, QObject* context) : target_(target), context_(context) {}

void WorkerInterface::Post(std::function<void(UserInterface&)> call) {
    QObject* context = context_.data();
    if (!context) return;
    // Queued: the calls arrive in the order the work made them.
    QMetaObject::invokeMethod(context, [&target = target_, call = std::move(call)] { call(target); },
                              Qt::QueuedConnection);
}

void WorkerInterface::ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) {
    Post([=](UserInterface& ui) { ui.ShowMessage(text, icon, title); });
}

void WorkerInterface::SetStatusText(const std::string& text) {
    Post([=](UserInterface& ui) { ui.SetStatusText(text); });
}

void WorkerInterface::SetProgressRange(int range) {
    range_ = range;
    shownPosition_ = -1;
    Post([=](UserInterface& ui) { ui.SetProgressRange(range); });
}

void WorkerInterface::SetProgressPosition(int position) {
    position_ = position;
    shownPosition_ = position;
    Post([=](UserInterface& ui) { ui.SetProgressPosition(position); });
}

void WorkerInterface::StepProgress() {
    ++position_;
    if (range_ <= kMaxMoves) {
        Post([](UserInterface& ui) { ui.StepProgress(); });
        return;
    }
    // A long run moves the bar a few hundred times, not once per step; the
    // step itself still reaches the target, as it may mean more than the bar.
    const int unit = range_ / kMaxMoves;
    if (shownPosition_ >= 0 && position_ / unit == shownPosition_ / unit && position_ < range_) return;
    shownPosition_ = position_;
    Post([position = position_](UserInterface& ui) {
        ui.SetProgressPosition(position - 1);
        ui.StepProgress();
    });
}

void WorkerInterface::HideProgress() {
    Post([](UserInterface& ui) { ui.HideProgress(); });
}

template <class Result>
Result WorkerInterface::WaitFor(std::function<Result(UserInterface&)> call, Result fallback) {
    auto answer = std::make_shared<std::promise<Result>>();
    std::future<Result> future = answer->get_future();
    QObject* context = context_.data();
    if (!context) return fallback;
    QMetaObject::invokeMethod(
        context, [&target = target_, call = std::move(call), answer] { answer->set_value(call(target)); },
        Qt::QueuedConnection);
    // Not a blocking call: the window may be closing and waiting for this worker.
    while (future.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
        if (stop_.stop_requested()) return fallback;
    return future.get();
}

void AskingWorkerInterface::ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) {
    WaitFor<bool>(
        [=](UserInterface& ui) {
            ui.ShowMessage(text, icon, title);
            return true;
        },
        false);
}

Answer AskingWorkerInterface::Ask(const std::string& text, QuestionButtons buttons, Answer defaultAnswer,
                                  MessageIcon icon, const std::string& title) {
    return WaitFor<Answer>([=](UserInterface& ui) { return ui.Ask(text, buttons, defaultAnswer, icon, title); },
                           defaultAnswer);
}

int AskingWorkerInterface::Choose(const std::string& text, const std::vector<std::string>& buttons, int defaultIndex,
                                  MessageIcon icon, const std::string& title) {
    return WaitFor<int>([=](UserInterface& ui) { return ui.Choose(text, buttons, defaultIndex, icon, title); },
                        defaultIndex);
}

BackgroundWork::BackgroundWork(QObject* parent) : QObject(parent) {}

BackgroundWork::~BackgroundWork() {
    worker_.request_stop();
    if (worker_.joinable()) worker_.join();
}

void BackgroundWork::Start(std::function<void(std::stop_token)> work, std::function<void()> done) {
    Stop();
    done_ = std::move(done);
    running_ = true;
    const quint64 serial = ++serial_;
    // Assigning joins a worker told to stop before.
    worker_ = std::jthread([this, serial, work = std::move(work)](std::stop_token stop) {
        work(stop);
        if (stop.stop_requested()) return;
        QMetaObject::invokeMethod(
            this,
            [this, serial] {
                if (serial != serial_ || !running_) return;
                running_ = false;
                auto done = std::move(done_);
                done_ = nullptr;
                if (done) done();
            },
            Qt::QueuedConnection);
    });
}

void BackgroundWork::Stop() {
    worker_.request_stop();
    running_ = false;
    done_ = nullptr;
}

void BackgroundLongWork::Run(std::function<void(UserInterface&)> work, std::function<void()> done) {
    auto ui = std::make_shared<WorkerInterface>(target_, context_);
    work_.Start(
        [ui, work = std::move(work)](std::stop_token stop) {
            ui->SetStopToken(stop);
            work(*ui);
        },
        std::move(done));
}

}  // namespace sc
