#pragma once
// The render bridge as the core uses it: this program's mailbox, POV-Ray's
// window and the render protocol. The core owns this interface and the bridge
// library implements it, so the core library links without the bridge and a
// front end (or a test) decides which bridge it hands in.
#include <cstdint>
#include <functional>
#include <string>

namespace sc {

// Show commands for POV-Ray's window, as the render host takes them.
inline constexpr int kPovShowMaximize = 3;
inline constexpr int kPovShowMinimize = 6;
inline constexpr int kPovShowNoActivate = 8;
inline constexpr int kPovShowRestore = 9;

// How a render ended: the value of a RenderDone message.
inline constexpr std::uint32_t kPovRenderCompleted = 0;
inline constexpr std::uint32_t kPovRenderFailed = 1;    // POV-Ray refused the scene (its message tells why)
inline constexpr std::uint32_t kPovRenderStopped = 2;   // stopped on request
inline constexpr std::uint32_t kPovRenderCrashed = 3;   // killed or crashed: says nothing about the scene
inline constexpr std::uint32_t kPovRenderTimedOut = 4;  // took longer than its time limit

// The class POV-Ray's main window is listed under.
inline constexpr char kPovWindowClass[] = "PovMainWinClass";

// A message the bridge delivered to this program's mailbox.
struct PovMessage {
    enum class Kind { Other, Row, RenderDone, RenderStep };
    Kind kind = Kind::Other;
    std::uint32_t value = 0;    // RenderDone: 0 for success, else the failure code
    std::uint32_t request = 0;  // the render request it belongs to (StartRender's id)
    int row = 0;                // Row: its number (0 at the top) and width in pixels
    int width = 0;
    std::string bytes;          // Row: three bytes a pixel; RenderDone: POV-Ray's message
};

class PovBridge {
public:
    virtual ~PovBridge() = default;

    // This program's mailbox: its window id (0 when the runtime folder is
    // unusable) and its socket, which becomes readable when messages wait (-1 when none).
    virtual std::uint32_t ClientWindow() = 0;
    virtual int ClientDescriptor() = 0;
    // Hands every message waiting in the mailbox to `handler`, without waiting; returns how many.
    virtual int TakeMessages(const std::function<void(const PovMessage&)>& handler) = 0;

    // POV-Ray's main window once its bridge has reported (0 when none or gone).
    virtual std::uint32_t PovWindow() = 0;
    // The first window listed under kPovWindowClass, reported or not (0 when none).
    virtual std::uint32_t ListedPovWindow() = 0;
    // Posts a show command or a close request to POV-Ray's window.
    virtual void ShowPovWindow(std::uint32_t pov, int showCommand) = 0;
    virtual void ClosePovWindow(std::uint32_t pov) = 0;

    // Adds (true) or takes back one enable request of the extension.
    virtual void EnableExtension(bool enable) = 0;
    virtual bool ExtensionEnabled() = 0;
    // Asks POV-Ray's editor to open `file`, at `line` when `withLine`; true when posted.
    virtual bool EditFile(const std::string& file, unsigned line, bool withLine) = 0;

    // Asks for one render whose rows and end go to `window`, without waiting:
    // it follows other programs' renders, replaces `window`'s own earlier one.
    // The request's id (carried by its messages), or 0 when nothing was posted.
    virtual std::uint32_t StartRender(std::uint32_t window, const std::string& scene, const std::string& options) = 0;
    // Stops the renders `window` asked for; returns `window` when it had none.
    virtual std::uint32_t StopRender(std::uint32_t window) = 0;
    // True while request `id` waits for its turn or renders.
    virtual bool RenderRequestActive(std::uint32_t id) = 0;
    // Lists (or unlists) `window` among the programs rendering with POV-Ray;
    // whether a living program other than `window` renders with it or is listed.
    virtual void AnnounceRenderUser(std::uint32_t window, bool present) = 0;
    virtual bool OtherRenderUsers(std::uint32_t window) = 0;
    // The folder the render host keeps its files in (its log goes there).
    virtual std::string HostFolder() = 0;
    // The plug-in file POV-Ray loads (for the render host's settings).
    virtual std::string PluginPath() = 0;
};

}  // namespace sc
