#pragma once

// The deviation export: the recorded points written to a text file the user chooses, one line per point,
// with no header line. A line holds, separated by ", " in a comma-separated file and by a blank otherwise:
// the label (when asked for), the compensated point's X, Y and Z, the deviation (when asked for), all in
// the user's length unit as "%f" (or "%e" above 1e10), and "PASS" or "FAIL" (when asked for, never
// translated); then CR LF. A label holding the separator (a comma, or a blank), a double quote or a line end
// is written between double quotes, each quote doubled, as spreadsheets read it. The file is UTF-16LE after
// the mark FF FE when the user's language asks for Unicode, else one byte per character. Main thread only.

#include "commands/deviation/deviation_points.h"

struct DeviationExportOptions {
  bool labels = true;
  bool deviations = true;
  bool passFail = true;
};

// Asks for the file in the host's save dialog, starting at the path of the module's last export (at first
// the host's "files" folder), and for leave to replace a file that exists; writes nothing when the user
// cancels or refuses. The file is written beside and takes the old one's place only once whole: a file that
// cannot be written is reported to the user, and a file there before is left as it was.
void exportDeviationPoints(DeviationPoints& points, const DeviationExportOptions& options);
