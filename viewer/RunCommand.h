// Run: the script of the script-name field (or a script the viewer wrote)
// goes to the session, and its outcome to the widgets.
#ifndef ZEM_RUNCOMMAND_H
#define ZEM_RUNCOMMAND_H

// Runs the script-name field's script with the editor's selection, or the
// generated script at generatedPath (no selection, no set-aside). Pressed
// again while a local run lasts, Run stops that run. True when the message
// line got a text of the run's own (its result file, an error, a notice).
bool runScript(const char* generatedPath);

// Accept (the File menu's item, F3 in the log pane): the last run's failing
// checks take their actual values in the editor, the selected test's only
// when a test's name is selected; the message line says what changed.
void acceptLastRun();

#endif
