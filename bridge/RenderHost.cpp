#include "bridge/RenderHost.h"

#include <dlfcn.h>
#include <poll.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "bridge/DropRecord.h"
#include "bridge/SharedBridgeBlock.h"
#include "platform/ExternalEditor.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"
#include "povray/PovCommandLine.h"
#include "povray/RenderScratch.h"

namespace sc::bridge {
namespace {

constexpr int kInterfaceVersion = 101;
constexpr int kFirstMenuId = 0x8000;
constexpr std::size_t kMaxLog = 256 * 1024;
constexpr int kProgressIntervalMs = 100;

volatile std::sig_atomic_t g_quit = 0;
RenderHost* g_host = nullptr;

unsigned char HostService(int code, void* data) { return g_host ? g_host->Service(code, data) : 0; }

std::string FieldText(const char* field, std::size_t size) { return std::string(field, strnlen(field, size)); }

template <std::size_t N>
void SetField(char (&field)[N], const std::string& text) {
    std::snprintf(field, N, "%s", text.c_str());
}

}  // namespace

RenderHost::RenderHost(Options options) : options_(std::move(options)), variables_(std::make_unique<PovVariables>()) {
    if (options_.iniPath.empty()) options_.iniPath = DefaultIniPath();
    std::memset(variables_.get(), 0, sizeof(PovVariables));
    variables_->size = sizeof(PovVariables);
    SetField(variables_->iniPath, options_.iniPath);
    g_host = this;
}

RenderHost::~RenderHost() {
    CloseExtensions();
    if (g_host == this) g_host = nullptr;
}

std::string RenderHost::DefaultIniPath() { return JoinPath(ConfigDir(), "pvengine.ini"); }

void RenderHost::RequestQuit() { g_quit = 1; }

std::string RenderHost::ReadSetting(const char* section, const char* key, const char* defaultValue) const {
    return GetIniString(options_.iniPath, section, key, defaultValue);
}

bool RenderHost::Open() {
    if (GetIniInt(options_.iniPath, "General", "OneInstance", 0) == 1) {
        if (const WindowId running = Endpoint::FindByClass(kPovMainWindowClass)) {
            // One POV-Ray only: the running one comes to the front instead.
            WindowMessage show;
            show.message = kWmShowWindow;
            show.wParam = kShowRestore;
            Endpoint::PostFrom(0, running, show);
            return false;
        }
    }
    for (const std::atomic<WindowId>& user : SharedBlock().renderUsers) {
        const WindowId window = user;
        if (window != 0 && !Endpoint::Exists(window)) goneBeforeStart_.push_back(window);
    }
    if (!endpoint_.Open(kPovMainWindowClass)) {
        std::cerr << "swatchcraft-povhost: cannot open its window in " << Endpoint::RuntimeFolder() << std::endl;
        return false;
    }
    showCommand_ = options_.showCommand ? options_.showCommand : GetIniInt(options_.iniPath, "MainWindow", "ShowCmd", 1);
    LoadExtensions();
    return true;
}

void RenderHost::LoadExtensions() {
    if (GetIniInt(options_.iniPath, "GuiExtensions", "UseExtensions", 0) != 1) return;
    for (int number = 0; number < 32; ++number) {
        char key[16];
        std::snprintf(key, sizeof key, "ExtDll%02d", number);
        const std::string path = ReadSetting("GuiExtensions", key, "");
        if (path.empty()) continue;
        Extension extension;
        extension.path = path;
        extension.library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!extension.library) {
            std::cerr << "swatchcraft-povhost: cannot load " << path << ": " << dlerror() << std::endl;
            continue;
        }
        using GetPointers = int (*)(int, GuiExtPointers*);
        auto getPointers = reinterpret_cast<GetPointers>(dlsym(extension.library, "PovGuiExtensionGetPointers"));
        if (!getPointers || !getPointers(static_cast<int>(sizeof(GuiExtPointers)), &extension.pointers) ||
            extension.pointers.signature != kExtensionSignature) {
            dlclose(extension.library);
            continue;
        }
        extension.record.instance = extension.pointers.instance;
        auto init = std::make_unique<GuiExtInitStruct>();
        std::memset(init.get(), 0, sizeof(GuiExtInitStruct));
        init->structSize = sizeof(GuiExtInitStruct);
        init->interfaceVersion = kInterfaceVersion;
        init->firstMenuId = static_cast<PovWord>(kFirstMenuId + number * 16);
        init->mainWindow = endpoint_.Id();
        init->service = &HostService;
        if (extension.pointers.init &&
            !extension.pointers.init(extension.pointers.instance, static_cast<int>(sizeof(GuiExtInitStruct)), init.get())) {
            if (extension.pointers.destroy) extension.pointers.destroy(&extension.record);
            dlclose(extension.library);
            continue;
        }
        extension.record.menu = init->menu;
        extension.record.firstMenuId = init->firstMenuId;
        extensions_.push_back(extension);
    }
}

