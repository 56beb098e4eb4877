#pragma once
// Where POV-Ray found the fault in a preview scene, traced back to the
// declaration text box: its report names the scene file and a scene line, and
// the scene holds the box's lines after the lines the scene writer puts first.
#include <string>

namespace sc {

struct PovErrorLocation {
    std::string file;     // the file POV-Ray named, as it named it; empty when none
    int sceneLine = 0;    // the line in that file (from 1); 0 when none was named
    int boxLine = 0;      // the line in the text box (from 1); 0 when the fault lies outside it
    bool afterBox = false; // in the preview scene past the box's last line
    std::string message;  // POV-Ray's message, its wrapped lines joined

    // What the preview pane shows: the box line and the message, or where
    // else the fault lies.
    std::string Text() const;
};

// Reads the first error POV-Ray reported with a file and line ("File 'x'
// line 3: Parse Error: ..."). A line of `sceneFile` (compared by file name)
// is traced back to the box, whose `boxLineCount` lines start after
// `linesBefore` scene lines. Without such an error the message is the whole
// report and no line is known.
PovErrorLocation LocatePovError(const std::string& report, const std::string& sceneFile, int linesBefore,
                                int boxLineCount);

}  // namespace sc
