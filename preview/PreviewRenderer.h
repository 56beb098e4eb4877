#pragma once
// The preview window's render side without the widget: starts renders
// through the bridge, takes the rows the bridge sends into the frame buffer
// and passes the render's start, end and progress on to its listener (the
// render run). The widget draws what it is told through the listener. A start
// that must wait for POV-Ray to come up goes on in the launcher's timers;
// nothing here blocks or pumps.
#include <cstdint>
#include <memory>
#include <utility>
#include <string>

#include "preview/FrameBuffer.h"

namespace sc {

class PovBridge;
class PovLauncher;
class UserInterface;
struct PovMessage;

// The command text a preview render is started with: the picture size, then `options`.
std::string PreviewCommandLine(int width, int height, const std::string& options);

// What the render run needs of the preview window.
class PreviewTarget {
public:
    // StartRender's answer when the start goes on in the background.
    static constexpr int kStartPending = -1;

    virtual ~PreviewTarget() = default;
    // 0 when the render was handed to POV-Ray, kStartPending when the
    // listener hears the outcome later through OnRenderStarted, else a
    // nonzero failure code (whoever failed has told the user).
    virtual int StartRender(const std::string& sceneFile, const std::string& options) = 0;
    // Stops the render, or abandons a start still under way (then no OnRenderStarted follows).
    virtual void StopRender() = 0;
    virtual const FrameBuffer& Frame() const = 0;
    // False once the renderer is gone (its process ended).
    virtual bool RendererAlive() const = 0;
    // POV-Ray's message about the last failed render, or empty.
    virtual std::string RendererError() const = 0;
    // True while POV-Ray holds no request of this window's render any more
    // (it was lost, or its end is under way).
    virtual bool RenderTakenOver() const { return false; }
};

// Receives what arrives from the bridge.
class PreviewRenderListener {
public:
    virtual ~PreviewRenderListener() = default;
    // The outcome of a start that StartRender left pending: 0 or a failure code.
    virtual void OnRenderStarted(int /*result*/) {}
    virtual void OnRenderDone(std::uint32_t value) = 0;
    virtual void OnRenderStep() = 0;
    // A row was stored in the frame buffer (the widget draws it).
    virtual void OnRowStored(int /*row*/) {}
};

class PreviewRenderer : public PreviewTarget {
public:
    // Switches the bridge's extension on (one enable request) and lists the
    // window among POV-Ray's users. `launcher` starts POV-Ray when none runs;
    // may be null (then no start). Everything is borrowed and must outlive the renderer.
    PreviewRenderer(UserInterface& ui, PovBridge& bridge, PovLauncher* launcher);
    // Stops a render this window asked for.
    ~PreviewRenderer() override;
    PreviewRenderer(const PreviewRenderer&) = delete;
    PreviewRenderer& operator=(const PreviewRenderer&) = delete;

    void SetListener(PreviewRenderListener* listener) { listener_ = listener; }

    // The picture area (116 x 116, or 56 x 56 in small mode).
    void SetPictureSize(int width, int height) { frame_.SetSize(width, height); }
    // Puts back a frame kept earlier (its size and its rows).
    void SetFrame(FrameBuffer frame) { frame_ = std::move(frame); }

    int StartRender(const std::string& sceneFile, const std::string& options) override;
    void StopRender() override;
    const FrameBuffer& Frame() const override { return frame_; }
    bool RendererAlive() const override;
    std::string RendererError() const override;
    bool RenderTakenOver() const override;
    // True while a start goes on in the background.
    bool Starting() const { return state_ != StartState::None; }

    // Handles one message the bridge delivered; true when it was one of the
    // renderer's. Rows and ends of any render but the one this window asked
    // for last are dropped.
    bool HandleMessage(const PovMessage& message);
    // Takes every message waiting at the bridge, without waiting; returns how many.
    int DeliverMessages();

    // The window the bridge sends rows to.
    std::uint32_t Window() const { return window_; }

private:
    enum class StartState { None, WaitingForPov };

    // Tells a callback whether the start it belongs to is still the current one.
    class StartTicket {
    public:
        explicit StartTicket(const std::shared_ptr<int>& number) : number_(number), current_(*number) {}
        bool Current() const;

    private:
        std::weak_ptr<int> number_;
        int current_;
    };

    void OnPovReported(int result);
    int ContinueStart();
    void AbandonStart();

    UserInterface& ui_;
    PovBridge& bridge_;
    PovLauncher* launcher_;
    PreviewRenderListener* listener_ = nullptr;
    FrameBuffer frame_;
    std::uint32_t window_ = 0;
    std::uint32_t renderId_ = 0;  // the render asked for last; 0 when none
    std::string error_;           // POV-Ray's message that came with its end

    StartState state_ = StartState::None;
    std::string scene_;
    std::string command_;
    // The current start's number, shared with callbacks that may outlive this renderer.
    std::shared_ptr<int> startNumber_ = std::make_shared<int>(0);
};

}  // namespace sc