void RenderHost::CloseExtensions() {
    if (extensions_.empty()) return;
    SendEvent(kEventClosing, 0);
    SendEvent(kEventClosed, 0);
    for (Extension& extension : extensions_) {
        if (extension.pointers.destroy) extension.pointers.destroy(&extension.record);
        dlclose(extension.library);
    }
    extensions_.clear();
}

void RenderHost::SendEvent(int type, PovWord value) {
    for (Extension& extension : extensions_)
        if (extension.pointers.event) extension.pointers.event(&extension.record, type, value);
}

unsigned char RenderHost::Service(int code, void* data) {
    switch (code) {
        case kServiceGetVars: {
            auto* record = static_cast<PovVariables*>(data);
            if (!record || record->size != static_cast<std::int32_t>(sizeof(PovVariables))) return 0;
            std::memcpy(record, variables_.get(), sizeof(PovVariables));
            return 1;
        }
        case kServiceSetVars: {
            auto* record = static_cast<PovVariables*>(data);
            if (!record || record->size != static_cast<std::int32_t>(sizeof(PovVariables))) return 0;
            std::memcpy(variables_.get(), record, sizeof(PovVariables));
            return 1;
        }
        case kServiceStartRendering: return StartRendering() ? 1 : 0;
        case kServiceStopRendering: return StopRendering() ? 1 : 0;
        default: return 0;
    }
}

bool RenderHost::StartRendering() {
    if (rendering_) return false;
    const std::string scene = FieldText(variables_->sceneFile, sizeof variables_->sceneFile);
    if (scene.empty()) return false;
    renderScene_ = MakeAbsolute(scene);
    // POV-Ray runs in the scene's folder: its file restrictions always allow
    // that one, and the folder's name, whatever it holds, never reaches
    // POV-Ray's option parser.
    std::vector<std::string> arguments =
        PovArguments(FileNameOf(renderScene_), FieldText(variables_->commandLine, sizeof variables_->commandLine));
    if (arguments.empty()) {
        WriteFileAtomically(PovErrorFileOf(endpoint_.Id()),
                            "Der Name der Szenendatei kann POV-Ray nicht übergeben werden: " + renderScene_ + "\n");
        return false;
    }
    const std::string folder = DirectoryOf(renderScene_);
    const auto stream = std::find(arguments.begin(), arguments.end(), "+O-");
    streaming_ = stream != arguments.end();
    pictureFile_.clear();
    pictureTaken_ = false;
    // An ini file may ask for several frames, each with a file name of its
    // own: its pictures keep coming through the pipe.
    if (streaming_ && ToLowerAscii(ExtensionOf(renderScene_)) != ".ini") {
        const std::string name = "swatchcraft-picture-" + std::to_string(endpoint_.Id()) + ".ppm";
        *stream = "+O" + name;
        pictureFile_ = JoinPath(folder, name);
        RemoveFile(pictureFile_);
    }
    const std::string executable = JoinPath(options_.povHome, "bin/povray");
    const std::string options = FieldText(variables_->commandLine, sizeof variables_->commandLine);
    const std::string sceneName = FileNameOf(renderScene_);
    // Only a preview's scene, in a scratch folder with nothing else of its
    // own, can be moved into the folder of a process started ahead.
    const bool preparable = !pictureFile_.empty() && IsScratchFolder(folder);
    if (preparable) {
        std::unique_ptr<WaitingPovProcess> ready = TakeWaiting(options, sceneName);
        if (ready && ready->TakeScene(renderScene_)) {
            pictureFile_ = ready->PicturePath();
            RemoveFile(pictureFile_);
            render_ = ready->TakeProcess();
            launched_ = std::move(ready);
            launched_->Release();
        }
    }
    if (!render_) {
        auto process = std::make_unique<PovRenderProcess>();
        // A preview's scene lies in a scratch folder of its own: what the scene
        // writes stays there, whatever its declaration asks for.
        if (!process->Start(executable, arguments, folder, 0, IsScratchFolder(folder))) {
            WriteFileAtomically(PovErrorFileOf(endpoint_.Id()),
                                "POV-Ray konnte nicht gestartet werden: " + executable + "\n");
            return false;
        }
        render_ = std::move(process);
    }
    // The next render of this kind finds its POV-Ray started: it starts up
    // beside this one, which leaves most of the processor idle while it starts.
    if (preparable)
        PrepareNext(executable, DirectoryOf(WithoutTrailingSeparator(folder)), options, sceneName,
                    FileNameOf(pictureFile_));
    reader_ = PpmStreamReader();
    reader_.onImage = [this](int width, int height) {
        SendEvent(kEventImageSize, static_cast<PovWord>(width) | (static_cast<PovWord>(height) << 16));
    };
    reader_.onRow = [this](int row, const std::uint8_t* rgb, int width) { return PlotRow(row, rgb, width); };
    renderLog_.clear();
    rendering_ = true;
    SendEvent(kEventRenderStarted, 0);
    return true;
}

