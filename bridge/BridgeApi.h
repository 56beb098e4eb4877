#pragma once
// What the bridge offers the program: the six calls of the render protocol,
// the entry point POV-Ray (the render host) loads it by, and the program's
// side of the message exchange (its own window endpoint and a dispatcher).
#include <cstdint>
#include <functional>
#include <string>

#include "bridge/GuiExtensionInterface.h"
#include "bridge/WindowMessage.h"

#define SC_BRIDGE_API __attribute__((visibility("default")))

extern "C" {

// Adds (enable nonzero) or takes back one enable request, switches the
// extension on while any are outstanding, and tells POV-Ray; nonzero when posted.
SC_BRIDGE_API int EnableExtension(int enable);

// POV-Ray's main window, or 0 when none is known or it is gone.
SC_BRIDGE_API std::uint32_t GetPovWindow();

// Nonzero while the extension is switched on.
SC_BRIDGE_API int IsPGEEnabled();

// Asks POV-Ray's editor to open `text`, at `line` when withLine is set;
// nonzero when posted.
SC_BRIDGE_API int PovEditFile(const char* text, unsigned line, int withLine);

// Asks for one render of `sceneFile` with `options` whose rows and end
// notice go to `window`. A render `window` asked for before gives way to it;
// other programs' renders keep their turn, and this one follows them.
// Returns the request's id (positive; every row and notice of this render
// carries it as lParam), or 0 when nothing was posted.
SC_BRIDGE_API int PovStartRender(std::uint32_t window, const char* sceneFile, const char* options);

// Stops the renders that `window` asked for (0: whatever POV-Ray renders);
// no end notice follows. Returns `window` when it had none (nothing done), else 0.
SC_BRIDGE_API std::uint32_t PovStopRender(std::uint32_t window);

// The GUI-extension entry point: fills POV-Ray's pointer block; 1 on success.
SC_BRIDGE_API int PovGuiExtensionGetPointers(int size, sc::bridge::GuiExtPointers* pointers);

}  // extern "C"

namespace sc::bridge {

// This process's window for the bridge's messages (opened on first use); 0
// when the runtime folder is unusable.
SC_BRIDGE_API WindowId ClientWindow();

// The socket of ClientWindow, for event loops that wait on it (-1 when none).
SC_BRIDGE_API int ClientDescriptor();

// Lists this process's window under a window class (the program uses
// "SwatchcraftDlg"), so others can find it.
SC_BRIDGE_API bool RegisterClientClass(const char* className);

using MessageHandler = std::function<void(const WindowMessage&)>;

// The handler that receives the messages arriving at ClientWindow.
SC_BRIDGE_API void SetMessageHandler(MessageHandler handler);

// Called on every pass of the bridge's waits, so the caller's interface stays alive.
SC_BRIDGE_API void SetPumpHook(std::function<void()> hook);

// Hands every message waiting at ClientWindow to the handler, waiting up to
// `timeoutMs` for the first; returns the number handled.
SC_BRIDGE_API int DispatchMessages(int timeoutMs = 0);

// Posts a message to any window; false when it does not exist.
SC_BRIDGE_API bool PostToWindow(WindowId to, const WindowMessage& message);

// A living window of the class, or 0.
SC_BRIDGE_API WindowId FindWindowOfClass(const char* className);

// True while the window exists (its process lives).
SC_BRIDGE_API bool WindowExists(WindowId window);

// The window the running render reports to (0 when none).
SC_BRIDGE_API WindowId RenderClientWindow();

// True while the request `id` (PovStartRender's result) waits for its turn
// or renders; false once it ended, was stopped or was lost with POV-Ray.
SC_BRIDGE_API bool RenderRequestActive(std::uint32_t id);

// The time POV-Ray may take for each render this process asks for from now
// on; POV-Ray is stopped then and the end notice says kRenderTimedOut. 0: no limit.
SC_BRIDGE_API void SetRenderTimeLimit(int seconds);

// Lists (or unlists) `window` among the programs that render with POV-Ray,
// so none of them closes a POV-Ray another one still uses.
SC_BRIDGE_API void AnnounceRenderUser(WindowId window, bool present);

// True when a living program other than `window` renders with POV-Ray or
// has listed itself as doing so.
SC_BRIDGE_API bool OtherRenderUsers(WindowId window);

// POV-Ray's own message about the last render that failed (empty after a
// successful one), as the render host kept it.
SC_BRIDGE_API std::string PovErrorText();

// Where the render host keeps that message.
SC_BRIDGE_API std::string PovErrorFile();

// The full path of the loaded bridge library (swbridge.pge).
SC_BRIDGE_API std::string BridgeModulePath();

// Receives the bridge's message boxes (text, caption); they go to standard
// error when no sink is set. A question sink answers OK/Cancel questions.
SC_BRIDGE_API void SetBridgeMessageSink(std::function<void(const std::string&, const std::string&)> sink);
SC_BRIDGE_API void SetBridgeQuestionSink(std::function<bool(const std::string&, const std::string&)> sink);

}  // namespace sc::bridge
