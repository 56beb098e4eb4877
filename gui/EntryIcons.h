#pragma once
// The small pictures of the views: the three preview states of an entry
// (faulty, present, missing), the file node, and the larger faulty-preview
// sign of the picture grid. Drawn once, shared by every view.
#include <QIcon>
#include <QPixmap>

namespace sc {

class TextureEntry;

enum class EntryIcon { Faulty = 0, Present = 1, Missing = 2, File = 3 };

// Present when the preview is valid, else faulty when it is marked so, else missing.
EntryIcon PreviewIcon(const TextureEntry& entry);

// A 16 x 16 icon.
const QIcon& IconOf(EntryIcon icon);

// The 32 x 32 sign drawn in place of a faulty preview in the grid.
const QPixmap& FaultyPicture();

}  // namespace sc
