// The bridge's side inside POV-Ray (the render host): the GUI-extension entry
// point and callbacks that forward rows and render ends to the program and
// carry out its commands.
#include <dlfcn.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "bridge/BridgeApi.h"
#include "bridge/BridgeMessages.h"
#include "bridge/Endpoint.h"
#include "bridge/RenderRequests.h"
#include "bridge/SharedBridgeBlock.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/PathUtil.h"
#include "povray/PovCommandLine.h"

extern char** environ;

namespace sc::bridge {
namespace {

constexpr char kExtensionName[] = "Swatchcraft's POV-Communicator";
constexpr char kAuthorName[] = "The Swatchcraft developers";
constexpr char kAuthorEmail[] = "swatchcraft-dev@example.org";
constexpr char kAuthorWeb[] = "https://swatchcraft.example.org";
constexpr PovWord kExtensionVersion = 100;
constexpr char kCertification[] =
    "This GUI extension is not part of POV-Ray and is not supported by the POV-Team. "
    "It does not change how POV-Ray parses or renders a scene, it does not remove or hide "
    "any part of POV-Ray's own interface or messages, and it is distributed free of charge "
    "together with Swatchcraft.";
constexpr char kProgramFile[] = "swatchcraft";
constexpr char kProgramWindowClassName[] = "SwatchcraftDlg";

enum MenuItem { kItemEnabled = 0, kItemAbout = 1, kItemStart = 2, kItemUninstall = 3 };

struct ExtensionInstance {
    int enabled = 0;
    const char* module = nullptr;  // path of this library
    WindowId mainWindow = 0;
    PovServiceFunction service = nullptr;
};

ExtensionInstance* InstanceOf(GuiExtRecord* record) {
    return record ? static_cast<ExtensionInstance*>(record->instance) : nullptr;
}

// The path of this library, found from one of its own functions.
const char* ModulePath() {
    static std::string path = [] {
        Dl_info info{};
        if (dladdr(reinterpret_cast<void*>(&ModulePath), &info) && info.dli_fname)
            return MakeAbsolute(info.dli_fname);
        return std::string();
    }();
    return path.c_str();
}

std::uint8_t Channel(float value) {
    const float scaled = value * 255.0f;
    if (!(scaled > 0.0f)) return 0;
    if (scaled >= 255.0f) return 255;
    return static_cast<std::uint8_t>(static_cast<int>(scaled));
}

// The request this copy of the bridge has POV-Ray render, as only POV-Ray's process knows it.
struct CurrentRender {
    std::uint32_t id = 0;
    std::chrono::steady_clock::time_point start;
    int timeLimitSeconds = 0;
    bool timedOut = false;
    bool stopAsked = false;
    int checks = 0;
};

CurrentRender& Current() {
    static CurrentRender render;
    return render;
}

// How often (in progress events, 100 ms apart) POV-Ray looks whether the requester still lives.
constexpr int kRequesterCheckInterval = 5;

// Messages to the requester carry the render's id, so it can tell its own
// render's rows and end from those of a render it no longer waits for.
void SendToClient(std::uint32_t message, std::uint32_t wParam, std::string data = {}) {
    SharedBridgeBlock& block = SharedBlock();
    const WindowId client = block.clientWindow;
    if (client == 0) return;
    WindowMessage notice;
    notice.message = message;
    notice.wParam = wParam;
    notice.lParam = block.runningRender;
    notice.data = std::move(data);
    Endpoint::PostFrom(block.povWindow, client, notice);
}

void RestorePovWindow(const ExtensionInstance* instance) {
    if (!instance || instance->mainWindow == 0) return;
    WindowMessage show;
    show.message = kWmShowWindow;
    show.wParam = kShowRestore;
    Endpoint::PostFrom(0, instance->mainWindow, show);
}

// A failed service request: the program hears of it as one more row, the
// user sees POV-Ray's window and the message.
void ReportServiceFailure(const ExtensionInstance* instance, const char* function) {
    SendToClient(kWmRenderStep, 0);
    RestorePovWindow(instance);
    ShowBridgeError(std::string("Function \"") + function + "\" failed! (Probable version error)");
}

bool CallService(const ExtensionInstance* instance, int code, void* data) {
    return instance && instance->service && instance->service(code, data) == 1;
}

PovMenuItem* FindMenuItem(GuiExtRecord* record, int id) {
    auto* menu = reinterpret_cast<PovMenu*>(record ? record->menu : 0);
    if (!menu) return nullptr;
    for (int i = 0; i < menu->count; ++i)
        if (!menu->items[i].separator && menu->items[i].id == id) return &menu->items[i];
    return nullptr;
}

void SetEnabled(GuiExtRecord* record, ExtensionInstance* instance, int enabled) {
    SharedBlock().enabled = enabled;
    if (instance) instance->enabled = enabled;
    if (PovMenuItem* item = FindMenuItem(record, static_cast<int>(record ? record->firstMenuId : 0)))
        item->checked = enabled;
}

void AddMenuItem(PovMenu& menu, int id, const char* text) {
    PovMenuItem& item = menu.items[menu.count++];
    item.id = id;
    item.separator = text == nullptr;
    if (text) std::snprintf(item.text, sizeof item.text, "%s", text);
}

// Asks POV-Ray to stop, once a render: a renderer that cannot stop is not
// asked again for every pixel.
void RequestStop(GuiExtRecord* record) {
    CurrentRender& current = Current();
    if (current.stopAsked) return;
    current.stopAsked = true;
    ExtensionInstance* instance = InstanceOf(record);
    if (CallService(instance, kServiceStopRendering, nullptr)) return;
    SharedBlock().stopRequested = 0;
    ReportServiceFailure(instance, "RequestStopRendering");
}

bool RunningRequestWithdrawn(SharedBridgeBlock& block) {
    const RenderRequest* request = FindRequest(block, block.runningRender);
    return request && request->state == kRequestWithdrawn;
}

// Starts the render inside POV-Ray: this request's scene and options in place
// of the user's for one render, then the user's back. False when POV-Ray
// refused (the requester and the user have been told).
bool StartRender(GuiExtRecord* record, const RenderRequest& request) {
    ExtensionInstance* instance = InstanceOf(record);
    auto variables = std::make_unique<PovVariables>();
    std::memset(variables.get(), 0, sizeof(PovVariables));
    variables->size = sizeof(PovVariables);
    if (!CallService(instance, kServiceGetVars, variables.get())) {
        ReportServiceFailure(instance, "RequestGetVars");
        return false;
    }
    char savedScene[sizeof variables->sceneFile];
    char savedCommand[sizeof variables->commandLine];
    std::memcpy(savedScene, variables->sceneFile, sizeof savedScene);
    std::memcpy(savedCommand, variables->commandLine, sizeof savedCommand);
    std::snprintf(variables->sceneFile, sizeof variables->sceneFile, "%s", request.scenePath);
    std::snprintf(variables->commandLine, sizeof variables->commandLine, "%s", request.commandText);
    if (!CallService(instance, kServiceSetVars, variables.get())) {
        ReportServiceFailure(instance, "RequestSetVars");
        return false;
    }
    const bool started = CallService(instance, kServiceStartRendering, nullptr);
    if (!started) ReportServiceFailure(instance, "RequestStartRendering");
    // The user's own scene and options come back whether or not the render started.
    std::memcpy(variables->sceneFile, savedScene, sizeof savedScene);
    std::memcpy(variables->commandLine, savedCommand, sizeof savedCommand);
    if (!CallService(instance, kServiceSetVars, variables.get())) ReportServiceFailure(instance, "RequestSetVars");
    return started;
}

// Tells the requester of the running render how it ended (unless it
// withdrew) and frees its slot.
void EndRunningRequest(std::uint32_t value) {
    SharedBridgeBlock& block = SharedBlock();
    RenderRequest* request = FindRequest(block, block.runningRender);
    if (request && request->state == kRequestRunning && block.enabled) {
        std::string report = value == kRenderCompleted ? std::string() : PovErrorText();
        if (Current().timedOut) {
            value = kRenderTimedOut;
            report = PovTimeLimitReport(Current().timeLimitSeconds);
        }
        SendToClient(kWmRenderDone, value, report);
    }
    if (request && !FreeRequest(*request, kRequestRunning)) FreeRequest(*request, kRequestWithdrawn);
    block.runningRender = 0;
    block.clientWindow = 0;
    Current() = CurrentRender{};
}

// Starts the request whose turn it is, when POV-Ray is free.
void StartNextRequest(GuiExtRecord* record) {
    SharedBridgeBlock& block = SharedBlock();
    if (block.rendering) return;
    while (RenderRequest* request = TakeOldestWaiting(block)) {
        block.runningRender = request->id.load();
        block.clientWindow = request->client.load();
        std::snprintf(block.scenePath, sizeof block.scenePath, "%s", request->scenePath);
        Current() = CurrentRender{request->id, std::chrono::steady_clock::now(), request->timeLimitSeconds};
        if (StartRender(record, *request)) return;
        // Refused at once: the requester hears it now, and the next request gets its turn.
        EndRunningRequest(kRenderFailed);
    }
}

// While POV-Ray renders: stops what nobody wants any more, what took too
// long, and a render nobody asked for when a program's request waits.
void WatchRunningRender(GuiExtRecord* record) {
    SharedBridgeBlock& block = SharedBlock();
    if (!block.rendering) return;
    CurrentRender& current = Current();
    RenderRequest* request = FindRequest(block, block.runningRender);
    bool stop = block.stopRequested != 0;
    if (!request) {
        stop = stop || AnyWaiting(block);
    } else if (request->state == kRequestWithdrawn) {
        stop = true;
    } else if (++current.checks % kRequesterCheckInterval == 0 && !Endpoint::Exists(request->client)) {
        // Its requester is gone (its process ended): nobody will take the picture.
        Withdraw(*request);
        stop = true;
    } else if (current.timeLimitSeconds > 0 &&
               std::chrono::steady_clock::now() - current.start >= std::chrono::seconds(current.timeLimitSeconds)) {
        current.timedOut = true;
        stop = true;
    }
    if (stop) RequestStop(record);
}

bool IsBridgeFile(const std::string& path) {
    const std::string name = FileNameOf(path);
    const std::string extension = ExtensionOf(name);
    return ToLowerAscii(extension) == ".pge" &&
           ToLowerAscii(name.substr(0, name.size() - extension.size())) == "swbridge";
}

int Uninstall(GuiExtRecord* record) {
    ExtensionInstance* instance = InstanceOf(record);
    auto variables = std::make_unique<PovVariables>();
    std::memset(variables.get(), 0, sizeof(PovVariables));
    variables->size = sizeof(PovVariables);
    if (!CallService(instance, kServiceGetVars, variables.get())) {
        ShowBridgeError("Function \"RequestGetVars\" failed! (Probable version error)");
        return 1;
    }
    if (!AskBridgeOkCancel("The GUI-Extension \"Swatchcraft's POV-Communicator\" will be removed. "
                           "Swatchcraft will reinstall it if necessary.."))
        return 0;
    IniFile ini(std::string(variables->iniPath, strnlen(variables->iniPath, sizeof variables->iniPath)));
    bool removed = false;
    if (ini.Load()) {
        for (int number = 16; number <= 31; ++number) {
            char key[16];
            std::snprintf(key, sizeof key, "ExtDll%02d", number);
            std::string value = ini.GetString("GuiExtensions", key);
            if (value.size() > 259) value.resize(259);
            if (value.empty() || !IsBridgeFile(value)) continue;
            removed = ini.DeleteKey("GuiExtensions", key) && ini.Save();
        }
    }
    if (removed)
        ShowBridgeNotice("\"Swatchcraft's POV-Communicator\" has been removed succesfully.\n\n"
                         "POV-Ray for Windows needs to re-start for this to take effect.");
    else
        ShowBridgeError("Removing \"Swatchcraft's POV-Communicator\" failed!");
    return 0;
}

void StartProgram() {
    if (const WindowId program = Endpoint::FindByClass(kProgramWindowClassName)) {
        WindowMessage show;
        show.message = kWmShowWindow;
        show.wParam = kShowRestore;
        if (Endpoint::PostFrom(0, program, show)) return;
    }
    const std::string path = JoinPath(DirectoryOf(ModulePath()), kProgramFile);
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t pid = 0;
    if (!FileExists(path) || posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ) != 0)
        ShowBridgeError("Swatchcraft couldn't be started!");
}

void ShowAbout() {
    ShowBridgeNotice(std::string("About Swatchcraft's POV-Communicator\n\n"
                                 "This GUI-Extension is used by Swatchcraft\n"
                                 "Version 2.2 (1998-99)\n\n") +
                     kAuthorName + "\n" + kAuthorEmail + "\n" + kAuthorWeb);
}

// --- the callbacks ---

int Init(void* instancePointer, int size, void* initStruct) {
    if (size != static_cast<int>(sizeof(GuiExtInitStruct)) || !initStruct) {
        ShowBridgeError("InitStruct has invalid size ! (Probable version error)");
        return 0;
    }
    auto* init = static_cast<GuiExtInitStruct*>(initStruct);
    if (init->interfaceVersion / 100 != 1) {
        ShowBridgeError("Version error - this GUI extension cannot be used with your version of POV-Ray for Windows");
        return 0;
    }
    auto* instance = static_cast<ExtensionInstance*>(instancePointer);
    instance->mainWindow = static_cast<WindowId>(init->mainWindow);
    instance->service = init->service;
    init->name = kExtensionName;
    init->author = kAuthorName;
    init->email = kAuthorEmail;
    init->version = kExtensionVersion;
    std::snprintf(init->text, sizeof init->text, "%s", kCertification);
    auto* menu = new (std::nothrow) PovMenu{};
    if (!menu) {
        char message[64];
        std::snprintf(message, sizeof message, "CreateMenu failed, code = %08lx", static_cast<unsigned long>(ENOMEM));
        ShowBridgeError(message);
        return 0;
    }
    const int first = static_cast<int>(init->firstMenuId);
    AddMenuItem(*menu, first + kItemEnabled, "&Enabled");
    menu->items[0].checked = instance->enabled;
    AddMenuItem(*menu, 0, nullptr);
    AddMenuItem(*menu, first + kItemUninstall, "&Uninstall...");
    AddMenuItem(*menu, 0, nullptr);
    AddMenuItem(*menu, first + kItemStart, "Start &Swatchcraft");
    AddMenuItem(*menu, first + kItemAbout, "&About...");
    init->menu = reinterpret_cast<PovWord>(menu);
    SharedBlock().povWindow = instance->mainWindow;
    return 1;
}

void Destroy(GuiExtRecord* record) {
    if (!record) return;
    delete reinterpret_cast<PovMenu*>(record->menu);
    record->menu = 0;
    delete InstanceOf(record);
    record->instance = nullptr;
}

const char* MenuTip(GuiExtRecord*, int item) {
    switch (item) {
        case kItemEnabled: return "Enables/Disables Swatchcraft's POV-Communicator";
        case kItemAbout: return "About Swatchcraft's POV-Communicator";
        case kItemStart: return "Starts Swatchcraft";
        case kItemUninstall: return "Removes Swatchcraft's POV-Communicator";
        default: return "";
    }
}

int MenuSelect(GuiExtRecord* record, int item) {
    ExtensionInstance* instance = InstanceOf(record);
    switch (item) {
        case kItemEnabled:
            if (instance) SetEnabled(record, instance, !instance->enabled);
            return 0;
        case kItemAbout: ShowAbout(); return 0;
        case kItemStart: StartProgram(); return 0;
        case kItemUninstall: return Uninstall(record);
        default: return 0;
    }
}

int Event(GuiExtRecord* record, int type, PovWord value) {
    SharedBridgeBlock& block = SharedBlock();
    if (type == kEventRenderStarted) {
        block.rendering = 1;
        block.stopRequested = 0;
    } else if (type == kEventRenderEnded) {
        block.rendering = 0;
        block.stopRequested = 0;
        // Whether or not the requester hears of it, the next request's turn has come.
        EndRunningRequest(static_cast<std::uint32_t>(value));
        if (AnyWaiting(block)) PostDrop("swbridge.StartRender");
    } else if (type == kEventRenderFinishing) {
        // The row buffer is ours to free even while the extension is off.
        delete[] reinterpret_cast<std::uint8_t*>(block.rowBuffer.exchange(0));
    } else if (type == kEventRenderProgress) {
        // A render's end must come even while the extension is off.
        WatchRunningRender(record);
    } else if (type == kEventClosing || type == kEventClosed) {
        // Only this POV-Ray's own traces go: another may have taken its place.
        const ExtensionInstance* instance = InstanceOf(record);
        WindowId own = instance ? instance->mainWindow : 0;
        if (own != 0 && block.povWindow.compare_exchange_strong(own, 0)) {
            block.rendering = 0;
            block.stopRequested = 0;
            ForgetRequests(block);
        }
    }
    if (!block.enabled) return 0;
    switch (type) {
        case kEventRenderEnded: return 1;
        case kEventImageSize: {
            const std::int32_t width = static_cast<std::int32_t>(value & 0xFFFF);
            auto* buffer = new (std::nothrow) std::uint8_t[static_cast<std::size_t>(width) * 3 + 3]();
            delete[] reinterpret_cast<std::uint8_t*>(block.rowBuffer.exchange(reinterpret_cast<std::uint64_t>(buffer)));
            block.imageWidth = buffer ? width : 0;
            return 1;
        }
        case kEventRenderFinishing:
        case kEventRenderProgress:
        case kEventClosing:
        case kEventClosed: return 1;
        default: return 0;
    }
}

void PixelPlot(GuiExtRecord* record, int x, int y, const PovColour* colour) {
    SharedBridgeBlock& block = SharedBlock();
    ExtensionInstance* instance = InstanceOf(record);
    auto* row = reinterpret_cast<std::uint8_t*>(static_cast<std::uintptr_t>(block.rowBuffer.load()));
    if (block.clientWindow != 0 && instance && instance->enabled && row) {
        const int width = block.imageWidth;
        if (x < 0 || x >= width || y < 0 || !colour) return;
        row[x * 3] = Channel(colour->red);
        row[x * 3 + 1] = Channel(colour->green);
        row[x * 3 + 2] = Channel(colour->blue);
        if (x != width - 1) return;
        WindowMessage message;
        message.message = kWmCopyData;
        message.lParam = block.runningRender;
        message.dataWord = (static_cast<std::uint32_t>(y) << 16) + static_cast<std::uint32_t>(width);
        message.data.assign(reinterpret_cast<const char*>(row), static_cast<std::size_t>(width) * 3);
        Endpoint::PostFrom(block.povWindow, block.clientWindow, message);
    } else if (block.stopRequested || RunningRequestWithdrawn(block)) {
        RequestStop(record);
    }
}

int FileDrop(GuiExtRecord* record, const char* name, int flag) {
    if (flag) return 1;
    if (!name) return 0;
    ExtensionInstance* instance = InstanceOf(record);
    SharedBridgeBlock& block = SharedBlock();
    const std::string_view command = name;
    if (command == "swbridge.EnableExtension" || command == "swbridge.DisableExtension") {
        SetEnabled(record, instance, command == "swbridge.EnableExtension" ? 1 : 0);
        return 1;
    }
    if (command == "swbridge.EditFile") {
        WindowMessage request;
        request.message = kWmEditorRequest;
        request.data.assign(block.commandText, strnlen(block.commandText, sizeof block.commandText));
        request.wParam = static_cast<std::uint32_t>(request.data.size());
        Endpoint::PostFrom(0, block.povWindow, request);
        return 1;
    }
    if (command == "swbridge.StartRender") {
        StartNextRequest(record);
        return 1;
    }
    return 0;
}

}  // namespace

std::string BridgeModulePath() { return ModulePath(); }

}  // namespace sc::bridge

using namespace sc::bridge;

extern "C" int PovGuiExtensionGetPointers(int size, GuiExtPointers* pointers) {
    if (size != static_cast<int>(sizeof(GuiExtPointers)) || !pointers) {
        ShowBridgeError("PointerBlock has invalid size ! (Probable version error)");
        return 0;
    }
    auto* instance = new (std::nothrow) ExtensionInstance{};
    if (!instance) {
        ShowBridgeError("Cannot allocate instance data");
        return 0;
    }
    instance->enabled = SharedBlock().enabled != 0;
    instance->module = ModulePath();
    pointers->signature = kExtensionSignature;
    pointers->instance = instance;
    pointers->init = &Init;
    pointers->destroy = &Destroy;
    pointers->menuSelect = &MenuSelect;
    pointers->menuTip = &MenuTip;
    pointers->event = &Event;
    pointers->pixelPlot = &PixelPlot;
    pointers->fileDrop = &FileDrop;
    return 1;
}
