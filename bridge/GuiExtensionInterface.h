#pragma once
// The records that pass between POV-Ray (here: the render host) and a GUI
// extension loaded by it. Every slot that holds a word on 32-bit Windows holds
// a pointer-sized word here, so the same slot numbers work on every platform;
// the byte offsets of the 32-bit interface are the slot numbers times four.
#include <cstddef>
#include <cstdint>

namespace sc::bridge {

using PovWord = std::uintptr_t;

// Window messages both processes use (numbers of the Windows interface).
inline constexpr std::uint32_t kWmClose = 0x0010;
inline constexpr std::uint32_t kWmShowWindow = 0x0018;
inline constexpr std::uint32_t kWmCopyData = 0x004A;
inline constexpr std::uint32_t kWmDropFiles = 0x0233;
inline constexpr std::uint32_t kWmUser = 0x0400;
inline constexpr std::uint32_t kWmRenderDone = kWmUser + 1001;
inline constexpr std::uint32_t kWmRenderStep = kWmUser + 1002;
inline constexpr std::uint32_t kWmEditorRequest = kWmUser + 1200;

// Show commands carried by kWmShowWindow.
inline constexpr std::uint32_t kShowMaximize = 3;
inline constexpr std::uint32_t kShowMinimize = 6;
inline constexpr std::uint32_t kShowNoActivate = 8;
inline constexpr std::uint32_t kShowRestore = 9;

inline constexpr char kPovMainWindowClass[] = "PovMainWinClass";
inline constexpr char kProgramWindowClass[] = "SwatchcraftDlg";

inline constexpr PovWord kExtensionSignature = 0x434A4321;  // "!CJC"

// Render events reported to the extension.
enum PovEvent : int {
    kEventRenderStarted = 1,
    kEventRenderEnded = 2,
    kEventImageSize = 3,
    kEventRenderFinishing = 4,
    kEventRenderProgress = 5,
    kEventClosing = 13,
    kEventClosed = 14,
};

// How a render ended: the value of event 2 and of WM_RENDER_DONE's wParam.
enum RenderEndValue : std::uint32_t {
    kRenderCompleted = 0,
    kRenderFailed = 1,    // POV-Ray refused the scene (its message tells why)
    kRenderStopped = 2,   // stopped on request
    kRenderCrashed = 3,   // POV-Ray was killed or crashed: says nothing about the scene
    kRenderTimedOut = 4,  // stopped because it took longer than its time limit
};

// Service codes of POV-Ray's service function.
enum PovService : int {
    kServiceGetVars = 1,
    kServiceSetVars = 2,
    kServiceStartRendering = 3,
    kServiceStopRendering = 4,
};

// POV-Ray's record of one loaded extension; the first argument of most callbacks.
struct GuiExtRecord {
    void* instance = nullptr;
    PovWord menu = 0;
    PovWord firstMenuId = 0;
};

struct PovColour {
    float red, green, blue, filter, transmit;
};

using PovServiceFunction = unsigned char (*)(int code, void* data);

using GuiExtInitFunction = int (*)(void* instance, int size, void* initStruct);
using GuiExtDestroyFunction = void (*)(GuiExtRecord* record);
using GuiExtMenuSelectFunction = int (*)(GuiExtRecord* record, int item);
using GuiExtMenuTipFunction = const char* (*)(GuiExtRecord* record, int item);
using GuiExtEventFunction = int (*)(GuiExtRecord* record, int type, PovWord value);
using GuiExtPixelPlotFunction = void (*)(GuiExtRecord* record, int x, int y, const PovColour* colour);
using GuiExtFileDropFunction = int (*)(GuiExtRecord* record, const char* name, int flag);

// The block an extension fills in PovGuiExtensionGetPointers (144 slots).
struct GuiExtPointers {
    PovWord signature;                    // slot 0
    void* instance;                       // slot 1
    GuiExtInitFunction init;              // slot 2 (byte 8 on 32 bits)
    GuiExtDestroyFunction destroy;        // slot 3 (12)
    GuiExtMenuSelectFunction menuSelect;  // slot 4 (16)
    GuiExtMenuTipFunction menuTip;        // slot 5 (20)
    GuiExtEventFunction event;            // slot 6 (24)
    PovWord unused7[3];                   // slots 7 to 9
    GuiExtPixelPlotFunction pixelPlot;    // slot 10 (40)
    PovWord unused11[4];                  // slots 11 to 14
    GuiExtFileDropFunction fileDrop;      // slot 15 (60)
    PovWord unused16[128];                // slots 16 to 143
};
static_assert(sizeof(GuiExtPointers) == 144 * sizeof(PovWord));
static_assert(offsetof(GuiExtPointers, pixelPlot) == 10 * sizeof(PovWord));
static_assert(offsetof(GuiExtPointers, fileDrop) == 15 * sizeof(PovWord));

inline constexpr std::size_t kInitTextSize = 1024;

// The structure handed to the extension's init (12 slots and a text area).
struct GuiExtInitStruct {
    PovWord structSize;        // slot 0
    PovWord reserved1;         // slot 1
    PovWord interfaceVersion;  // slot 2: 100 to 199 for this interface
    PovWord firstMenuId;       // slot 3
    PovWord reserved4;         // slot 4
    PovWord mainWindow;        // slot 5
    PovServiceFunction service;  // slot 6
    const char* name;          // slot 7
    const char* author;        // slot 8
    const char* email;         // slot 9
    PovWord menu;              // slot 10
    PovWord version;           // slot 11
    char text[kInitTextSize];  // from slot 12 on
};
static_assert(sizeof(GuiExtInitStruct) == 12 * sizeof(PovWord) + kInitTextSize);

// POV-Ray's variables record (service codes 1 and 2); the same bytes on every platform.
inline constexpr std::size_t kCommandTextSize = 780;
inline constexpr std::size_t kPovPathSize = 260;
inline constexpr std::size_t kPovSceneSize = 264;
struct PovVariables {
    std::int32_t size;                      // 0: set to sizeof(PovVariables) before a get
    char commandLine[kCommandTextSize];     // 4
    char sceneFile[kPovSceneSize];          // 784
    char reserved1[3708 - 784 - kPovSceneSize];
    char iniPath[kPovPathSize];             // 3708
    char reserved2[37712 - 3708 - kPovPathSize];
};
static_assert(sizeof(PovVariables) == 37712);
static_assert(offsetof(PovVariables, commandLine) == 4);
static_assert(offsetof(PovVariables, sceneFile) == 784);
static_assert(offsetof(PovVariables, iniPath) == 3708);

// A popup menu as an extension creates it; its address is the menu handle.
struct PovMenuItem {
    int id;
    int checked;
    int separator;
    char text[64];
};
struct PovMenu {
    int count;
    PovMenuItem items[8];
};

}  // namespace sc::bridge