bool RenderHost::StopRendering() {
    if (!rendering_ || !render_) return false;
    render_->Kill();
    return true;
}

bool RenderHost::PlotRow(int row, const std::uint8_t* rgb, int width) {
    for (int x = 0; x < width; ++x) {
        if (!render_ || render_->Killed()) return false;
        const PovColour colour{rgb[x * 3] / 255.0f, rgb[x * 3 + 1] / 255.0f, rgb[x * 3 + 2] / 255.0f, 0.0f, 0.0f};
        for (Extension& extension : extensions_)
            if (extension.pointers.pixelPlot) extension.pointers.pixelPlot(&extension.record, x, row, &colour);
    }
    return true;
}

void RenderHost::PollRender(int timeoutMs) {
    pollfd fds[3] = {{endpoint_.Descriptor(), POLLIN, 0}, {-1, POLLIN, 0}, {-1, POLLIN, 0}};
    if (render_) {
        fds[1].fd = render_->OutputDescriptor();
        fds[2].fd = render_->ErrorDescriptor();
    }
    poll(fds, 3, timeoutMs);
    WindowMessage message;
    while (!closing_ && endpoint_.Receive(message, 0)) {
        active_ = true;
        HandleMessage(message);
    }
    if (!render_) return;
    std::string chunk;
    if (render_->ReadError(chunk)) {
        renderLog_ += chunk;
        if (renderLog_.size() > kMaxLog) renderLog_.erase(0, renderLog_.size() - kMaxLog);
    }
    if (render_ && render_->ReadOutput(chunk) && !render_->Killed() && pictureFile_.empty()) reader_.Feed(chunk);
    // What POV-Ray does after writing the picture is of no use to anyone.
    if (render_ && !render_->Killed() && TakePictureFile()) render_->Kill();
    if (render_ && render_->Finished()) FinishRender();
}

std::unique_ptr<WaitingPovProcess> RenderHost::TakeWaiting(const std::string& options, const std::string& sceneName) {
    std::unique_ptr<WaitingPovProcess> found;
    for (auto it = waiting_.begin(); it != waiting_.end();) {
        // One that ended or whose POV-Ray was replaced is of no use, for these options or any other.
        if (!(*it)->Current()) {
            it = waiting_.erase(it);
        } else if (!found && (*it)->Serves(options, sceneName)) {
            found = std::move(*it);
            it = waiting_.erase(it);
        } else {
            ++it;
        }
    }
    return found;
}

