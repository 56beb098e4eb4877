#pragma once
// The bridge library's side of the core's PovBridge: what the window, the
// command-line tool and the benchmarks hand to the core's render set-up.
#include "bridge/BridgeApi.h"
#include "povray/PovBridge.h"

namespace sc::bridge {

// The one connection of this process (its mailbox is opened on first use).
SC_BRIDGE_API PovBridge& Connection();

}  // namespace sc::bridge
