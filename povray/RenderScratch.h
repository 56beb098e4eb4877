#pragma once
// The private folders POV-Ray renders previews in. Each render (or batch of
// renders) gets its own folder holding its own copy of the scene, and POV-Ray
// runs there with changes to files outside it refused (WriteConfinement): a
// declaration that opens files for writing can only write into that folder,
// never over the sample scenes, the program's files or the user's.
#include <cstddef>
#include <string>

namespace sc {

class ScratchFolder {
public:
    ScratchFolder() = default;
    // Removes the folder with everything in it.
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Makes a new, empty folder "<prefix><pid>-XXXXXX" under `parent`
    // (created when missing); folders of that prefix left by processes that
    // are gone are removed first. `prefix` is kBatchScratchPrefix or
    // kRenderScratchPrefix. False when it cannot be made.
    bool Create(const std::string& parent, const char* prefix);
    // Empties the folder, so that nothing an earlier render wrote there is
    // read by the next one (POV-Ray looks for include files in its working
    // folder first). False when something stays.
    bool Clear();
    void Remove();

    bool Exists() const { return !path_.empty(); }
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const;

private:
    std::string path_;
};

inline constexpr const char* kBatchScratchPrefix = ".batch-";
inline constexpr const char* kRenderScratchPrefix = ".render-";

// True when `bytes` more can be written into `folder`: a trial file is
// written and removed again. False when the disk (or the user's quota) is
// full, or when the process's file-size limit is below `bytes`.
bool RoomToWrite(const std::string& folder, std::size_t bytes);

// What the user reads when a scratch folder has no room left.
std::string DiskFullText(const std::string& folder);

// True when `folder` is named as a scratch folder is: a render whose scene
// lies there is confined to it.
bool IsScratchFolder(const std::string& folder);

// The scene file of this process's next single render (the live preview, a
// large preview) in its scratch folder under `parent`, emptied for it. Empty
// when no folder can be had. The folder goes when the process ends.
std::string FreshRenderScene(const std::string& parent);

}  // namespace sc
