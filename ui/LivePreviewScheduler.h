#pragma once
// When the preview follows the declaration box while the user types: a
// render starts once the text has rested for 200 ms, an edit stops
// the render in flight, and nothing ever queues up (one render at most, of
// the text as it last stood). It also keeps what the pane shows meanwhile:
// after a failed render the last good picture, dimmed, and POV-Ray's error,
// until a render succeeds again. Times are milliseconds of any steady clock;
// the window's timer asks when to look again.
#include <cstdint>
#include <string>

namespace sc {

class LivePreviewScheduler {
public:
    // Short enough that the first picture comes within 0.4 s of the last key
    // (a POV-Ray waits for the scene, so only parsing and tracing remain,
    // 0.1 to 0.2 s), long enough that brisk typing starts nothing; a render
    // started between slower keys is stopped by the next one.
    static constexpr int kQuietMs = 200;

    // The side of the first live picture in a picture area of `paneSide`: a
    // large area gets a draft at about half its side first (POV-Ray's time
    // grows with the pixels), and the full picture after it.
    static int FirstSide(int paneSide);

    // The box's text changed at `nowMs`. True when a render is in flight:
    // the caller stops it (its picture would show text that is gone).
    bool Edited(std::int64_t nowMs);
    // Milliseconds until StartDue says yes (0: now), -1 when nothing waits.
    int MillisecondsToStart(std::int64_t nowMs) const;
    // True once when the text has rested long enough: the caller starts one
    // render of the text as it stands now.
    bool StartDue(std::int64_t nowMs);
    // The render ended with a picture (the pane shows it, bright).
    void Succeeded();
    // The render failed; `error` is what the pane shows over the dimmed picture.
    void Failed(std::string error);
    // The render was stopped from outside (Escape) or another entry is shown:
    // nothing waits or renders any more; the shown state stays.
    void Stop();
    // Another entry is shown: no picture of this text any more, no error.
    void Reset();

    bool Waiting() const { return waiting_; }
    bool Rendering() const { return rendering_; }
    // The pane's picture is the last good one, dimmed, while the text fails.
    bool Dimmed() const { return !error_.empty(); }
    const std::string& Error() const { return error_; }

private:
    bool waiting_ = false;
    bool rendering_ = false;
    std::int64_t lastEditMs_ = 0;
    std::string error_;
};

}  // namespace sc
