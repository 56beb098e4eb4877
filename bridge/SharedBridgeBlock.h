#pragma once
// The data block shared by every process that loads the bridge, kept in POSIX
// shared memory. Each word is written by one side before it posts the command
// that tells the other side to read it, so no locks are needed.
#include <atomic>
#include <cstdint>

#include "bridge/WindowMessage.h"

namespace sc::bridge {

inline constexpr std::size_t kScenePathSize = 264;
inline constexpr std::size_t kBlockCommandTextSize = 780;
inline constexpr int kRenderRequestSlots = 16;
inline constexpr int kRenderUserSlots = 32;

enum RequestState : std::int32_t {
    kRequestFree = 0,
    kRequestFilling,    // a requester is writing it
    kRequestWaiting,    // posted, waiting for its turn
    kRequestRunning,    // POV-Ray renders it
    kRequestWithdrawn,  // still running, but its requester no longer wants it
};

// One program's render request. Several programs may share one POV-Ray: each
// request carries its own scene, options and requester, and POV-Ray takes
// the waiting ones in the order of their ids, so a render never uses what
// another program wrote and its rows go only to the program that asked.
struct RenderRequest {
    std::atomic<std::int32_t> state;
    std::atomic<std::uint32_t> id;  // nonzero, unique while the block lives
    std::atomic<WindowId> client;
    std::atomic<std::int32_t> timeLimitSeconds;  // 0: none
    char scenePath[kScenePathSize];
    char commandText[kBlockCommandTextSize];
};

struct SharedBridgeBlock {
    std::atomic<WindowId> povWindow;     // POV-Ray's main window, 0 when none is recorded
    std::atomic<WindowId> clientWindow;  // the program window receiving rows and the end notice
    std::atomic<std::int32_t> enabled;
    std::atomic<std::int32_t> imageWidth;
    char scenePath[kScenePathSize];
    char commandText[kBlockCommandTextSize];
    // Row buffer of the render in progress; an address valid only inside the
    // render host, kept as an integer so all processes see one layout.
    std::atomic<std::uint64_t> rowBuffer;
    std::atomic<std::int32_t> rendering;
    std::atomic<std::int32_t> stopRequested;
    std::atomic<std::int32_t> enableCount;
    std::atomic<std::uint32_t> lastRenderId;
    std::atomic<std::uint32_t> runningRender;  // id of the request POV-Ray renders; 0 when none
    RenderRequest requests[kRenderRequestSlots];
    // Windows of the programs that render with this POV-Ray now and then; 0 marks a free place.
    std::atomic<WindowId> renderUsers[kRenderUserSlots];
};

// The block of this user's session, mapped on first use; all zero when no
// other living process had it mapped. Never null after a successful map; a
// process-local zeroed block stands in when shared memory cannot be had.
SharedBridgeBlock& SharedBlock();

// Unmaps the block and removes it when this was the last process using it.
void ReleaseSharedBlock();

}  // namespace sc::bridge
