#pragma once
// The render host: stands in for POV-Ray for Windows. It owns a main window
// of class "PovMainWinClass", loads the GUI extensions its pvengine.ini
// lists, runs home/bin/povray for each render and reports events and pixels
// to the extensions.
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bridge/Endpoint.h"
#include "bridge/GuiExtensionInterface.h"
#include "povray/PpmStreamReader.h"
#include "povray/PovRenderProcess.h"
#include "povray/WaitingPovProcess.h"

namespace sc::bridge {

class RenderHost {
public:
    struct Options {
        std::string povHome = "/usr";  // POV-Ray's home: home/bin/povray renders
        std::string iniPath;           // pvengine.ini; empty: the user's default
        int showCommand = 0;           // how the starter wants the window shown; 0: ShowCmd
        int idleExitMs = 0;            // ends after this long without work; 0: never
    };

    explicit RenderHost(Options options);
    ~RenderHost();
    RenderHost(const RenderHost&) = delete;
    RenderHost& operator=(const RenderHost&) = delete;

    // The default place of the host's settings: pvengine.ini in the program's config folder.
    static std::string DefaultIniPath();

    // Opens the main window and loads the extensions. False when another
    // host runs and OneInstance is set (that one was shown instead) or the
    // window cannot be opened.
    bool Open();

    // Serves messages and renders until closed; returns the exit status.
    int Run();

    // Asks the loop to end (from a signal handler).
    static void RequestQuit();

    // POV-Ray's service function for the extensions.
    unsigned char Service(int code, void* data);

    WindowId MainWindow() const { return endpoint_.Id(); }
    // The show command the window was last given (it has no screen of its own).
    int ShowCommand() const { return showCommand_; }

private:
    struct Extension {
        void* library = nullptr;
        GuiExtPointers pointers{};
        GuiExtRecord record{};
        std::string path;
    };

    void LoadExtensions();
    void CloseExtensions();
    void SendEvent(int type, PovWord value);
    void HandleMessage(const WindowMessage& message);
    void HandleDrop(const std::string& name);
    void HandleEditorRequest(const std::string& text);
    void OpenInEditor(const std::string& file, unsigned line);
    bool StartRendering();
    bool StopRendering();
    void PollRender(int timeoutMs);
    void FinishRender();
    bool TakePictureFile();
    std::unique_ptr<WaitingPovProcess> TakeWaiting(const std::string& options, const std::string& sceneName);
    void PrepareNext(const std::string& executable, const std::string& parent, const std::string& options,
                     const std::string& sceneName, const std::string& pictureName);
    void KeepWaiting();
    bool PlotRow(int row, const std::uint8_t* rgb, int width);
    void ReapEditors();
    bool ClientsPresent();
    bool ClientsGone();
    std::string ReadSetting(const char* section, const char* key, const char* defaultValue) const;

    Options options_;
    Endpoint endpoint_;
    std::unique_ptr<PovVariables> variables_;
    std::vector<Extension> extensions_;
    // POV-Rays started ahead, waiting for the next render with their options
    // (one for each picture size the program asks for), the newest last.
    std::vector<std::unique_ptr<WaitingPovProcess>> waiting_;
    // The one whose process renders now: its folder holds the scene.
    std::unique_ptr<WaitingPovProcess> launched_;
    // When a render of each kind (options and scene name) last started.
    std::map<std::string, std::chrono::steady_clock::time_point> lastStarts_;
    std::chrono::steady_clock::time_point lastRender_{};
    std::unique_ptr<PovRenderProcess> render_;
    PpmStreamReader reader_;
    std::string renderLog_;
    std::string renderScene_;
    bool rendering_ = false;
    bool streaming_ = false;  // the picture comes through the pipe (no file asked for)
    // Where POV-Ray writes the picture of a render that asked for no file:
    // read as soon as it is whole, since POV-Ray holds back the end of a
    // picture piped to us until it exits, a good part of a second later.
    // Empty when the picture comes through the pipe.
    std::string pictureFile_;
    bool pictureTaken_ = false;  // the whole picture was read from pictureFile_
    bool closing_ = false;
    bool active_ = false;  // a message or a render since the last look
    int showCommand_ = 1;
    std::vector<int> editors_;
    bool clientSeen_ = false;  // a program listed itself as rendering with this host
    // Listed windows of programs that had ended before this host started.
    std::vector<WindowId> goneBeforeStart_;
    std::chrono::steady_clock::time_point lastClientCheck_{};
    std::chrono::steady_clock::time_point clientsGoneSince_{};
};

}  // namespace sc::bridge
