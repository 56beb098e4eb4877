#pragma once
// A POV-Ray started ahead of its scene. Most of the time a single preview
// takes is POV-Ray starting up (loading its libraries, reading its settings,
// handing work between its threads), not parsing and tracing. This process
// does all of that before the scene exists and then stops at a gate: its
// driver scene includes named pipes, and opening one blocks until someone
// holds the pipe open for writing. Release() does so for every gate once the
// real scene is in place, and the click pays only for the parse and the
// trace.
//
// POV-Ray gives up waiting for one file after about ten seconds (and then
// fails on its own bookkeeping), so the driver holds a row of gates and
// Keep() opens one after the other every few seconds; once the row is used
// up, the process is started anew. The pipes are never written: POV-Ray
// reads an included file by seeking, which a pipe refuses, so it reads each
// as empty. The driver includes the scene by name, as the batch renderer's
// driver does, so POV-Ray computes the very same picture and names the same
// file in its messages.
//
// The process runs in a scratch folder of its own and ends with its owner
// (PovRenderProcess: also when the owner is killed). An executable replaced
// or removed since the start is noticed by Current().
#include <sys/types.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "povray/PovRenderProcess.h"
#include "povray/RenderScratch.h"

namespace sc {

class WaitingPovProcess {
public:
    WaitingPovProcess() = default;
    ~WaitingPovProcess();
    WaitingPovProcess(const WaitingPovProcess&) = delete;
    WaitingPovProcess& operator=(const WaitingPovProcess&) = delete;

    // Starts `executable` with `options` (as PovArguments reads them) for
    // a scene to be named `sceneName`, in a new scratch folder under
    // `parent`. A "+O-" in the options becomes `pictureName` in that folder.
    // False when the folder, the gate or the process cannot be had.
    bool Start(const std::string& executable, const std::string& parent, const std::string& options,
               const std::string& sceneName, const std::string& pictureName);

    // The options and scene name it was started with: a render that asks for
    // other ones needs another process.
    bool Serves(const std::string& options, const std::string& sceneName) const {
        return options == options_ && sceneName == sceneName_;
    }

    // False once the process has ended, or when the executable it was
    // started from has been replaced or removed since.
    bool Current() const;

    // Copies `sceneFile` into the process's folder under the scene's name.
    bool TakeScene(const std::string& sceneFile);

    // Lets the process past its gates, at once or when it gets there.
    void Release();
    bool Released() const { return released_; }

    // Opens the gates its time has come for; once all are used up, starts
    // the process anew. False when that start fails: drop it then.
    bool Keep();

    const std::string& Folder() const { return folder_.Path(); }
    std::string PicturePath() const { return folder_.File(pictureName_); }

    // The process itself, for the caller to read and end once released; the
    // folder and the gate stay with this object, which must outlive it.
    std::unique_ptr<PovRenderProcess> TakeProcess() { return std::move(process_); }

private:
    bool Launch();
    void OpenGates(std::size_t count);

    std::string executable_;
    std::string parent_;
    std::string options_;
    std::string sceneName_;
    std::string pictureName_;
    ScratchFolder folder_;
    std::unique_ptr<PovRenderProcess> process_;
    std::vector<int> gates_;  // the write ends held open, one for each gate passed
    bool released_ = false;
    std::chrono::steady_clock::time_point started_;
    // The executable as it was at the start.
    dev_t device_ = 0;
    ino_t inode_ = 0;
    long long modified_ = 0;
};

}  // namespace sc
