#pragma once
// The render requests in the shared block, as both copies of the bridge use
// them: the program's copy files and withdraws its own, POV-Ray's copy takes
// them in turn. Slots change hands only by compare-and-swap of their state,
// so two programs never fill or take the same slot.
#include <cstdint>
#include <string_view>

#include "bridge/SharedBridgeBlock.h"

namespace sc::bridge {

// A new request id: nonzero and fitting a positive int (PovStartRender's result).
std::uint32_t NextRenderId(SharedBridgeBlock& block);

// A free slot, now being filled by the caller; slots left waiting by a
// program that is gone are taken back first. Null when every slot is in use.
RenderRequest* ClaimRequest(SharedBridgeBlock& block);

// Frees a slot that is in `state`; false when someone else changed it first.
bool FreeRequest(RenderRequest& request, RequestState state);

// Withdraws one request: freed while it waits, marked withdrawn while it runs.
bool Withdraw(RenderRequest& request);

// Withdraws every request of `client`: waiting ones are freed, a running one
// is marked withdrawn (POV-Ray stops it and tells nobody). False when the
// client had none.
bool WithdrawRequests(SharedBridgeBlock& block, WindowId client);

// The request with this id while it waits or runs (withdrawn ones included); null otherwise.
RenderRequest* FindRequest(SharedBridgeBlock& block, std::uint32_t id);

// Takes the waiting request that came first for POV-Ray (it is then
// running), dropping those whose program is gone; null when none waits.
RenderRequest* TakeOldestWaiting(SharedBridgeBlock& block);

// True while a request waits whose program lives.
bool AnyWaiting(SharedBridgeBlock& block);

// Frees every request: POV-Ray (the host they were posted to) is gone.
void ForgetRequests(SharedBridgeBlock& block);

// Posts a command name (or a file name) to POV-Ray's main window as a file
// drop; nonzero when posted.
int PostDrop(std::string_view name);

}  // namespace sc::bridge
