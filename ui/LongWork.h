#pragma once
// Where the document's long work (reading and writing list files) runs. The
// window runs it on a worker and hands the end back to its own thread; the
// default runs it here and now, which is what the command-line tool and the
// tests of the document's logic need.
#include <functional>

namespace sc {

class UserInterface;

class LongWork {
public:
    virtual ~LongWork() = default;
    // Runs `work` (which must touch nothing the window's thread uses; it
    // reports through the UserInterface it is given and ends early when that
    // is cancelled), then `done` on the caller's thread. One at a time.
    virtual void Run(std::function<void(UserInterface&)> work, std::function<void()> done) = 0;
};

// Runs the work at once, on the caller's thread, through `ui`.
class DirectWork : public LongWork {
public:
    explicit DirectWork(UserInterface& ui) : ui_(ui) {}
    void Run(std::function<void(UserInterface&)> work, std::function<void()> done) override {
        work(ui_);
        if (done) done();
    }

private:
    UserInterface& ui_;
};

}  // namespace sc
