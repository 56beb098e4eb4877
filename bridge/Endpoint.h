#pragma once
// A process's mailbox: a Unix datagram socket in the user's runtime folder,
// known to other processes by a 32-bit id (the stand-in for a window handle).
// An endpoint whose process is gone counts as a window that no longer exists.
#include <string>
#include <string_view>

#include "bridge/WindowMessage.h"

namespace sc::bridge {

// The file in the runtime folder where the render host with the window
// `host` keeps POV-Ray's message about its last failed render.
std::string PovErrorFileOf(WindowId host);

class Endpoint {
public:
    Endpoint() = default;
    ~Endpoint();
    Endpoint(const Endpoint&) = delete;
    Endpoint& operator=(const Endpoint&) = delete;

    // Binds a socket under a fresh id and, when `className` is given, lists it
    // under that window class; false when the runtime folder is unusable.
    bool Open(std::string_view className = {});
    // Removes the socket and its class entry.
    void Close();

    bool IsOpen() const { return fd_ >= 0; }
    WindowId Id() const { return id_; }
    // The socket, for event loops that wait on it.
    int Descriptor() const { return fd_; }

    // Takes the next message, waiting up to `timeoutMs` (0: no wait, negative:
    // forever); false when none arrived.
    bool Receive(WindowMessage& message, int timeoutMs);

    // Delivers a message to another endpoint, with this endpoint as sender.
    bool Post(WindowId to, WindowMessage message) const;

    // Delivers a message from any process, endpoint or not; false when the
    // receiver does not exist or stays unable to take it for seconds.
    static bool PostFrom(WindowId from, WindowId to, const WindowMessage& message);

    // True when an endpoint with this id exists and its process lives.
    static bool Exists(WindowId id);

    // A living endpoint listed under the window class, or 0.
    static WindowId FindByClass(std::string_view className);

    // The folder holding the sockets: $XDG_RUNTIME_DIR/swatchcraft (or a
    // private folder in /tmp when the variable is unset); created on demand.
    static std::string RuntimeFolder();

private:
    static std::string SocketPath(WindowId id);

    int fd_ = -1;
    WindowId id_ = 0;
    std::string classFile_;
};

}  // namespace sc::bridge
