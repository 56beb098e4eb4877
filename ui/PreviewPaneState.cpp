#include "ui/PreviewPaneState.h"

namespace sc {

PaneState DecidePane(const PaneInputs& in) {
    PaneState pane;
    const bool free = !in.busy && !in.backgroundRendering;
    const RenderRunState& run = in.run;
    // The large picture is stopped with the same button; the window stays usable meanwhile.
    const bool largeStoppable = in.largeRendering && !run.running;
    pane.stopLabel = run.rendering || largeStoppable;
    pane.busyCursor = run.rendering;
    // A file node renders its file's entries; a named entry needs its declaration.
    const bool showable = in.entry && (in.declarationShown || !in.namedEntry);
    pane.renderEnabled = run.running ? run.rendering : largeStoppable || (showable && free);
    pane.arrowEnabled = !run.running && run.pendingPicture && in.declarationShown && !in.declarationEdited && free;
    if (run.running && in.minimized && run.percent > 0) pane.caption = RenderRunCaption(run.percent);
    return pane;
}

}  // namespace sc