void RenderHost::PrepareNext(const std::string& executable, const std::string& parent, const std::string& options,
                             const std::string& sceneName, const std::string& pictureName) {
    // A person looks at a picture before the next click: one waiting POV-Ray
    // of a kind is enough then. Renders one right after the other (a run over
    // many entries) would each wait for the start of the one begun beside the
    // last, so then several start at once, mostly idle while they start.
    constexpr auto kBurst = std::chrono::seconds(2);
    constexpr std::size_t kBurstWaiting = 3;
    constexpr std::size_t kMostWaiting = 5;
    const auto now = std::chrono::steady_clock::now();
    auto& last = lastStarts_[options + '\n' + sceneName];
    const std::size_t wanted = last != std::chrono::steady_clock::time_point{} && now - last < kBurst ? kBurstWaiting : 1;
    last = now;
    std::size_t serving = 0;
    for (const auto& process : waiting_)
        if (process->Serves(options, sceneName)) ++serving;
    for (; serving < wanted; ++serving) {
        // The kinds used longest ago give way first.
        for (auto it = waiting_.begin(); waiting_.size() >= kMostWaiting && it != waiting_.end();)
            it = (*it)->Serves(options, sceneName) ? it + 1 : waiting_.erase(it);
        if (waiting_.size() >= kMostWaiting) return;
        auto process = std::make_unique<WaitingPovProcess>();
        if (!process->Start(executable, parent, options, sceneName, pictureName)) return;
        waiting_.push_back(std::move(process));
    }
}

void RenderHost::KeepWaiting() {
    // Each waiting POV-Ray wakes now and then to look for messages: a host
    // nobody has rendered with for a long while lets them go.
    constexpr auto kIdle = std::chrono::minutes(10);
    if (!rendering_ && !waiting_.empty() && std::chrono::steady_clock::now() - lastRender_ >= kIdle) waiting_.clear();
    for (auto it = waiting_.begin(); it != waiting_.end();) it = (*it)->Keep() ? it + 1 : waiting_.erase(it);
}

// Hands the rows of the picture file on once it is whole; true then.
bool RenderHost::TakePictureFile() {
    if (pictureFile_.empty() || pictureTaken_) return false;
    std::string bytes;
    if (!ReadWholePpmFile(pictureFile_, bytes)) return false;
    reader_.Feed(bytes);
    // A stop asked for while the rows went out wins.
    if (render_->Killed()) return false;
    pictureTaken_ = true;
    return true;
}

void RenderHost::FinishRender() {
    // The process has ended: a picture it wrote is whole now or never.
    if (!render_->Killed()) TakePictureFile();
    const bool killed = render_->Killed() && !pictureTaken_;
    const int status = render_->Wait();
    const int signal = render_->TerminatingSignal();
    render_.reset();
    rendering_ = false;
    lastRender_ = std::chrono::steady_clock::now();
    if (!pictureFile_.empty()) RemoveFile(pictureFile_);
    launched_.reset();
    int value = 0;
    std::string report;
    if (killed) {
        value = kRenderStopped;
    } else if (pictureTaken_) {
        // The whole picture is there; how POV-Ray ended after it does not matter.
    } else if (signal != 0) {
        // Killed from outside or crashed: the scene is not to blame.
        value = kRenderCrashed;
        report = PovCrashReport(signal) + "\n";
    } else if (status != 0 || (streaming_ && (reader_.Pictures() == 0 || !reader_.Complete()))) {
        value = kRenderFailed;
        report = PovFailureReport(renderLog_, status);
    }
    // Written before the end is reported, so the program finds it with the notice.
    WriteFileAtomically(PovErrorFileOf(endpoint_.Id()), report);
    SendEvent(kEventRenderFinishing, 0);
    SendEvent(kEventRenderEnded, static_cast<PovWord>(value));
}

void RenderHost::HandleMessage(const WindowMessage& message) {
    switch (message.message) {
        case kWmDropFiles: {
            std::string name;
            if (ReadDropRecord(message.data, name)) HandleDrop(name);
            break;
        }
        case kWmClose: closing_ = true; break;
        case kWmEditorRequest: HandleEditorRequest(message.data); break;
        case kWmShowWindow: showCommand_ = static_cast<int>(message.wParam); break;
        default: break;
    }
}

void RenderHost::HandleDrop(const std::string& name) {
    for (Extension& extension : extensions_)
        if (extension.pointers.fileDrop && extension.pointers.fileDrop(&extension.record, name.c_str(), 0)) return;
    if (GetIniInt(options_.iniPath, "General", "DropToEditor", 1) == 1) {
        OpenInEditor(name, 0);
        return;
    }
    // A dropped scene is rendered as it is, with the user's own options.
    SetField(variables_->sceneFile, name);
    StartRendering();
}

