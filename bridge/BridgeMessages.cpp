#include "bridge/BridgeMessages.h"

#include <functional>
#include <iostream>

#include "bridge/BridgeApi.h"

namespace sc::bridge {
namespace {

std::function<void(const std::string&, const std::string&)>& MessageSink() {
    static std::function<void(const std::string&, const std::string&)> sink;
    return sink;
}

std::function<bool(const std::string&, const std::string&)>& QuestionSink() {
    static std::function<bool(const std::string&, const std::string&)> sink;
    return sink;
}

}  // namespace

void SetBridgeMessageSink(std::function<void(const std::string&, const std::string&)> sink) {
    MessageSink() = std::move(sink);
}

void SetBridgeQuestionSink(std::function<bool(const std::string&, const std::string&)> sink) {
    QuestionSink() = std::move(sink);
}

std::string SupportParagraph() {
    return "Please do not contact the POV-Team about this error: it concerns a GUI extension "
           "that is not theirs. Report it to the Swatchcraft developers instead "
           "(swatchcraft-dev@example.org).";
}

void ShowBridgeNotice(const std::string& text) {
    if (MessageSink()) {
        MessageSink()(text, kBridgeCaption);
        return;
    }
    std::cerr << kBridgeCaption << ": " << text << std::endl;
}

void ShowBridgeError(const std::string& text) { ShowBridgeNotice(text + "\n\n" + SupportParagraph()); }

bool AskBridgeOkCancel(const std::string& text) {
    // The host has nobody to ask: the one who chose the menu item meant it.
    if (!QuestionSink()) return true;
    return QuestionSink()(text, kBridgeCaption);
}

}  // namespace sc::bridge
