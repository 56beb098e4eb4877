#pragma once
// What the preview pane's two buttons, the cursor and the title show,
// decided from the current entry, the window's state and the render run's
// state. The window only maps the answer onto its widgets.
#include <string>

#include "preview/PreviewRenderRun.h"

namespace sc {

struct PaneInputs {
    bool entry = false;              // there is a current entry
    bool namedEntry = false;         // ... with a name (a file node's entry has none)
    bool declarationShown = false;   // the box shows the entry's declaration
    bool declarationEdited = false;  // ... and the user changed it
    bool busy = false;               // a long operation runs
    bool backgroundRendering = false;
    bool minimized = false;
    bool largeRendering = false;     // the shown entry's large picture is being rendered (not a live draft)
    RenderRunState run;
};

struct PaneState {
    bool renderEnabled = false;  // "&Anzeigen", or "&Stop" while rendering
    bool stopLabel = false;      // "&Stop": a run's render or a large picture can be stopped
    bool arrowEnabled = false;   // takes the shown picture over into the entry
    bool busyCursor = false;
    std::string caption;         // the title while minimized during a run; empty: the normal title
};

// The pane for these inputs. One renderer at a time: the pane's renders wait
// for a long operation and for the background render to end.
PaneState DecidePane(const PaneInputs& inputs);

}  // namespace sc
