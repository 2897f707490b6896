#include "script_action.h"

#include "script_actions.h"

namespace {

constexpr ScriptAction kActions[] = {
    {"start", "", "run the module's initialisers and start-up tasks (without this line: before line 1)", 0, 0,
     startModule},
    {"set", "KEY VALUE", "set a data-store item, read as its registered kind (int, double, string, blob hex)",
     2, 2, setSetting},
    {"unit", "CODE",
     "make the host's current length unit CODE (0 inch, 1 millimetre, 2 foot, 3 centimetre, 4 micrometre, 7 "
     "metre)",
     1, 1, setLengthUnit},
    {"load-plugin", "CLASS", "create the module's class CLASS and load it as a device plug-in", 1, 1,
     loadPlugin},
    {"replay-log", "FILE", "start replaying the host log FILE; the module plays its records", 1, 1,
     replayLog},
    {"record-log", "FILE [replace]",
     "start recording the host log to FILE; a FILE that exists is written over only with replace, never the "
     "log being replayed",
     1, 2, recordLog},
    {"stop-recording", "", "stop recording the host log", 0, 0, stopRecording},
    {"command", "CLASS [TEXT]",
     "create the command CLASS with the argument text TEXT and start it (may it run, dialog, activate)", 1, 2,
     startCommand},
    {"context", "FLAG 0|1",
     "set the command context's flag FLAG (inCommand, recordingMacro, sectionCurrent, boundaryCurrent)", 2, 2,
     setContextFlag},
    {"current", "[OBJECT]", "make the document object OBJECT current (without it: none, the world is)", 0, 1,
     chooseCurrentObject},
    {"active", "[OBJECT]",
     "make the document object OBJECT active, which sets singleObjectActive (without it: none)", 0, 1,
     chooseActiveObject},
    {"press", "CONTROL", "press a control (id or name) of the running command's dialog", 1, 1, pressControl},
    {"value", "CONTROL NUMBER", "enter a number in a control (id or name) of the dialog", 2, 2, enterValue},
    {"choose", "CONTROL INDEX", "choose the entry INDEX (from 0) of a list or drop-down list of the dialog",
     2, 2, chooseListEntry},
    {"type", "CONTROL TEXT", "type TEXT into a text field of the dialog", 2, 2, typeText},
    {"radio", "CONTROL", "choose a radio button of the dialog", 1, 1, chooseRadio},
    {"script-command", "CLASS [NAME=VALUE]...",
     "run the script command of the module's class CLASS with the arguments named (the others keep their "
     "defaults)",
     1, 16, runScriptCommand},
    {"record-command", "",
     "print the script command the running command records: its name, then NAME=VALUE for each argument", 0,
     0, printRecordedCommand},
    {"edit", "CONTROL ROW COLUMN TEXT",
     "edit the cell at ROW and COLUMN (from 1, row 1 the header) of the table in a control of the dialog", 4,
     4, editTableCell},
    {"apply", "", "apply the running command, which then ends", 0, 0, applyCommand},
    {"cancel", "", "cancel the running command, which then ends", 0, 0, cancelCommand},
    {"finish", "", "ask the running command to finish its work before apply (it keeps running)", 0, 0,
     finishRunningCommand},
    {"answer", "yes|no|NUMBER", "answer the next simple dialog (yes = retry = 1, no = cancel = 2)", 1, 1,
     answerDialog},
    {"file-answer", "PATH|cancel [INDEX]",
     "answer the next open or save dialog with the file PATH and the filter entry INDEX (open: from 0, save: "
     "from 1; default 0), or cancel it (a dialog without an answer is cancelled)",
     1, 2, answerFileDialog},
    {"refuse-save-path", "", "make the host refuse the next path a file is to be saved under", 0, 0,
     refuseSavePath},
    {"run", "MILLISECONDS", "run the main loop for that long", 1, 1, runMainLoop},
    {"run-until", "EVENT [MILLISECONDS]",
     "run the main loop until EVENT fires next (a failure after 10000 ms, or the time given)", 1, 2,
     runUntilEvent},
    {"mouse", "down|click|double-click|move X Y Z DX DY DZ [left|middle|right]",
     "inject a mouse callback into the view, its pick ray from (X,Y,Z) along (DX,DY,DZ) (button: left)", 7, 8,
     injectMouse},
    {"key", "press|release CODE", "inject a key callback with the host's key code CODE into the view", 2, 2,
     injectKey},
    {"event", "select-all|clear-all|dialog-closing|undo|redo|delete|ID",
     "send the running command the host event of that name (257, 259, 293, 294, 295, 304) or number ID", 1, 1,
     sendCommandEvent},
    {"cad-box", "NAME X0 Y0 Z0 X1 Y1 Z1",
     "add the CAD model NAME to the document: the box between the corners (X0,Y0,Z0) and (X1,Y1,Z1)", 7, 7,
     addCadBox},
    {"transform", "NAME M0 ... M15",
     "set the transform of the document object NAME to the 16 numbers, row by row (translation in M3, M7, "
     "M11)",
     17, 17, setObjectTransform},
    {"location-set", "NAME [LOCATION X Y Z]...",
     "add the location set NAME to the document: each location a name and its point (model coordinates)", 1,
     1001, addLocationSet},
    {"cad-load", "NAME FILE",
     "add the CAD model NAME to the document: the solids or faces of the STEP file FILE", 2, 2, loadCadFile},
    {"feature", "OBJECT point|plane|line|circle|sphere|cylinder|cone NUMBERS",
     "add a feature to the object OBJECT, named by its kind and next number: point X Y Z, plane CX CY CZ NX "
     "NY "
     "NZ, line X0 Y0 Z0 X1 Y1 Z1, circle CX CY CZ NX NY NZ R, sphere CX CY CZ R, cylinder X0 Y0 Z0 X1 Y1 Z1 "
     "R, "
     "cone X0 Y0 Z0 X1 Y1 Z1 R0 R1",
     5, 10, addFeature},
    {"tile", "NAME FILE",
     "show the information tile NAME as a command does, draw a frame of the view and write the tile's image "
     "to the PNG file FILE",
     2, 2, writeTileImage},
    {"print",
     "settings [KEY]|document|points NAME|errors|images|dialog|dialogs|plugins|scene|table|alignment|file "
     "FILE",
     "print the values at or under KEY (default Palpera), the document, the points of the point object NAME, "
     "the errors, the images, the dialog, "
     "the simple dialogs shown, the plug-ins, the scene's node trees, the rows of the dialog's tables, the "
     "hard-probe plug-in's matrices or the "
     "lines of FILE",
     1, 2, printState},
    {"options", "open|pick LIST NAME|slide POSITION|print",
     "open the module's options page, pick the plug-in NAME in LIST (hardprobe or scanning), move the size "
     "slider or print the page",
     1, 3, useOptionsPage},
    {"compare", "OBJECT NOMINAL",
     "print each feature of OBJECT beside the feature of the same name in NOMINAL: the values that place, "
     "orient and size it, and their differences",
     2, 2, compareFeatures},
};

}  // namespace

std::span<const ScriptAction> scriptActions() {
  return kActions;
}

const ScriptAction* findScriptAction(std::string_view name) {
  for (const ScriptAction& action : kActions) {
    if (name == action.name) return &action;
  }
  return nullptr;
}
