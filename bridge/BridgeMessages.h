#pragma once
// The bridge's message boxes. Inside the render host nobody sees a window, so
// they go to the sink the host or the program set (standard error otherwise).
#include <string>

namespace sc::bridge {

inline constexpr char kBridgeCaption[] = "Swatchcraft's POV-Communicator";

// Shows an error message with the support paragraph appended.
void ShowBridgeError(const std::string& text);

// Shows a notice as it is.
void ShowBridgeNotice(const std::string& text);

// Asks an OK/Cancel question; true for OK.
bool AskBridgeOkCancel(const std::string& text);

// The paragraph every error message of the bridge ends with.
std::string SupportParagraph();

}  // namespace sc::bridge
