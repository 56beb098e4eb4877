// swatchcraft-povhost: the render host the program starts in POV-Ray for
// Windows' place.
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "bridge/RenderHost.h"
#include "platform/Translate.h"

namespace {

void OnSignal(int) { sc::bridge::RenderHost::RequestQuit(); }

}  // namespace

int main(int argc, char** argv) {
    // The texts the host words (a crashed or stopped POV-Ray) come in the
    // language of the program that started it. Only the messages' locale
    // changes: the numbers the host writes for POV-Ray keep their point.
    sc::UseLanguage(sc::LanguageOfChoice(sc::InheritedLanguageChoice()));
    sc::bridge::RenderHost::Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--pov-home" && i + 1 < argc) {
            options.povHome = argv[++i];
        } else if (argument == "--ini" && i + 1 < argc) {
            options.iniPath = argv[++i];
        } else if (argument == "--idle-exit" && i + 1 < argc) {
            options.idleExitMs = std::atoi(argv[++i]) * 1000;
        } else if (argument == "--show" && i + 1 < argc) {
            options.showCommand = std::atoi(argv[++i]);
        } else {
            std::cerr << "usage: swatchcraft-povhost [--pov-home DIR] [--ini PVENGINE.INI] [--show N] [--idle-exit SECONDS]\n";
            return 2;
        }
    }
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    sc::bridge::RenderHost host(options);
    if (!host.Open()) return 0;
    return host.Run();
}
