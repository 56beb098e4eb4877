#include "bridge/RenderRequests.h"

#include "bridge/Endpoint.h"

namespace sc::bridge {
namespace {

bool Swap(RenderRequest& request, RequestState from, RequestState to) {
    std::int32_t expected = from;
    return request.state.compare_exchange_strong(expected, to);
}

}  // namespace

std::uint32_t NextRenderId(SharedBridgeBlock& block) {
    for (;;) {
        const std::uint32_t id = (block.lastRenderId.fetch_add(1) + 1) & 0x7fffffffu;
        if (id != 0) return id;
    }
}

RenderRequest* ClaimRequest(SharedBridgeBlock& block) {
    for (RenderRequest& request : block.requests)
        if (Swap(request, kRequestFree, kRequestFilling)) return &request;
    for (RenderRequest& request : block.requests)
        if (request.state == kRequestWaiting && !Endpoint::Exists(request.client) &&
            Swap(request, kRequestWaiting, kRequestFilling))
            return &request;
    return nullptr;
}

bool FreeRequest(RenderRequest& request, RequestState state) { return Swap(request, state, kRequestFree); }

bool Withdraw(RenderRequest& request) {
    return FreeRequest(request, kRequestWaiting) || Swap(request, kRequestRunning, kRequestWithdrawn);
}

bool WithdrawRequests(SharedBridgeBlock& block, WindowId client) {
    bool had = false;
    for (RenderRequest& request : block.requests)
        if (request.client == client && Withdraw(request)) had = true;
    return had;
}

RenderRequest* FindRequest(SharedBridgeBlock& block, std::uint32_t id) {
    if (id == 0) return nullptr;
    for (RenderRequest& request : block.requests) {
        const std::int32_t state = request.state;
        if (request.id == id && state != kRequestFree && state != kRequestFilling) return &request;
    }
    return nullptr;
}

RenderRequest* TakeOldestWaiting(SharedBridgeBlock& block) {
    for (;;) {
        RenderRequest* oldest = nullptr;
        for (RenderRequest& request : block.requests)
            if (request.state == kRequestWaiting && (!oldest || request.id < oldest->id)) oldest = &request;
        if (!oldest) return nullptr;
        if (!Endpoint::Exists(oldest->client)) {
            FreeRequest(*oldest, kRequestWaiting);
            continue;
        }
        if (Swap(*oldest, kRequestWaiting, kRequestRunning)) return oldest;
    }
}

bool AnyWaiting(SharedBridgeBlock& block) {
    for (RenderRequest& request : block.requests)
        if (request.state == kRequestWaiting && Endpoint::Exists(request.client)) return true;
    return false;
}

void ForgetRequests(SharedBridgeBlock& block) {
    block.runningRender = 0;
    for (RenderRequest& request : block.requests)
        for (RequestState state : {kRequestWaiting, kRequestRunning, kRequestWithdrawn}) FreeRequest(request, state);
}

}  // namespace sc::bridge