void RenderHost::HandleEditorRequest(const std::string& text) {
    // "file,line" or "file,line,0,line-2"; the file name itself may hold commas.
    std::vector<std::string> parts;
    std::string rest = text;
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = rest.rfind(',');
        if (comma == std::string::npos) break;
        parts.insert(parts.begin(), rest.substr(comma + 1));
        rest.resize(comma);
    }
    auto isNumber = [](const std::string& s) {
        return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
    };
    std::string file = text;
    unsigned line = 0;
    if (parts.size() == 3 && isNumber(parts[0]) && parts[1] == "0" && isNumber(parts[2])) {
        file = rest;
        line = static_cast<unsigned>(std::strtoul(parts[0].c_str(), nullptr, 10));
    } else if (!parts.empty() && isNumber(parts.back())) {
        file = text.substr(0, text.rfind(','));
        line = static_cast<unsigned>(std::strtoul(parts.back().c_str(), nullptr, 10));
    }
    OpenInEditor(file, line);
}

void RenderHost::OpenInEditor(const std::string& file, unsigned line) {
    const pid_t pid = StartEditor(DefaultEditorCommand(), file, line);
    if (pid > 0) editors_.push_back(pid);
}

void RenderHost::ReapEditors() {
    for (std::size_t i = 0; i < editors_.size();) {
        int status = 0;
        if (waitpid(editors_[i], &status, WNOHANG) != 0) {
            editors_.erase(editors_.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
}

bool RenderHost::ClientsPresent() {
    const SharedBridgeBlock& block = SharedBlock();
    bool present = false;
    for (const std::atomic<WindowId>& user : block.renderUsers) {
        const WindowId window = user;
        if (window == 0 || window == endpoint_.Id()) continue;
        if (Endpoint::Exists(window)) {
            present = true;
        } else if (std::find(goneBeforeStart_.begin(), goneBeforeStart_.end(), window) == goneBeforeStart_.end()) {
            // Listed since the start and gone already: a program that
            // rendered with this host ended (or crashed) between two looks.
            clientSeen_ = true;
        }
    }
    return present;
}

bool RenderHost::ClientsGone() {
    // Looked at now and then: each look knocks at every listed window.
    constexpr auto kCheckInterval = std::chrono::milliseconds(500);
    constexpr auto kGrace = std::chrono::seconds(3);
    const auto now = std::chrono::steady_clock::now();
    if (now - lastClientCheck_ < kCheckInterval) return false;
    lastClientCheck_ = now;
    if (ClientsPresent()) {
        clientSeen_ = true;
        clientsGoneSince_ = {};
        return false;
    }
    // A host started by hand, with nobody listed yet, serves whoever comes.
    if (!clientSeen_) return false;
    if (clientsGoneSince_ == std::chrono::steady_clock::time_point{}) clientsGoneSince_ = now;
    return now - clientsGoneSince_ >= kGrace;
}

int RenderHost::Run() {
    auto lastProgress = std::chrono::steady_clock::now();
    auto lastActivity = lastProgress;
    while (!closing_ && !g_quit) {
        // While rendering, the picture file is looked at on every turn: a
        // preview is often whole within a few tens of milliseconds.
        PollRender(rendering_ ? 4 : 250);
        if (active_ || rendering_) {
            active_ = false;
            lastActivity = std::chrono::steady_clock::now();
        } else if (options_.idleExitMs > 0 &&
                   std::chrono::steady_clock::now() - lastActivity >= std::chrono::milliseconds(options_.idleExitMs)) {
            // Started for headless work: nobody is left to close it.
            closing_ = true;
        }
        // Whoever started it: once the last program that rendered with it is
        // gone (closed, killed or crashed), nobody will close it.
        if (!rendering_ && ClientsGone()) closing_ = true;
        KeepWaiting();
        if (rendering_) {
            const auto now = std::chrono::steady_clock::now();
            if (now - lastProgress >= std::chrono::milliseconds(kProgressIntervalMs)) {
                lastProgress = now;
                SendEvent(kEventRenderProgress, 0);
            }
        }
        ReapEditors();
    }
    if (rendering_ && render_) {
        render_->Kill();
        while (render_) PollRender(100);
    }
    waiting_.clear();
    CloseExtensions();
    std::remove(PovErrorFileOf(endpoint_.Id()).c_str());
    endpoint_.Close();
    for (int pid : editors_) waitpid(pid, nullptr, WNOHANG);
    return 0;
}

}  // namespace sc::bridge
